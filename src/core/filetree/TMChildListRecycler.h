// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the child lists a scan has replaced until no interim reader can still
// be walking them, then frees them. Used by the scan thread only; whatever is
// still kept when the tree goes away is freed with it.

#include <cstddef>
#include <vector>

#include "TMChildList.h"

namespace tilemora {

class TMChildListRecycler {
 public:
  TMChildListRecycler() = default;
  TMChildListRecycler(const TMChildListRecycler&) = delete;
  TMChildListRecycler& operator=(const TMChildListRecycler&) = delete;
  ~TMChildListRecycler() { freeAll(); }

  // `list` has just been replaced by a newly published one.
  void retire(TMChildList* list);
  // Frees the retired lists if no interim reader is active.
  void reclaimIfUnread();
  // Keeps the lists `other` still keeps, from now on as its own (the
  // recycler of one of several scan threads, once that thread has ended).
  void takeOver(TMChildListRecycler& other);

  size_t retiredBytes() const { return retiredBytes_; }

 private:
  void freeAll();

  // Retired lists are freed in batches: checking for readers costs a fence.
  static constexpr size_t kReclaimThresholdBytes = size_t(64) << 10;

  std::vector<TMChildList*> retired_;
  size_t retiredBytes_ = 0;
};

}  // namespace tilemora
