#pragma once
// One text of a gathered frame and the rectangle (view coordinates, y up) it
// is drawn in.

#include <string>

#include "TMGeometry.h"

namespace tilemora {

class TMStringDraw {
 public:
  TMStringDraw(std::string str, const TMRect& pos) : str(std::move(str)), pos(pos) {}
  const std::string& text() const { return str; }
  const TMRect& position() const { return pos; }

 private:
  std::string str;
  TMRect pos;
};

}  // namespace tilemora
