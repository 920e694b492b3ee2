// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds the tree of a binary export a folder at a time, the largest folder
// not yet read first, into a tree others may read meanwhile (as a scan's):
// every folder stands at the size the export gives it before its entries
// are read, so that the map of the top levels is whole at once, and only
// the blocks of the folders read are ever decompressed. A folder whose
// entries are not read yet is marked cut short, as a stopped scan leaves
// the folders it did not list, until they are. What is held is
// bounded by what is asked for, not by the export. Readings asked from
// several threads are taken in turn.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <stop_token>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <initializer_list>
#include <vector>

#include "TMNcduImport.h"

namespace tilemora {

class TMBinaryExportReader;
class TMFolderTree;
struct TMBinaryItem;
class TMProgressNotifiable;
struct TMFileTreeStorage;

class TMLazyTreeLoader {
 public:
  explicit TMLazyTreeLoader(std::unique_ptr<TMBinaryExportReader> reader);
  ~TMLazyTreeLoader();
  TMLazyTreeLoader(const TMLazyTreeLoader&) = delete;
  TMLazyTreeLoader& operator=(const TMLazyTreeLoader&) = delete;

  // Reads the root: its path (in `scan`) and size; an error when it is no
  // folder or cannot be read.
  std::optional<std::string> begin();
  const TMImportedScan& scan() const { return scan_; }
  std::shared_ptr<TMFileTree> root() const;

  // Reads folders, the largest first, until `most` entries are held, or
  // every folder is read, or `stop` is asked. `progress` (may be null) is
  // told of every entry.
  std::optional<std::string> readLargest(uint64_t most, const std::stop_token& stop,
                                         TMProgressNotifiable* progress = nullptr);
  // Reads `folder` (of this tree), if it is still unread, then the largest
  // below it until `most` entries more are held.
  std::optional<std::string> readWithin(const TMFolderTree& folder, uint64_t most, const std::stop_token& stop);
  // Reads the folders from the root down to the one at `below` (names
  // from the root's entries down), where they are still unread; nothing
  // more when a name is not a folder's.
  std::optional<std::string> readAlong(const std::vector<std::string>& below);

  // What is held, told while others may be reading.
  struct Held {
    uint64_t files;
    uint64_t folders;
    uint64_t unreadFolders;
  };
  Held held() const;

  // Another reader of the export, for a walk through it on another thread
  // (from any thread, while this one reads).
  std::unique_ptr<TMBinaryExportReader> anotherReader(std::string& error) const;

  // Entries read so far (below the root); while no other thread reads.
  uint64_t heldEntries() const { return scan_.files + scan_.folders + scan_.excludedEntries; }
  // Folders whose entries are not read yet; while no other thread reads.
  uint64_t unreadFolders() const { return unreadReferences_.size(); }
  bool isWhole() const { return unreadReferences_.empty(); }

 private:
  struct Unread {
    uint64_t size;
    uint64_t reference;  // the folder's item
    TMFolderTree* folder;
    uint64_t order;      // the earlier queued first among equal sizes
    bool operator<(const Unread& other) const {
      return size != other.size ? size < other.size : order > other.order;
    }
  };
  using Queue = std::priority_queue<Unread>;
  // Marks a folder made of `item`: unreadable, holding one, or cut short.
  void markFolder(TMFolderTree& folder, const TMBinaryItem& item);
  // Reads the entries of `folder` (unless read already), queueing the
  // folders among them in `queues`.
  std::optional<std::string> readFolder(TMFolderTree* folder, TMProgressNotifiable* progress,
                                        std::initializer_list<Queue*> queues);
  // Reads folders of `queue`, the largest first, until `most` entries are held.
  std::optional<std::string> readFrom(Queue& queue, uint64_t most, const std::stop_token& stop,
                                      TMProgressNotifiable* progress);

  mutable std::mutex reading_;
  std::unique_ptr<TMBinaryExportReader> reader_;
  std::shared_ptr<TMFileTreeStorage> storage_;
  TMImportedScan scan_;
  Queue unread_;  // may hold folders read since, passed over
  std::unordered_map<const TMFolderTree*, uint64_t> unreadReferences_;  // each unread folder's item
  std::unordered_set<uint64_t> foldersMet_;  // a folder met twice is an error
  uint64_t queued_ = 0;
};

}  // namespace tilemora
