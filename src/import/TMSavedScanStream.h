// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A saved scan read as it arrives (from a pipe: a scan under way on another
// machine, or by another user), into a tree that grows as a scan's does,
// on a thread of its own: the tree can be shown, and its map built, while
// the rest is still being read. The reading is a task like a scan's, and
// stops as one does; a file that turns out to be broken or cut short ends
// with an error, never as a complete tree.

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "TMNcduImport.h"

namespace tilemora {

class TMInputFile;
class TMMainQueue;
class TMProgressNotifiable;
class TMScanTask;

// What is read: the file, and what tells, once it is read and closed,
// why its source failed if it did (a helper that died, a password refused:
// that then stands for the reading's own error). `readWhole` says whether
// the text was a whole saved scan.
struct TMSavedScanInput {
  std::unique_ptr<TMInputFile> file;
  std::function<std::optional<std::string>(bool readWhole)> ended;
};
// Opens what is read; no file, with `error` set, when it cannot be.
using TMSavedScanOpener = std::function<TMSavedScanInput(std::string& error, std::stop_token stop)>;

// Opens the file at `path` ("-": standard input).
TMSavedScanOpener savedScanFileAt(std::string path);

struct TMSavedScanStreamHandlers {
  // Told of every entry, on the reading thread (may be null).
  std::shared_ptr<TMProgressNotifiable> progress;
  // On the main queue, once the scanned path is known: the tree that grows,
  // and the facts read so far (the root's path, the machine, the date).
  std::function<void(std::shared_ptr<TMFileTree> root, const TMImportedScan& scan)> rootKnown;
  // On the main queue, at the end: the whole scan (its root the tree that
  // grew), or why it could not be read whole.
  std::function<void(TMImportResult result)> ended;
  // Of a binary export read a folder at a time, the entries read before
  // it ends (the largest folders first).
  uint64_t entriesAtOnce = 1'000'000;
};

// Starts reading what `open` opens; null when no thread could be had.
// Once the task is asked to stop, neither handler is called any more.
std::shared_ptr<TMScanTask> streamSavedScan(TMSavedScanOpener open, TMSavedScanStreamHandlers handlers,
                                            std::shared_ptr<TMMainQueue> mainQueue);

}  // namespace tilemora
