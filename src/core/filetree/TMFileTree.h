// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TMFileTree is one node of the in-memory picture of a scanned folder: a
// file, and the base of folders, volumes and the special space nodes. Every
// node knows its name (the raw bytes of its directory entry) and the bytes it
// occupies on disk.
//
// Memory budget, the file tree being the big structure (millions of nodes):
//   size 8 + kind 1 + modification time 4 + other size 4 = 17 bytes per file
//   + its name, NUL-terminated, right after the time     ~ 10-20 bytes
//   + padding to the next node's 8-byte alignment        ~  4 bytes
//   + its slot in the parent's child list                =  4 bytes
// Folders add 15 bytes (their child list pointer, aligned) and a 16-byte
// list header. There is no vtable: the kind byte says which class a node
// is, and the few operations that differ by class switch on it.
// Nodes live in their tree's TMNodeArena and are freed with the whole tree;
// they are made with create<T>(), which places the name after the node.
//
// A file keeps two sizes: the one the tree is measured by (diskSize, the
// allocated bytes unless the tree was re-measured by length, see
// TMSizeMeasure) and the other one (alternateSize). Switching the measure
// swaps them in every file and sums every folder again, so that everything
// drawn, listed, sorted and summed goes on reading diskSize. The other size
// takes 4 bytes after the modification time, where a folder keeps its own
// fields instead (see TMOtherSizeCode: exact for whole blocks, as sizes on
// disk and sparse images are). A folder's other size is the sum of its
// files', counted when asked.
//
// Sizes are atomic so that a thread reading the tree during its scan never
// sees a torn value. A one-thread scan is the only writer of its sizes;
// when several threads scan, they add to shared sizes atomically.

#include <algorithm>
#include <atomic>
#include <cstring>
#include <typeinfo>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TMFileDeleteRez.h"
#include "TMNodeArena.h"
#include "core/platform/TMFileSystem.h"
#include "core/platform/TMFileURL.h"
#include "core/platform/TMTrash.h"

namespace tilemora {

class TMFileTreePath;
class TMFolderTree;
class TMLayoutNode;

// Ends the process: a node's kind places its name elsewhere than create()
// put it.
[[noreturn]] void tmNodeStorageUndeclared(const char* className);

// Which class a node is.
enum class TMNodeKind : uint8_t { File, Folder, Volume, EmptySpace, UnscannedSpace };

class TMVolume;

class TMFileTree {
 public:
  // Makes a node of class T in `arena`, named `name` (copied right after the
  // node), passing `arguments` to T's constructor.
  template <class T, class... Args>
  static T* create(TMNodeArena& arena, std::string_view name, Args&&... arguments);

  // initWithFileName:andSize: — the name is placed by create().
  explicit TMFileTree(uint64_t size) : TMFileTree(size, TMNodeKind::File) {}
  TMFileTree(const TMFileTree&) = delete;
  TMFileTree& operator=(const TMFileTree&) = delete;

  // Writes this node alone as one Graphviz record line:
  //   p<address> [label="<size>|<escaped name>" shape=record]
  void dumpToFile(std::FILE* file) const;

  // The node's name; the bytes live as long as the tree.
  std::string_view filename() const { return filenameCString(); }
  const char* filenameCString() const {
    return reinterpret_cast<const char*>(this) + nameOffset();
  }

  // The size the tree is measured by: a file's allocated size (or its
  // length, in a tree measured by length), the sum of the files below a
  // folder.
  uint64_t diskSize() const { return diskSize_.load(std::memory_order_relaxed); }
  // The other size: the length while the tree is measured by allocated
  // size, and the other way round. A folder's (or a volume's) is the sum of
  // its files', counted by a walk below it: only once no scan writes there.
  uint64_t alternateSize() const;
  // Sets a file's other size (a scan or a reader of saved scans, once its
  // size is set and before anyone else reads it); nothing for a folder.
  void setAlternateSize(uint64_t size);
  // Exchanges a file's two sizes (re-measuring a tree no other thread
  // writes); folders are summed again by whoever re-measures.
  void swapSizes();

  // The fraction of the used space the scan has reached, for a root that can
  // tell; -1.0 for every node that cannot (files and folders).
  double advancementPercentage() const;


  // deleteNodeWithURLParts:atIndex: — deletes the node named by `parts` (path
  // components from "/"), `index` being the position of this node's own
  // name in them. The target's item goes to the trash through `trash`
  // first; only once it is there is the node unlinked from its parent and
  // every folder on the path, up to this one, lowered by its size. Main
  // thread, never while a scan writes the tree.
  FileDeleteRez_t deleteNodeWithURLParts(const std::vector<std::string>& parts, uint64_t index,
                                         const TMTrashFunction& trash);
  // The same for a path already resolved, from the node it starts at.
  static FileDeleteRez_t deleteNodeOnPath(const TMFileTreePath& path, const TMTrashFunction& trash);

  TMNodeKind kind() const { return kind_; }

  // When the file was last modified, in seconds since 1970 (UTC); 0 when
  // not known (a saved scan without dates, a folder). Kept in 4 bytes:
  // times before 1970 read as 1 second after it, times after 2106 as the
  // last second 4 bytes hold.
  uint32_t modifiedTime() const {
    uint32_t seconds;
    std::memcpy(&seconds, modified_, sizeof seconds);
    return seconds;
  }
  void setModifiedTime(int64_t seconds) {
    const uint32_t kept = keptTime(seconds);
    std::memcpy(modified_, &kept, sizeof kept);
  }
  // What setModifiedTime keeps of `seconds`.
  static uint32_t keptTime(int64_t seconds) { return uint32_t(std::clamp<int64_t>(seconds, 1, int64_t(UINT32_MAX))); }
  // A file found changed after the scan: its size by the tree's measure and
  // its other size. Main thread, while nothing else reads the tree.
  void resize(uint64_t measured, uint64_t other) {
    setDiskSize(measured);
    setAlternateSize(other);
  }
  // The folder view of this node, or null for anything that is not a folder.
  const TMFolderTree* asFolder() const;
  TMFolderTree* asFolder();
  // The volume view of this node, or null for anything that is not a volume.
  const TMVolume* asVolume() const;
  TMVolume* asVolume();

 protected:
  TMFileTree(uint64_t size, TMNodeKind kind) : diskSize_(size), kind_(kind), modified_{} {}
  // Nodes are placed in an arena and never destroyed one by one.
  ~TMFileTree() = default;

  // Where the name starts: right after the modification time for the
  // classes without fields of their own, right after the object for the
  // others.
  // The other size of a class without fields of its own lies in the
  // object's tail, between the modification time and the name.
  static constexpr size_t kOtherSizeOffset = sizeof(std::atomic<uint64_t>) + 1 + 4;
  static constexpr size_t kCompactNameOffset = kOtherSizeOffset + 4;
  bool holdsOtherSize() const;
  uint32_t otherSizeCode() const {
    uint32_t code;
    std::memcpy(&code, reinterpret_cast<const char*>(this) + kOtherSizeOffset, sizeof code);
    return code;
  }
  void setOtherSizeCode(uint32_t code) {
    std::memcpy(reinterpret_cast<char*>(this) + kOtherSizeOffset, &code, sizeof code);
  }
  template <class T>
  static constexpr size_t nameOffsetOf() {
    return T::kHasOwnFields ? sizeof(T) : kCompactNameOffset;
  }
  size_t nameOffset() const;
  static constexpr bool kHasOwnFields = false;

  // A size with one writer (see the header comment) needs only a load and
  // a store, no read-modify-write.
  void setDiskSize(uint64_t size) { diskSize_.store(size, std::memory_order_relaxed); }
  void addToDiskSize(uint64_t delta) { setDiskSize(diskSize() + delta); }
  // When several threads scan, some sizes have more than one writer.
  void addToDiskSizeShared(uint64_t delta) { diskSize_.fetch_add(delta, std::memory_order_relaxed); }

 private:
  std::atomic<uint64_t> diskSize_;
  const TMNodeKind kind_;
  // Bytes, not a uint32_t: no padding before them, and the name right after.
  uint8_t modified_[4];
};

// Declares that a node class adds fields: its name goes after them (and
// not into the tail padding of the base, as for the classes without).
#define TM_FILE_TREE_STORAGE(Class) \
 public:                            \
  static constexpr bool kHasOwnFields = true;

template <class T, class... Args>
T* TMFileTree::create(TMNodeArena& arena, std::string_view name, Args&&... arguments) {
  static_assert(T::kHasOwnFields || sizeof(T) == sizeof(TMFileTree),
                "a node class with fields of its own must say so with TM_FILE_TREE_STORAGE");
  constexpr size_t nameOffset = nameOffsetOf<T>();
  void* memory = arena.allocate(std::max(sizeof(T), nameOffset + name.size() + 1), alignof(T));
  T* node = new (memory) T(std::forward<Args>(arguments)...);
  // After the constructor: the other size and the name may lie in the
  // object's tail padding. Until told, the other size is the size.
  if (!T::kHasOwnFields) static_cast<TMFileTree*>(node)->setOtherSizeCode(0);
  char* nameBytes = reinterpret_cast<char*>(memory) + nameOffset;
  std::memcpy(nameBytes, name.data(), name.size());
  nameBytes[name.size()] = '\0';
  if (node->filenameCString() != nameBytes) tmNodeStorageUndeclared(typeid(T).name());
  return node;
}

// Orders nodes largest first: -1 when a is larger, +1 when smaller, 0 when
// equal; the sizes compare as unsigned 64-bit values.
int TmFileTreeComparer(const TMFileTree& a, const TMFileTree& b);

// `name` as text for a Graphviz record label: record and string
// metacharacters are escaped, a newline becomes a line break, and control
// characters and bytes that are not valid UTF-8 become visible \xHH escapes.
std::string graphvizRecordText(std::string_view name);

}  // namespace tilemora
