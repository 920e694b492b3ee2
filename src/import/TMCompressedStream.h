// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saved scans compressed or not, behind plain stdio streams: a reader that
// recognises zstd and gzip by their first bytes (whatever the file is
// called, standard input included), and a writer that compresses as the
// file's name ends (".zst", ".gz"). Both are streams of their own over the
// given one, which they neither close nor flush beyond what they write.

#include <cstdio>
#include <string_view>

namespace tilemora {

enum class TMCompression { kNone, kZstd, kGzip };

// By the name's ending: ".zst" zstd, ".gz" gzip, anything else none.
TMCompression compressionForName(std::string_view path);

// A stream that reads `raw` decompressed, if its first bytes say it is
// compressed, or as it is. A broken compressed stream reads as an error
// (ferror) where it breaks, with `errno` EILSEQ. Null when no stream can
// be made. Closing it leaves `raw` open.
std::FILE* openDecompressing(std::FILE* raw);
// Why a stream of openDecompressing reported an error (ferror), from errno
// right after: the compressed data broken, or the file unreadable.
const char* decompressingFailure();

// A stream whose writes reach `raw` compressed as `compression` says (or
// as they are, for none). Closing it ends the compressed stream and answers
// EOF when anything could not be written. Null when no stream can be made.
std::FILE* openCompressing(std::FILE* raw, TMCompression compression);

}  // namespace tilemora
