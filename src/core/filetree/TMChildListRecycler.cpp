// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChildListRecycler.h"

#include "TMInterimReadGuard.h"

namespace tilemora {

void TMChildListRecycler::retire(TMChildList* list) {
  retired_.push_back(list);
  retiredBytes_ += list->byteSize();
  if (retiredBytes_ >= kReclaimThresholdBytes) reclaimIfUnread();
}

void TMChildListRecycler::reclaimIfUnread() {
  if (!retired_.empty() && TMInterimReadGuard::noReaderActive()) freeAll();
}

void TMChildListRecycler::takeOver(TMChildListRecycler& other) {
  retired_.insert(retired_.end(), other.retired_.begin(), other.retired_.end());
  retiredBytes_ += other.retiredBytes_;
  other.retired_.clear();
  other.retiredBytes_ = 0;
}

void TMChildListRecycler::freeAll() {
  for (TMChildList* list : retired_) TMChildList::release(list);
  retired_.clear();
  retiredBytes_ = 0;
}

}  // namespace tilemora
