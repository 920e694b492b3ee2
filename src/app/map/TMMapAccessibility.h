// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The map as assistive technology sees it: a graphic named "Map", whose
// description says which folder it shows, with one child while something
// is selected: the selected tile, focused, named after its item, described
// by its size and the folder it lies in. A change of selection is told as
// that child taking the focus.

class QAccessibleEvent;

namespace tilemora {

class TMTreeMapWidget;

// Makes every map widget answer with the interface above (once per process).
void installMapAccessibility();

// Tells assistive technology that the map's selection changed (or went).
void announceMapSelection(TMTreeMapWidget& map);

// Where the announcements go instead of Qt, which passes them on only while
// assistive technology listens: for tests. Null: to Qt again.
using TMAccessibleEventSink = void (*)(QAccessibleEvent* event);
void setAccessibleEventSink(TMAccessibleEventSink sink);

}  // namespace tilemora
