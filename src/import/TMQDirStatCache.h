// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a QDirStat cache file (written by qdirstat-cache-writer or by
// QDirStat's "Write Cache File"): a first line "[qdirstat 1.0 cache file]"
// ("kdirstat" too), then a line per entry: its type, its path (a folder's
// absolute; a file's absolute, or its name in the folder last given), its
// size, its modification time (decimal, or hexadecimal after "0x"), and
// optionally "blocks: N" and "links: N". Fields are parted by blanks or
// tabs, so paths are URL-encoded: %XX stands for the byte XX. Blank lines
// and lines whose first character is '#' are passed over.
//
// Sizes there are lengths (st_size, with a K, M or G for whole KiB, MiB or
// GiB): a file's size on disk is its blocks × 512 where its line gives them
// (a sparse file), else its length stands in and is counted as such. A
// folder's own size is ignored, symbolic links are left out and special
// files count, as a scan does. A folder given below one not given opens
// the folders between them.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <stop_token>
#include <string_view>

#include "TMNcduImport.h"

namespace tilemora {

class TMImportTarget;

// How many of a saved scan's first bytes tell a cache file: "[qdirstat ".
inline constexpr size_t kQDirStatSignatureBytes = 10;
// The longest line read: a name of kLongestName escaped bytes and the
// fields beside it (QDirStat itself writes lines of at most 1,024 bytes).
inline constexpr size_t kLongestCacheLine = 3 * kLongestName + 1024;

// Whether `start`, the first bytes of a saved scan, begin a cache file.
bool startsQDirStatCache(std::string_view start);

// Reads the cache file in `input`, whose first bytes `start` were read
// already, into `target`: nothing when it was read whole, else why not.
std::optional<TMImportError> readQDirStatCache(std::FILE* input, std::string_view start, TMImportTarget& target,
                                               const std::stop_token& stop);

}  // namespace tilemora
