#pragma once
// The arguments of tilemora-scan.

#include <optional>
#include <string>

namespace tilemora {

struct TMCommandLine {
  std::string path;
  std::string dotFile;  // empty: no Graphviz output
  std::string pngFile;  // empty: no picture
  int pngWidth = 1000;
  int pngHeight = 800;

  // Parses argv; answers nothing and sets `error` when the arguments are wrong.
  static std::optional<TMCommandLine> parse(int argc, char** argv, std::string& error);
  static const char* usage();
};

}  // namespace tilemora
