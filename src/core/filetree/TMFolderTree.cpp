// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderTree.h"

#include <algorithm>
#include <functional>

#include "TMChildListRecycler.h"
#include "TMNodeArena.h"

namespace tilemora {

namespace {

constexpr uint32_t kFirstListCapacity = 16;
// Folders up to this many children sort keys of 8 bytes a child, twice
// their list's memory (512 KiB at most); bigger ones sort their list itself,
// slower but in no more memory: two threads finishing two big folders at
// once would otherwise raise the scan's peak by several bytes per entry.
constexpr uint32_t kMostChildrenSortedByKeys = uint32_t(1) << 16;
// Keys for folders up to this many children are kept from sort to sort.
constexpr size_t kKeysKept = 8192;

// Writes the `count` children of `listing` into `finished` largest first,
// equal sizes in listing order, by sorting one 64-bit key per child: its
// size in 512-byte blocks above its place in the arena (so that comparing
// a key never reaches for the node). False, with nothing written, when a
// size does not fit such a key (not whole blocks, or 2 TiB and more).
bool sortByKeys(const TMChildList& listing, TMChildList& finished, uint32_t count, std::vector<uint64_t>& keys) {
  if (count > kMostChildrenSortedByKeys) return false;
  keys.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t size = listing.at(i)->diskSize();
    if (size % 512 != 0 || size / 512 > UINT32_MAX) return false;
    // Inverted, so that the earlier listed of two equal sizes sorts first.
    keys[i] = (size / 512) << 32 | (UINT32_MAX - listing.referenceAt(i));
  }
  std::sort(keys.begin(), keys.end(), std::greater<uint64_t>());
  for (uint32_t i = 0; i < count; ++i) finished.setUnpublishedReference(i, UINT32_MAX - uint32_t(keys[i]));
  // The keys of a big folder go back at once: kept, they would stay in
  // memory for the rest of the scan, a byte or more per entry.
  if (keys.capacity() > kKeysKept) std::vector<uint64_t>().swap(keys);
  return true;
}

}  // namespace

uint64_t TMFolderTree::childCount() const {
  const TMChildList* list = children();
  return list ? list->count() : 0;
}

void TMFolderTree::appendChild(TMFileTree* child, TMNodeArena& arena, TMChildListRecycler& recycler) {
  TMChildList* list = children_.load(std::memory_order_relaxed);
  if (list == nullptr || list->isFull()) {
    uint32_t count = list ? list->count() : 0;
    TMChildList* grown = TMChildList::allocate(list ? count * 2 : kFirstListCapacity, arena.base());
    if (list) grown->copyUnpublished(*list, count);
    grown->setUnpublishedCount(count);
    children_.store(grown, std::memory_order_seq_cst);
    if (list) recycler.retire(list);
    list = grown;
  }
  list->append(child);
}

void TMFolderTree::finishChildList(TMNodeArena& arena, TMChildListRecycler& recycler, TMChildOrder order,
                                   std::vector<uint64_t>& sortScratch) {
  TMChildList* listing = children_.load(std::memory_order_relaxed);
  if (listing == nullptr) return;
  uint32_t count = listing->count();
  TMChildList* finished = TMChildList::allocateIn(arena, count);
  if (order == TMChildOrder::kListing) {
    // The tree is being abandoned: keep listing order, skip the sort.
    finished->copyUnpublished(*listing, count);
  } else if (!sortByKeys(*listing, *finished, count, sortScratch)) {
    finished->copyUnpublished(*listing, count);
    finished->sortUnpublishedInPlace(
        count, [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); });
  }
  finished->setUnpublishedCount(count);
  children_.store(finished, std::memory_order_seq_cst);
  recycler.retire(listing);
}

void TMFolderTree::setFinishedChildren(TMNodeArena& arena, std::vector<TMFileTree*>& children) {
  std::stable_sort(children.begin(), children.end(),
                   [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); });
  uint64_t size = 0;
  TMChildList* list = children.empty() ? nullptr : TMChildList::allocateIn(arena, uint32_t(children.size()));
  for (uint32_t i = 0; i < children.size(); ++i) {
    list->setUnpublished(i, children[i]);
    size += children[i]->diskSize();
  }
  if (list != nullptr) list->setUnpublishedCount(uint32_t(children.size()));
  children_.store(list, std::memory_order_seq_cst);
  setDiskSize(size);
}

}  // namespace tilemora
