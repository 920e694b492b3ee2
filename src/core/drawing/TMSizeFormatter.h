// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a byte count into the short text shown beside names in the treemap:
// a whole number of bytes when small, else one decimal of K, M or G units.

#include <cstdint>
#include <string>

namespace tilemora {

// How sizes are written: the formatter's own text (base 1024 with K, M, G),
// or base 1024 with IEC units (KiB…), or base 1000 with SI units (kB…).
enum class TMSizeUnits { Formatter, Binary, Decimal };

class TMSizeFormatter {
 public:
  // The process-wide formatter, writing the units last chosen with
  // setSharedUnits (at first the formatter's own text, base 1024).
  static const TMSizeFormatter& sharedInstance();
  // Chooses the shared formatter's units, for every thread from then on.
  static void setSharedUnits(TMSizeUnits units);

  // A formatter with the given unit step (1024 or 1000) and the localized
  // "bytes" and "bytesAcronym" texts.
  explicit TMSizeFormatter(uint64_t base);
  // A formatter writing `units`; the Binary and Decimal ones go on to T.
  explicit TMSizeFormatter(TMSizeUnits units);

  // "%i bytes" below base - 1, else "%1.1f K…", "M…" or "G…"; computed in
  // single precision. There is no unit above G.
  std::string formatSize(uint64_t size) const;

 private:
  // "%i bytes" below base, else one decimal of the largest unit under base.
  std::string formatWithUnitNames(uint64_t size) const;

  const char* const* unitNames = nullptr;  // K, M, G, T; null for the formatter's text
  std::string byteWord;
  std::string unitLetter;
  uint64_t base;
};

}  // namespace tilemora
