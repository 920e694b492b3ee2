// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMAgeColoring.h"

#include "core/filetree/TMFileTree.h"

namespace tilemora {

namespace {

constexpr int64_t kDay = 24 * 3600;
// The upper ends of the first seven steps, in seconds of age.
constexpr std::array<int64_t, 7> kStepEnds{kDay, 7 * kDay, 30 * kDay, 182 * kDay, 365 * kDay, 730 * kDay, 1826 * kDay};

}  // namespace

size_t ageStepOf(uint32_t modified, int64_t now) {
  if (modified == 0) return kAgeStepCount - 1;
  const int64_t age = now - int64_t(modified);
  size_t step = 0;
  while (step < kStepEnds.size() && age >= kStepEnds[step]) ++step;
  return step;
}

const char* ageStepName(size_t step) {
  static const char* const names[kAgeStepCount] = {"Today",      "This week", "This month",      "Six months",
                                                   "This year",  "Two years", "Five years",      "Older",
                                                   "No date"};
  return step < kAgeStepCount ? names[step] : names[kAgeStepCount - 1];
}

TMAgeColoring::TMAgeColoring(int64_t now) : now_(now) {
  for (size_t i = 0; i < kAgeStepCount; ++i) colors_[i] = colorFromHtmlVal(ageColorList[i]);
}

const TMColor* TMAgeColoring::colorOf(const TMFileTree& file, const TMColor&) const {
  return &colors_[kindOf(file)];
}

size_t TMAgeColoring::kindOf(const TMFileTree& file) const { return ageStepOf(file.modifiedTime(), now_); }

}  // namespace tilemora
