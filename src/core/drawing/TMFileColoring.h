// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours for the files of the map other than by depth (by type, by age):
// asked for each file tile as it is gathered. Folders keep the depth
// colours, so the nesting stays readable.
//
// An area too small to draw its files one by one (a folder too small to
// enter, a run of tiny tiles) shows what it holds: each file is sorted into
// one of the colouring's kinds, the area's bytes are added up by kind, and
// the colouring says which kind the area shows and in what colour.

#include <cstddef>

#include "TMAreaTally.h"

namespace tilemora {

struct TMColor;
class TMFileTree;

class TMFileColoring {
 public:
  virtual ~TMFileColoring() = default;
  // The fill of `file`, whose depth gives it `depthColor`; it lives as long
  // as this colouring (or is `depthColor`).
  virtual const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const = 0;

  // How many kinds files are sorted into (at most TMAreaTally::kMaxKinds),
  // and which `file` is.
  virtual size_t kindCount() const = 0;
  virtual size_t kindOf(const TMFileTree& file) const = 0;
  // The kind an area holding `tally` shows: by default the one with the
  // most bytes; `kindCount()` when it holds no file.
  virtual size_t shownKind(const TMAreaTally& tally) const {
    const size_t largest = tally.largest();
    return largest == TMAreaTally::kNone ? kindCount() : largest;
  }
  // The fill of a kind (`kindCount()`: of an area without files), the
  // files' depth giving `depthColor`.
  virtual const TMColor* colorOfKind(size_t kind, const TMColor& depthColor) const = 0;
  // Adds to `tally` what the files below `folder` hold, when the colouring
  // can tell it at once; false when they must be sorted one by one.
  virtual bool tallyBelow(const TMFileTree& /*folder*/, TMAreaTally& /*tally*/) const { return false; }
  // The kind of every file directly in `folder` when they are all of one
  // and the colouring knows it at once, else TMAreaTally::kNone.
  virtual size_t onlyKindOfFilesIn(const TMFileTree& /*folder*/) const { return TMAreaTally::kNone; }
};

}  // namespace tilemora
