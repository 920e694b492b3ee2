// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a saved scan: a JSON export in ncdu's format, versions 1.x (written
// by tilemora-scan --export or by ncdu -o), into the same kind of file tree
// a scan makes. A folder counts the allocated sizes (dsize) of the files
// below it; its own size, entries marked excluded and the hard-link marks
// are ignored, as the scan would (it counts every link). Names come back as
// their raw bytes: \udcXX escapes (and raw bytes that are not UTF-8, as ncdu
// writes them) stand for single bytes.
//
// A file that is not such an export, or is cut short, yields an error naming
// the line and column where reading stopped, and no tree.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

struct TMImportedScan {
  std::shared_ptr<TMFileTree> root;  // a folder, named after the last of rootComponents
  // The path that was scanned, as the export names it, in components (the
  // first "/"), without empty or "." ones; nothing of it is resolved here.
  std::vector<std::string> rootComponents;
  std::string program;               // what wrote the export ("tilemora-scan 0.1.0")
  int64_t timestamp = 0;             // when it was scanned (seconds since the epoch); 0: not said
  uint64_t files = 0;
  uint64_t folders = 0;              // below the root
  uint64_t unreadableFolders = 0;    // marked read_error
};

struct TMImportError {
  uint64_t line = 0;    // 1 for the first; 0 when the file could not be read at all
  uint64_t column = 0;  // in bytes, 1 for the first
  std::string message;
  // "line L, column C: MESSAGE", or the message alone without a line
  std::string text() const;
};

// Reads `input` to its end.
std::variant<TMImportedScan, TMImportError> importNcduExport(std::FILE* input);

}  // namespace tilemora
