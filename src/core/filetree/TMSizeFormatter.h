#pragma once
// Turns a byte count into the short text shown beside names in the treemap:
// a whole number of bytes when small, else one decimal of K, M or G units.

#include <cstdint>
#include <string>

namespace tilemora {

class TMSizeFormatter {
 public:
  // The process-wide formatter (base 1024), created on first use.
  static const TMSizeFormatter& sharedInstance();

  // A formatter with the given unit step (1024 or 1000) and the localized
  // "bytes" and "bytesAcronym" texts.
  explicit TMSizeFormatter(uint64_t base);

  // "%i bytes" below base - 1, else "%1.1f K…", "M…" or "G…"; computed in
  // single precision. There is no unit above G.
  std::string formatSize(uint64_t size) const;

 private:
  std::string byteWord;
  std::string unitLetter;
  uint64_t base;
};

}  // namespace tilemora
