// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSizeFormatter.h"

#include <atomic>
#include <cstdio>

#include "core/platform/TMLocalizedString.h"

namespace tilemora {

namespace {

std::atomic<TMSizeUnits> sharedUnits{TMSizeUnits::Formatter};

}  // namespace

const TMSizeFormatter& TMSizeFormatter::sharedInstance() {
  // One formatter per kind of units, made once (thread-safe static
  // initialisation) and never changed: a thread may keep the reference.
  static const TMSizeFormatter formatter(1024);
  static const TMSizeFormatter binary(TMSizeUnits::Binary);
  static const TMSizeFormatter decimal(TMSizeUnits::Decimal);
  switch (sharedUnits.load(std::memory_order_relaxed)) {
    case TMSizeUnits::Binary: return binary;
    case TMSizeUnits::Decimal: return decimal;
    default: return formatter;
  }
}

void TMSizeFormatter::setSharedUnits(TMSizeUnits units) { sharedUnits.store(units, std::memory_order_relaxed); }

TMSizeFormatter::TMSizeFormatter(uint64_t base)
    : byteWord(TMLocalizedString("bytes")), unitLetter(TMLocalizedString("bytesAcronym")), base(base) {}

TMSizeFormatter::TMSizeFormatter(TMSizeUnits units)
    : TMSizeFormatter(units == TMSizeUnits::Decimal ? 1000 : 1024) {
  static const char* const kBinary[] = {"KiB", "MiB", "GiB", "TiB"};
  static const char* const kDecimal[] = {"kB", "MB", "GB", "TB"};
  if (units == TMSizeUnits::Binary) unitNames = kBinary;
  if (units == TMSizeUnits::Decimal) unitNames = kDecimal;
}

std::string TMSizeFormatter::formatWithUnitNames(uint64_t size) const {
  char text[64];
  if (size < base) {
    std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(size), byteWord.c_str());
    return text;
  }
  double value = double(size) / double(base);
  int unit = 0;
  // Rounded to one decimal, a value just under base would read "1000.0".
  while (unit < 3 && value >= double(base) - 0.05) {
    value /= double(base);
    ++unit;
  }
  std::snprintf(text, sizeof text, "%.1f %s", value, unitNames[unit]);
  return text;
}

std::string TMSizeFormatter::formatSize(uint64_t size) const {
  if (unitNames != nullptr) return formatWithUnitNames(size);
  char text[64];
  if (size < base - 1) {
    std::snprintf(text, sizeof text, "%i %s", int(size), byteWord.c_str());
    return text;
  }
  const float b = float(base);
  const float t = float(base - 1);
  const float k = float(size) / b;
  if (t > k) {
    std::snprintf(text, sizeof text, "%1.1f K%s", double(k), unitLetter.c_str());
    return text;
  }
  const float m = k / b;
  if (t > m) {
    std::snprintf(text, sizeof text, "%1.1f M%s", double(m), unitLetter.c_str());
    return text;
  }
  const float g = m / b;
  std::snprintf(text, sizeof text, "%1.1f G%s", double(g), unitLetter.c_str());
  return text;
}

}  // namespace tilemora
