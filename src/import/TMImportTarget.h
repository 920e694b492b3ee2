// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a reader of saved scans puts what it reads, whatever the file's
// format: the scan's facts, and the tree, built depth first, either as the
// scan's own, or as one folder of a tree that joins several saved scans, or
// into a tree that others watch grow.
// Counts files, folders and what they lack, and refuses sizes that add up
// past 2^64 bytes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TMNcduImport.h"
#include "core/filetree/TMFileTreeBuilder.h"

namespace tilemora {

class TMImportTarget {
 public:
  // Names the folder a saved scan becomes in a joined tree, from the machine
  // scanned (empty when the file does not say) and the scanned path.
  using RootNamer = std::function<std::string(const std::string& hostname, const std::vector<std::string>& path)>;
  // Gives what takes the tree once the scanned path is known (the scan's
  // facts read so far in hand).
  using RootMaker = std::function<TMTreeSink&(const TMImportedScan& scan)>;

  // The scan's own tree; `total` and `lengths` count the sizes and lengths
  // read, here and in the scans read with this one.
  TMImportTarget(uint64_t& total, uint64_t& lengths) : total_(total), lengths_(lengths) {}
  // One folder of `joined`, named by `rootName`.
  TMImportTarget(uint64_t& total, uint64_t& lengths, TMFileTreeBuilder& joined, RootNamer rootName)
      : builder_(&joined), rootName_(std::move(rootName)), total_(total), lengths_(lengths) {}
  // Into what `makeRoot` gives, which finishes the tree itself.
  TMImportTarget(uint64_t& total, uint64_t& lengths, RootMaker makeRoot)
      : makeRoot_(std::move(makeRoot)), total_(total), lengths_(lengths) {}

  // What reading says when the memory runs out.
  static constexpr const char* kTooLarge = "the saved scan is too large for the memory available";

  TMImportedScan scan;

  // The scanned folder, at `path` on the machine scanned: entered first.
  void beginRoot(std::string_view path);
  bool hasRoot() const { return builder_ != nullptr && (ownBuilder_ || rootEntered_ || makeRoot_); }
  // A sub-folder of the folder last entered, entered in turn.
  void enterFolder(std::string_view name);
  // Ends the folder last entered (the scanned folder too, in a joined tree).
  void leaveFolder();
  void markFolderUnreadable();
  void noteExcluded() { ++scan.excludedEntries; }
  // A file of the folder last entered; a size not given is stood in for by
  // the other, and counted. An error when the sizes add up past 2^64.
  std::optional<std::string> addFile(std::string_view name, std::optional<uint64_t> size,
                                     std::optional<uint64_t> length, int64_t modified);
  // The scan, with its own tree finished (after every folder was read).
  TMImportedScan finish();

  // The path a saved scan names its root with, as an absolute path in
  // components (the first "/"), without empty or "." ones. It names a place
  // on the machine that was scanned: nothing of it is resolved here.
  static std::vector<std::string> pathComponents(std::string_view path);
  // Whether `name` can name an entry below the root (not empty, ".", "..",
  // nor holding a slash or a NUL).
  static bool isEntryName(std::string_view name);

 private:
  TMTreeSink* builder_ = nullptr;
  std::optional<TMFileTreeBuilder> ownBuilder_;
  RootNamer rootName_;
  RootMaker makeRoot_;
  bool rootEntered_ = false;
  uint64_t& total_;
  uint64_t& lengths_;
};

}  // namespace tilemora
