// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a whole binary export into a reader of saved scans' target, folder
// by folder from the root: files with their sizes and dates, folders marked
// unreadable, entries left out counted. The references are followed with
// care: an entry that leads back to a folder above it, a folder's entries
// that run in a circle, or more items met than the file can hold, end the
// reading with an error rather than a loop.

#include <cstdio>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TMNcduImport.h"

namespace tilemora {

class TMBinaryExportReader;
class TMImportTarget;
class TMInputFile;

// From the root, or from the folder item `start` (given to `target` as its root).
std::optional<TMImportError> readBinaryExport(TMBinaryExportReader& reader, TMImportTarget& target,
                                              const std::stop_token& stop, std::optional<uint64_t> start = {});

// The item of the folder at `below` (names from the root's entries down);
// none, with `error` set, when a name is missing or not a folder's.
std::optional<uint64_t> findBinaryFolder(TMBinaryExportReader& reader, const std::vector<std::string>& below,
                                         std::string& error);

// Reads the binary export `input` holds (its signature still unread): from
// its file where that is a regular one (`file`, what `input` reads, or
// `input` itself), else read whole into memory first.
// A reader of the file at `path` when it is a binary export in a regular
// file, which can then be read a folder at a time; none otherwise (`error`
// set only when it is a binary export that cannot be opened).
std::unique_ptr<TMBinaryExportReader> openBinaryExportFile(const std::string& path, std::string& error);

std::optional<TMImportError> readBinaryExportFrom(std::FILE* input, TMImportTarget& target,
                                                  const std::stop_token& stop, const TMInputFile* file = nullptr);

}  // namespace tilemora
