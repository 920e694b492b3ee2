// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChangeColoring.h"

#include <algorithm>
#include <cmath>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

namespace {

// Light to strong, per kind: new (teal), grew (orange), shrank (blue): hues
// that stay apart for the many who cannot tell red from green.
constexpr uint32_t kRamps[3][kChangeSteps] = {
    {0xBAE2DD, 0x98D3CD, 0x76C5BC, 0x48B1A5, 0x1A9E8F},
    {0xF6D7B7, 0xF1C493, 0xECB070, 0xE69540, 0xE07B10},
    {0xC1D4ED, 0xA1BEE4, 0x82A9DC, 0x598CD0, 0x2F6FC4},
};
constexpr uint32_t kUnchanged = 0xC4C4C4;

}  // namespace

TMNodeChanges::TMNodeChanges(std::vector<TMNodeChange> changes) : changes_(std::move(changes)) {
  std::sort(changes_.begin(), changes_.end(),
            [](const TMNodeChange& a, const TMNodeChange& b) { return std::less<>()(a.node, b.node); });
  for (const TMNodeChange& change : changes_) {
    if (change.node->kind() != TMNodeKind::File) continue;
    largest_ = std::max(largest_, changeDifference(change.oldSize, change.node->diskSize()));
  }
}

const TMNodeChange* TMNodeChanges::find(const TMFileTree& node) const {
  const auto found = std::lower_bound(changes_.begin(), changes_.end(), &node,
                                      [](const TMNodeChange& change, const TMFileTree* wanted) {
                                        return std::less<>()(change.node, wanted);
                                      });
  return found != changes_.end() && found->node == &node ? &*found : nullptr;
}

TMChangeKind changeKindOf(uint64_t oldSize, uint64_t newSize) {
  if (oldSize == TMNodeChange::kNew) return TMChangeKind::kNew;
  if (newSize > oldSize) return TMChangeKind::kGrew;
  if (newSize < oldSize) return TMChangeKind::kShrank;
  return TMChangeKind::kUnchanged;
}

size_t changeStepOf(uint64_t difference, uint64_t largest) {
  if (largest == 0 || difference == 0) return 0;
  const double share = std::sqrt(double(std::min(difference, largest)) / double(largest));
  return std::min(kChangeSteps - 1, size_t(share * double(kChangeSteps)));
}

TMChangeColoring::TMChangeColoring(std::shared_ptr<const TMNodeChanges> changes)
    : changes_(std::move(changes)), unchanged_(colorFromHtmlVal(kUnchanged)) {
  for (size_t kind = 0; kind < ramps_.size(); ++kind) {
    for (size_t step = 0; step < kChangeSteps; ++step) ramps_[kind][step] = colorFromHtmlVal(kRamps[kind][step]);
  }
}

const TMColor& TMChangeColoring::colorOfStep(TMChangeKind kind, size_t step) const {
  if (kind == TMChangeKind::kUnchanged || kind == TMChangeKind::kRemoved) return unchanged_;
  return ramps_[size_t(kind)][std::min(step, kChangeSteps - 1)];
}

const TMColor* TMChangeColoring::colorOf(const TMFileTree& file, const TMColor& depthColor) const {
  return colorOfKind(kindOf(file), depthColor);
}

size_t TMChangeColoring::kindOf(const TMFileTree& file) const {
  const TMNodeChange* change = changes_->find(file);
  if (change == nullptr) return kUnchangedKind;
  const uint64_t now = file.diskSize();
  const TMChangeKind kind = changeKindOf(change->oldSize, now);
  if (kind == TMChangeKind::kUnchanged || kind == TMChangeKind::kRemoved) return kUnchangedKind;
  return size_t(kind) * kChangeSteps +
         changeStepOf(changeDifference(change->oldSize, now), changes_->largestChange());
}

size_t TMChangeColoring::shownKind(const TMAreaTally& tally) const {
  // The strongest step of any ramp; of equal steps, the ramp with more bytes.
  for (size_t step = kChangeSteps; step-- > 0;) {
    size_t shown = kUnchangedKind;
    for (size_t ramp = 0; ramp < 3; ++ramp) {
      const size_t kind = ramp * kChangeSteps + step;
      if (tally.bytes[kind] != 0 && (shown == kUnchangedKind || tally.bytes[kind] > tally.bytes[shown])) shown = kind;
    }
    if (shown != kUnchangedKind) return shown;
  }
  return kUnchangedKind;
}

const TMColor* TMChangeColoring::colorOfKind(size_t kind, const TMColor&) const {
  if (kind >= kUnchangedKind) return &unchanged_;
  return &ramps_[kind / kChangeSteps][kind % kChangeSteps];
}

}  // namespace tilemora
