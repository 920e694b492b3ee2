// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files coloured by how they changed since a saved scan of the same folder:
// new files in a teal ramp, files that grew in an orange one, files that
// shrank in a blue one, each ramp's step scaled to the largest change of all;
// unchanged files (and areas too small to draw) in grey.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "TMColor.h"
#include "TMFileColoring.h"

namespace tilemora {

class TMFileTree;

// How one item of the current tree differs from the saved scan.
struct TMNodeChange {
  static constexpr uint64_t kNew = UINT64_MAX;  // as `oldSize`: not in the saved scan
  const TMFileTree* node;
  uint64_t oldSize;
};

// The changed items of a tree (files, and folders for what they tell), found
// by node.
class TMNodeChanges {
 public:
  TMNodeChanges() = default;
  // Takes `changes` in any order.
  explicit TMNodeChanges(std::vector<TMNodeChange> changes);
  // The change of `node`, or null when it is unchanged.
  const TMNodeChange* find(const TMFileTree& node) const;
  // The largest difference of a file, in bytes, a new one counting its whole size.
  uint64_t largestChange() const { return largest_; }
  size_t size() const { return changes_.size(); }

 private:
  std::vector<TMNodeChange> changes_;  // by node address
  uint64_t largest_ = 0;
};

// Removed items have no tile, and so no colour.
// How far `newSize` lies from `oldSize`, in bytes (all of it for kNew).
inline uint64_t changeDifference(uint64_t oldSize, uint64_t newSize) {
  if (oldSize == TMNodeChange::kNew) return newSize;
  return newSize > oldSize ? newSize - oldSize : oldSize - newSize;
}

enum class TMChangeKind : uint8_t { kNew, kGrew, kShrank, kUnchanged, kRemoved };
inline constexpr size_t kChangeSteps = 5;  // per ramp, the largest last

// The kind and step of a change of `oldSize` to `newSize` (kNew for none
// before) when the largest change is `largest`: steps grow with the square
// root of the share, so that a change a hundredth of the largest still
// shows.
TMChangeKind changeKindOf(uint64_t oldSize, uint64_t newSize);
size_t changeStepOf(uint64_t difference, uint64_t largest);

class TMChangeColoring : public TMFileColoring {
 public:
  explicit TMChangeColoring(std::shared_ptr<const TMNodeChanges> changes);
  const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const override;
  // Kinds: each step of the three ramps (new, grew, shrank), then unchanged.
  // An area shows its strongest change, not its largest share: a change
  // hidden among unchanged files is what a user looks for.
  size_t kindCount() const override { return kUnchangedKind + 1; }
  size_t kindOf(const TMFileTree& file) const override;
  size_t shownKind(const TMAreaTally& tally) const override;
  const TMColor* colorOfKind(size_t kind, const TMColor& depthColor) const override;
  // The colour of a kind's step (the unchanged grey for kUnchanged and kRemoved).
  const TMColor& colorOfStep(TMChangeKind kind, size_t step) const;
  const TMNodeChanges& changes() const { return *changes_; }

 private:
  static constexpr size_t kUnchangedKind = 3 * kChangeSteps;

  std::shared_ptr<const TMNodeChanges> changes_;
  std::array<std::array<TMColor, kChangeSteps>, 3> ramps_;
  TMColor unchanged_;
};

}  // namespace tilemora
