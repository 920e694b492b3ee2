// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes whose words are plain text: they name files, and a name may
// look like markup ("<h1>BIG<font color=red>thesis.odt"), which a label
// left to guess would render as a red heading.

#include <QMessageBox>
#include <QString>

namespace tilemora {

// Makes every text of `box` plain, the informative one included; call it
// once the box's texts are set.
void makePlainText(QMessageBox& box);

// A warning over `window` that does not block it, in plain text; it goes
// when closed.
QMessageBox* showPlainWarning(QWidget* window, const QString& title, const QString& text,
                              const QString& informativeText = {});

}  // namespace tilemora
