// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a saved scan: a JSON export in ncdu's format, versions 1.x (written
// by tilemora-scan --export or by ncdu -o), into the same kind of file tree
// a scan makes. A file keeps its size on disk (dsize) and its length
// (asize), either standing for both when it is the only one given; a
// folder's sizes are those of the files below it (its own are ignored).
// Entries marked excluded are counted and left out, and the hard-link marks
// ignored, as the scan would (it counts every link). Names come back as
// their raw bytes: \udcXX escapes (and raw bytes that are not UTF-8, as ncdu
// writes them) stand for single bytes.
//
// The export may be compressed with zstd or gzip: its first bytes say so.
//
// A file that is not such an export, or is cut short, yields an error naming
// the line and column where reading stopped, and no tree. So does what a
// reader cannot trust: sizes that add up past 2^64 bytes, a name longer than
// kLongestName bytes, any other string longer than kLongestString, a NUL
// byte, values nested deeper than kDeepestValue. Running out of memory
// reading it is an error too ("too large"), not the end of the program.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <functional>
#include <variant>
#include <vector>

#include "core/filetree/TMFileTree.h"
#include "import/TMScanOrigins.h"

namespace tilemora {

class TMInputFile;
class TMLazyTreeLoader;

struct TMImportedScan {
  std::shared_ptr<TMFileTree> root;  // a folder, named after the last of rootComponents
  // The path that was scanned, as the export names it, in components (the
  // first "/"), without empty or "." ones; nothing of it is resolved here.
  std::vector<std::string> rootComponents;
  std::string program;               // what wrote the export ("tilemora-scan 0.1.0")
  std::string hostname;              // the machine scanned, where the export says
  int64_t timestamp = 0;             // when it was scanned (seconds since the epoch); 0: not said
  uint64_t files = 0;
  uint64_t folders = 0;              // below the root
  uint64_t unreadableFolders = 0;    // marked read_error
  uint64_t excludedEntries = 0;      // marked excluded: not counted
  // Files the export gives one size for, used as both: without their
  // length (asize) or without their size on disk (dsize).
  uint64_t filesWithoutLength = 0;
  uint64_t filesWithoutAllocatedSize = 0;
  // Of several scans read as one: where each came from.
  TMScanOrigins origins;
  // A binary export read in part, its largest folders first: the folders
  // whose entries are not read yet (marked cut short), and what reads them
  // when they are looked into.
  uint64_t unreadFolders = 0;
  std::shared_ptr<TMLazyTreeLoader> loader;
};

// The longest name an export may give an entry, in bytes (a path's
// components are at most 255 on Linux; a whole path, 4,095).
inline constexpr size_t kLongestName = 4096;
// The longest string (a key, a value in the metadata or under a key this
// reader does not know) an export may hold, in bytes; nothing longer is
// ever kept in memory, however small the file that holds it compressed.
inline constexpr size_t kLongestString = 64 * 1024;
// How deep values may nest outside the tree (in the metadata, or under keys
// this reader does not know).
inline constexpr int kDeepestValue = 64;

struct TMImportError {
  uint64_t line = 0;    // 1 for the first; 0 when the file could not be read at all
  uint64_t column = 0;  // in bytes, 1 for the first
  std::string message;
  std::string file;     // which of several saved scans, when several are read
  // "line L, column C: MESSAGE", or the message alone without a line
  std::string text() const;
};

using TMImportResult = std::variant<TMImportedScan, TMImportError>;

// Reads `input` to its end, or until `stop` is asked: then the error says
// "stopped".
TMImportResult importNcduExport(std::FILE* input, const std::stop_token& stop = {});

// Reads the saved scan in the file at `path` ("-": standard input); a file
// that cannot be opened is an error without a line. A pipe that stays
// silent is waited for only until `stop` is asked.
TMImportResult importNcduExportAt(const std::string& path, const std::stop_token& stop = {});

// One of several saved scans shown side by side.
struct TMSavedScanSource {
  std::FILE* input;
  std::string fileName;  // the file it was read from ("-": standard input)
  const TMInputFile* file = nullptr;  // what `input` reads, when known
};

// Reads every source into one tree: a root named after them, holding one
// folder per scan named after its origin, the machine scanned (where the
// export says, or else its file) and the path ("vm:/srv/t2"), made unique.
// `rootComponents` is that root alone; `origins` tells the folders.
TMImportResult importNcduExports(const std::vector<TMSavedScanSource>& sources, const std::stop_token& stop = {});
// The same for the files at `paths` (one path reads as importNcduExportAt).
TMImportResult importNcduExportsAt(const std::vector<std::string>& paths, const std::stop_token& stop = {});

class TMImportTarget;
// Reads one saved scan from `input` into `target`, decompressed if need be,
// as its first bytes tell: a binary export, a QDirStat cache file, or else
// a JSON export. A binary export in a regular file (`file`, what `input`
// reads, says so) is read by its references from the file, else whole
// into memory first. Nothing when it was read whole, else why not.
std::optional<TMImportError> importInto(std::FILE* input, TMImportTarget& target, const std::stop_token& stop,
                                        const TMInputFile* file = nullptr);

// What a saved scan is called among others: the machine it scanned, or its
// file's name without the folder and the ".json", ".zst", ".gz", ".ncdu"
// endings.
std::string savedScanLabel(std::string_view hostname, std::string_view fileName);

}  // namespace tilemora
