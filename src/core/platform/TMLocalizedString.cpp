// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLocalizedString.h"

#include <array>
#include <atomic>
#include <utility>

namespace tilemora {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kCustomTable{{
    {"EmptySpace", "Free space"},
    {"UnscannedSpace", "Unscanned space"},
    {"bytes", "bytes"},
    {"bytesAcronym", "B"},
    {"InitialMessage", "Drop a folder here\nor choose File \xE2\x96\xB8 Open\xE2\x80\xA6"},
}};

std::atomic<TMStringTranslator> translator{nullptr};

}  // namespace

void setLocalizedStringTranslator(TMStringTranslator translate) { translator.store(translate); }

std::string TMLocalizedString(std::string_view key) {
  std::string_view english = key;
  for (const auto& [entryKey, text] : kCustomTable) {
    if (entryKey == key) english = text;
  }
  const TMStringTranslator translate = translator.load();
  return translate != nullptr ? translate(key, english) : std::string(english);
}

}  // namespace tilemora
