#include "TMCommandLine.h"

#include <cstdlib>
#include <string_view>

namespace tilemora {

const char* TMCommandLine::usage() {
  return "usage: tilemora-scan [PATH] [--dot FILE]\n"
         "  Scans PATH (default: your home folder) and prints its total size and\n"
         "  its largest entries.\n"
         "  --dot FILE   also writes the whole tree as a Graphviz graph to FILE\n";
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
