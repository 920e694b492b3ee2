#include "TMCommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tilemora {

const char* TMCommandLine::usage() {
  return "usage: tilemora-scan [PATH] [--dot FILE] [--png FILE [--size WxH]]\n"
         "  Scans PATH (default: your home folder) and prints its total size and\n"
         "  its largest entries.\n"
         "  --dot FILE    also writes the whole tree as a Graphviz graph to FILE\n"
         "  --png FILE    also writes the treemap as a PNG picture to FILE\n"
         "  --size WxH    the picture's size in pixels (default 1000x800)\n";
}

std::optional<TMCommandLine> TMCommandLine::parse(int argc, char** argv, std::string& error) {
  TMCommandLine line;
  bool havePath = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = std::string(argument) + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    if (argument == "--dot") {
      if (!value(line.dotFile)) return std::nullopt;
    } else if (argument == "--png") {
      if (!value(line.pngFile)) return std::nullopt;
    } else if (argument == "--size") {
      std::string size;
      if (!value(size)) return std::nullopt;
      char separator = 0;
      char rest = 0;
      if (std::sscanf(size.c_str(), "%d%c%d%c", &line.pngWidth, &separator, &line.pngHeight, &rest) != 3 ||
          separator != 'x' || line.pngWidth < 1 || line.pngHeight < 1 || line.pngWidth > 20000 ||
          line.pngHeight > 20000) {
        error = "--size needs WIDTHxHEIGHT, each from 1 to 20000, not " + size;
        return std::nullopt;
      }
    } else if (argument.size() > 1 && argument.front() == '-' && argument != "--") {
      error = "unknown option " + std::string(argument);
      return std::nullopt;
    } else {
      if (argument == "--") {
        if (++i >= argc) break;
        argument = argv[i];
      }
      if (havePath) {
        error = "only one path can be scanned";
        return std::nullopt;
      }
      line.path = std::string(argument);
      havePath = true;
    }
  }
  if (!havePath) {
    const char* home = std::getenv("HOME");
    line.path = home && *home ? home : "/";
  }
  return line;
}

}  // namespace tilemora
