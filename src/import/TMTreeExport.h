// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a finished file tree as a saved scan, in the JSON export format of
// ncdu (version 1.2) that the import reads: from memory, without scanning
// again. Files carry their allocated size (dsize), their length (asize)
// and their modification time where known; folders that could not be read are marked read_error;
// a volume's free and unscanned space are not entries and are left out.
// The walk keeps its own stack, so a deep tree needs no more of the
// thread's.

#include <stop_token>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/filetree/TMSizeMeasure.h"

namespace tilemora {

class TMFileTree;
class TMOutputFile;

// JSON text (ncdu's -o) or ncdu's binary export (its -O, see
// TMBinaryExportFormat), which can be read without reading it whole.
enum class TMExportFormat { kJson, kBinary };
// By the name's ending: ".ncdu" binary, anything else JSON.
TMExportFormat exportFormatForName(std::string_view path);

struct TMTreeExportHeader {
  std::string rootPath;   // the scanned path, written as the root's name
  std::string program;    // "tilemora"
  std::string version;
  int64_t timestamp = 0;  // when the scan was made (seconds since the epoch)
  std::string hostname;   // the machine scanned; left out when empty
  TMSizeMeasure measure = TMSizeMeasure::kOnDisk;  // what the tree is measured by
};

// Writes `root` to `out`; answers false when a write failed or `stop` was
// asked meanwhile (it is looked at now and then). Only while no one
// changes the tree.
bool writeTreeExport(const TMFileTree& root, const TMTreeExportHeader& header, std::FILE* out,
                     const std::stop_token& stop = {});

// Writes `root` to `file`, in `format` (none: as its name ends),
// compressed as its name ends (JSON only), and flushes it;
// answers false with `error` set when it could not. The file is not
// committed.
bool writeTreeExportTo(TMOutputFile& file, const TMFileTree& root, const TMTreeExportHeader& header,
                       std::string& error, const std::stop_token& stop = {},
                       std::optional<TMExportFormat> format = std::nullopt);

// Writes `root` to the file at `path`, compressed as its name ends (see
// TMCompressedStream), under a temporary name renamed when whole (see
// TMOutputFile, which `mode` is given to). Answers false with `error` set
// when it could not; nothing is then left behind.
bool saveTreeExport(const TMFileTree& root, const TMTreeExportHeader& header, const std::string& path,
                    std::string& error, int mode = -1, const std::stop_token& stop = {});

}  // namespace tilemora
