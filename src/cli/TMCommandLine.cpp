// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMCommandLine.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>

#include "core/scan/TMExclusions.h"

namespace tilemora {

const char* TMCommandLine::usage() {
  return "usage: tilemora-scan [OPTION]... [PATH]\n"
         "   or: tilemora-scan --import FILE [OPTION]...\n"
         "Scans PATH (default: your home folder) and prints its total size and its\n"
         "largest entries. A size is the space allocated to files (sparse files by\n"
         "their blocks), every hard link counted; folders' own blocks are not\n"
         "counted, and what is mounted inside PATH is skipped.\n"
         "\n"
         "Counting:\n"
         "  --hard-links-once  count a file of several hard links once, as du does\n"
         "  --cross-mounts     scan what is mounted inside PATH too\n"
         "  --apparent-size    measure files by their length (st_size) instead of the\n"
         "                     space allocated to them\n"
         "  --exclude PATTERN  leave out (and do not count) what PATTERN matches: a\n"
         "                     shell pattern matched against names, or, when it holds a\n"
         "                     /, against paths below PATH; may be repeated\n"
         "  --exclude-from FILE  the patterns of FILE, one per line (# starts a comment)\n"
         "  --exclude-caches   leave out folders tagged as caches (CACHEDIR.TAG)\n"
         "  --exclude-kernfs   leave out the kernel's virtual file systems (/proc, /sys,\n"
         "                     /dev) where --cross-mounts would enter them\n"
         "Speed:\n"
         "  --threads N    list folders on N threads at once (default 0: one per\n"
         "                 processor, at most 8); the result is the same. 1 may suit\n"
         "                 a spinning disk better. A JSON --export uses one.\n"
         "Report:\n"
         "  --top N        list the N largest entries of each folder (default 20, 0: none)\n"
         "  --depth N      list down to N levels below PATH, indented (default 1)\n"
         "  --bytes        write every size in exact bytes\n"
         "  --types        also the file types: each category, then the 20 largest\n"
         "                 extensions, by size, share and count\n"
         "  --si           sizes in powers of 1000 (kB, MB, GB, TB)\n"
         "  --compare OLD  instead of the largest entries, the change since OLD, a saved\n"
         "                 scan of PATH (compressed or not; its root is matched to PATH,\n"
         "                 wherever it was): the total change, then the --top largest\n"
         "                 changes (new, grew, shrank, removed), with their signs\n"
         "  --import FILE  instead of scanning, read FILE, a saved scan (ncdu's JSON\n"
         "                 or binary export, or a QDirStat cache file; compressed or\n"
         "                 not; - for standard input), for every report and output:\n"
         "                 converts between the formats\n"
         "Outputs (FILE is written under a temporary name and renamed when complete;\n"
         "with - for FILE it goes to standard output, which then carries nothing else):\n"
         "  --export FILE  the scan in ncdu's JSON export format (version 1.2),\n"
         "                 compressed with zstd if FILE ends in .zst, gzip if in .gz;\n"
         "                 in ncdu's binary export format if FILE ends in .ncdu\n"
         "  --format F     the format of --export: json or binary (default: as FILE\n"
         "                 ends)\n"
         "  --dot FILE     the tree as a Graphviz graph\n"
         "  --png FILE     the treemap as a PNG picture\n"
         "  --size WxH     the picture's size in pixels (default 1000x800)\n"
         "  -h, --help     print this help and exit\n"
         "  --version      print the version and exit\n"
         "  --admin-export PATH  alone: the export of PATH on standard output, for\n"
         "                 the desktop application's scan as administrator (pkexec)\n"
         "\n"
         "Exit status: 0 success; 1 some folders could not be read or an output\n"
         "could not be written; 2 wrong arguments, a PATH that cannot be scanned\n"
         "or an OLD or an --import FILE that cannot be read.\n";
}

namespace {

// A whole number from 0 to `most`, or nothing.
std::optional<int> count(std::string_view text, int most) {
  int value = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (problem != std::errc() || end != text.data() + text.size() || value < 0 || value > most) return std::nullopt;
  return value;
}

}  // namespace

std::optional<TMCommandLine> TMCommandLine::parse(int argc, char** argv, std::string& error) {
  TMCommandLine line;
  // Run as root for another user: one folder, nothing written but standard
  // output, so that the authorisation given for it can do nothing else.
  if (argc > 1 && std::string_view(argv[1]) == "--admin-export") {
    if (argc != 3 || argv[2][0] != '/') {
      error = "--admin-export takes one absolute path and nothing else";
      return std::nullopt;
    }
    line.adminExport = true;
    line.path = argv[2];
    line.exportFile = "-";
    line.top = 0;
    return line;
  }
  auto exclusions = std::make_shared<TMExclusions>();
  bool havePath = false;
  bool haveSize = false;
  bool onlyPaths = false;
  std::string scanOption;  // the first option given that only a scan uses
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
    auto number = [&](int& into, int most) {
      std::string text;
      if (!value(text)) return false;
      std::optional<int> parsed = count(text, most);
      if (!parsed) {
        error = std::string(argument) + " needs a whole number from 0 to " + std::to_string(most) + ", not " + text;
        return false;
      }
      into = *parsed;
      return true;
    };
    bool understood = true;
    if (onlyPaths || argument == "-" || argument.empty() || argument.front() != '-') {
      if (havePath) {
        error = "only one path can be scanned";
        return std::nullopt;
      }
      line.path = std::string(argument);
      havePath = true;
    } else if (argument == "--") {
      onlyPaths = true;
    } else if (argument == "-h" || argument == "--help") {
      line.help = true;
    } else if (argument == "--version") {
      line.version = true;
    } else if (argument == "--bytes") {
      line.bytes = true;
    } else if (argument == "--types") {
      line.types = true;
    } else if (argument == "--hard-links-once") {
      if (scanOption.empty()) scanOption = argument;
      line.scanOptions.hardLinksOnce = true;
    } else if (argument == "--cross-mounts") {
      if (scanOption.empty()) scanOption = argument;
      line.scanOptions.crossMountPoints = true;
    } else if (argument == "--apparent-size") {
      line.apparentSize = true;
    } else if (argument == "--exclude-caches") {
      if (scanOption.empty()) scanOption = argument;
      exclusions->setExcludesCaches(true);
    } else if (argument == "--exclude-kernfs") {
      if (scanOption.empty()) scanOption = argument;
      exclusions->setSkipsVirtualFileSystems(true);
    } else if (argument == "--exclude") {
      if (scanOption.empty()) scanOption = argument;
      std::string pattern;
      if (!value(pattern)) return std::nullopt;
      if (auto problem = exclusions->addPattern(pattern)) {
        error = "--exclude " + pattern + ": " + *problem;
        return std::nullopt;
      }
    } else if (argument == "--exclude-from") {
      if (scanOption.empty()) scanOption = argument;
      std::string file;
      if (!value(file)) return std::nullopt;
      std::ifstream input(file, std::ios::binary);
      std::stringstream text;
      text << input.rdbuf();
      if (!input) {
        error = "--exclude-from " + file + ": " + std::strerror(errno ? errno : EIO);
        return std::nullopt;
      }
      if (auto problem = exclusions->addPatternLines(text.str())) {
        error = "--exclude-from " + file + ", " + *problem;
        return std::nullopt;
      }
    } else if (argument == "--si") {
      line.units = TMSizeUnits::Decimal;
    } else if (argument == "--threads") {
      if (scanOption.empty()) scanOption = argument;
      int threads = 1;
      understood = number(threads, int(TMScanOptions::kMostThreads));
      line.scanOptions.threads = unsigned(threads);
    } else if (argument == "--top") {
      understood = number(line.top, 1000000);
    } else if (argument == "--depth") {
      understood = number(line.depth, 100000);
    } else if (argument == "--dot") {
      understood = value(line.dotFile);
    } else if (argument == "--import") {
      understood = value(line.importFile);
    } else if (argument == "--compare") {
      understood = value(line.compareFile);
    } else if (argument == "--export") {
      understood = value(line.exportFile);
    } else if (argument == "--format") {
      std::string format;
      if (!value(format)) return std::nullopt;
      if (format != "json" && format != "binary") {
        error = "--format takes json or binary, not " + format;
        return std::nullopt;
      }
      line.exportFormat = format == "binary" ? TMExportFormat::kBinary : TMExportFormat::kJson;
    } else if (argument == "--png") {
      understood = value(line.pngFile);
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
      haveSize = true;
    } else {
      error = "unknown option " + std::string(argument);
      return std::nullopt;
    }
    if (!understood) return std::nullopt;
  }
  if (line.help || line.version) return line;
  if (!exclusions->isEmpty()) line.scanOptions.exclusions = std::move(exclusions);
  if (haveSize && line.pngFile.empty()) {
    error = "--size applies to --png, which is missing";
    return std::nullopt;
  }
  if (line.bytes && line.units == TMSizeUnits::Decimal) {
    error = "--bytes and --si cannot be combined";
    return std::nullopt;
  }
  if (line.exportFormat && line.exportFile.empty()) {
    error = "--format applies to --export, which is missing";
    return std::nullopt;
  }
  if (line.pngFile == "-") {
    error = "--png cannot write to standard output";
    return std::nullopt;
  }
  if (!line.compareFile.empty() && line.writesToStandardOutput()) {
    error = "--compare prints its report on standard output, which another output takes";
    return std::nullopt;
  }
  if (line.dotFile == "-" && line.exportFile == "-") {
    error = "only one output can go to standard output";
    return std::nullopt;
  }
  for (const std::string* file : {&line.dotFile, &line.exportFile, &line.pngFile}) {
    for (const std::string* other : {&line.dotFile, &line.exportFile, &line.pngFile}) {
      if (file < other && !file->empty() && *file == *other && *file != "-") {
        error = "two outputs cannot share the file " + *file;
        return std::nullopt;
      }
    }
  }
  if (!line.importFile.empty() && (havePath || !scanOption.empty())) {
    error = "--import reads a saved scan instead of scanning: " +
            (havePath ? "a PATH" : scanOption) + " cannot be given with it";
    return std::nullopt;
  }
  if (!havePath) {
    // Only an absolute HOME: a relative one would depend on where the
    // program was started.
    const char* home = std::getenv("HOME");
    line.path = home != nullptr && home[0] == '/' ? home : "/";
  }
  return line;
}

}  // namespace tilemora
