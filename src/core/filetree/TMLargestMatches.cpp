// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLargestMatches.h"

#include <algorithm>
#include <tuple>

namespace tilemora {

TMLargestMatches::TMLargestMatches(size_t keep, Accepts accepts, bool folders)
    : keep_(keep), accepts_(std::move(accepts)), folders_(folders) {}

bool TMLargestMatches::DropsFirst::operator()(const Kept& a, const Kept& b) const {
  return std::tie(a.match.size, b.order) > std::tie(b.match.size, a.order);
}

void TMLargestMatches::enterFolder(std::string_view name) { open_.push_back({std::string(name), 0, met_++}); }

void TMLargestMatches::addFileWithLength(std::string_view name, uint64_t size, uint64_t, int64_t) {
  if (!open_.empty()) open_.back().size += size;
  offer(name, size, met_++, false);
}

bool TMLargestMatches::leaveFolder() {
  // The start is entered before this is given anything, and no match.
  if (open_.empty()) return false;
  Open left = std::move(open_.back());
  open_.pop_back();
  if (!open_.empty()) open_.back().size += left.size;
  if (folders_) offer(left.name, left.size, left.order, true);
  return true;
}

void TMLargestMatches::offer(std::string_view name, uint64_t size, uint64_t order, bool folder) {
  if (accepts_ && !accepts_(name)) return;
  ++matched_;
  if (keep_ == 0 || (kept_.size() == keep_ && DropsFirst()(kept_.top(), Kept{order, {size, {}, {}, folder}})))
    return;
  TMLargestMatch match{size, {}, std::string(name), folder};
  for (const Open& above : open_) match.folders.push_back(above.name);
  kept_.push({order, std::move(match)});
  if (kept_.size() > keep_) kept_.pop();
}

std::vector<TMLargestMatch> TMLargestMatches::largest() {
  std::vector<TMLargestMatch> largest;
  largest.reserve(kept_.size());
  for (; !kept_.empty(); kept_.pop()) largest.push_back(std::move(const_cast<Kept&>(kept_.top()).match));
  std::reverse(largest.begin(), largest.end());
  return largest;
}

}  // namespace tilemora
