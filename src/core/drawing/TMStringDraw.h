// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One text of a gathered frame, the rectangle (view coordinates, y up) it
// is drawn in, and the rectangle of the node it names: a text starts at the
// top of its box but may reach below it (descenders, underscores) as far as
// its node goes.

#include <string>

#include "TMGeometry.h"

namespace tilemora {

class TMStringDraw {
 public:
  TMStringDraw(std::string str, const TMRect& pos) : TMStringDraw(std::move(str), pos, pos) {}
  TMStringDraw(std::string str, const TMRect& pos, const TMRect& node)
      : str(std::move(str)), pos(pos), node(node) {}
  const std::string& text() const { return str; }
  const TMRect& position() const { return pos; }
  const TMRect& nodeRectangle() const { return node; }

 private:
  std::string str;
  TMRect pos;
  TMRect node;
};

}  // namespace tilemora
