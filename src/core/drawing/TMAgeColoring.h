// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files coloured by how long ago they were last modified: a ramp from the
// newest (a fresh green) to the oldest (a dusky violet), in steps a user
// thinks in (today, this week, …, older than five years), and a grey for
// files without a date.

#include <array>
#include <cstddef>
#include <cstdint>

#include "TMColor.h"
#include "TMFileColoring.h"

namespace tilemora {

inline constexpr size_t kAgeStepCount = 9;  // eight ages and "no date"

// The step of a file modified at `modified` (seconds since 1970, 0 for
// none) seen at `now`: 0 for the last day … 7 for over five years, 8 for
// no date. A date in the future counts as today.
size_t ageStepOf(uint32_t modified, int64_t now);
// The step's words in English ("Today", "Older"), the key of their translations.
const char* ageStepName(size_t step);

inline constexpr std::array<uint32_t, kAgeStepCount> ageColorList{
    0x7FD67A,  // today
    0xA8DE78,  // this week
    0xD3E37A,  // this month
    0xF0D67C,  // six months
    0xF2B77A,  // this year
    0xE3997F,  // two years
    0xC98C9F,  // five years
    0xA58AB8,  // older
    0xDADADA,  // no date
};

class TMAgeColoring : public TMFileColoring {
 public:
  // Ages as seen at `now`.
  explicit TMAgeColoring(int64_t now);
  const TMColor* colorOf(const TMFileTree& file, const TMColor& depthColor) const override;
  size_t kindCount() const override { return kAgeStepCount; }
  size_t kindOf(const TMFileTree& file) const override;
  const TMColor* colorOfKind(size_t kind, const TMColor& depthColor) const override {
    return kind < kAgeStepCount ? &colors_[kind] : &depthColor;
  }
  const TMColor& colorOfStep(size_t step) const { return colors_[step]; }
  int64_t now() const { return now_; }

 private:
  int64_t now_;
  std::array<TMColor, kAgeStepCount> colors_;
};

}  // namespace tilemora
