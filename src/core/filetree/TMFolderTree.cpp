// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderTree.h"

#include <algorithm>

#include "TMChildListRecycler.h"
#include "TMNodeArena.h"

namespace tilemora {

namespace {

constexpr uint32_t kFirstListCapacity = 16;
// Folders up to this many children sort copies of their sizes.
constexpr size_t kMostChildrenSortedByKeys = 4096;

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
                                   std::vector<std::pair<uint64_t, TMFileTree*>>& sortScratch) {
  TMChildList* listing = children_.load(std::memory_order_relaxed);
  if (listing == nullptr) return;
  uint32_t count = listing->count();

  TMChildList* finished = TMChildList::allocateIn(arena, count);
  if (order == TMChildOrder::kListing) {
    // The tree is being abandoned: keep listing order, skip the sort.
    finished->copyUnpublished(*listing, count);
  } else if (count <= kMostChildrenSortedByKeys) {
    // Sort copies of the sizes, which are final now: comparing through the
    // node pointers would miss the cache on every comparison.
    auto& keys = sortScratch;
    keys.resize(count);
    for (uint32_t i = 0; i < count; ++i) keys[i] = {listing->at(i)->diskSize(), listing->at(i)};
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (uint32_t i = 0; i < count; ++i) finished->setUnpublished(i, keys[i].second);
  } else {
    // A huge folder sorts its final list in place: copies of the sizes
    // would take four times the list's memory at the scan's peak, and its
    // children, made one after the other, lie close together in the arena.
    finished->copyUnpublished(*listing, count);
    finished->sortUnpublished(count,
                              [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); });
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
