// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMExclusions.h"

#include <fnmatch.h>

#include <algorithm>

namespace tilemora {

const char* TMExclusions::exportWord(Reason reason) {
  return reason == Reason::kVirtualFileSystem ? "kernfs" : "pattern";
}

std::optional<std::string> TMExclusions::patternProblem(std::string_view pattern) {
  if (pattern.empty() || pattern == "/") return "an empty pattern would exclude nothing";
  if (pattern.find('\0') != std::string_view::npos) return "a pattern cannot hold a NUL character";
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '\\') {
      if (++i == pattern.size()) return "\"\\\" at the end escapes nothing";
    } else if (pattern[i] == '[') {
      // The class ends at the first "]" that is not its first character.
      size_t end = i + 1;
      if (end < pattern.size() && (pattern[end] == '!' || pattern[end] == '^')) ++end;
      if (end < pattern.size() && pattern[end] == ']') ++end;
      end = pattern.find(']', end);
      if (end == std::string_view::npos) return "\"[\" opens a set of characters that \"]\" never closes";
      i = end;
    }
  }
  return std::nullopt;
}

std::optional<std::string> TMExclusions::addPattern(std::string_view pattern) {
  if (auto problem = patternProblem(pattern)) return problem;
  std::string kept(pattern);
  shownPatterns_.push_back(kept);
  if (kept.size() > 1 && kept.back() == '/') kept.pop_back();
  if (kept.find('/') != std::string::npos) {
    if (kept.front() == '/') kept.erase(0, 1);
    pathPatterns_.push_back(std::move(kept));
    needsPaths_ = true;
    return std::nullopt;
  }
  namePatterns_.push_back(std::move(kept));
  return std::nullopt;
}

std::optional<std::string> TMExclusions::addPatternLines(std::string_view text) {
  size_t number = 0;
  while (!text.empty()) {
    ++number;
    const size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (auto problem = addPattern(line)) return "line " + std::to_string(number) + ": " + *problem;
  }
  return std::nullopt;
}

bool TMExclusions::matches(const char* name, std::string_view folderPath) const {
  for (const std::string& pattern : namePatterns_) {
    if (fnmatch(pattern.c_str(), name, 0) == 0) return true;
  }
  if (pathPatterns_.empty()) return false;
  std::string whole = startPath_;
  if (!whole.empty() && !folderPath.empty()) whole += '/';
  whole += folderPath;
  if (!whole.empty()) whole += '/';
  whole += name;
  for (const std::string& pattern : pathPatterns_) {
    if (fnmatch(pattern.c_str(), whole.c_str(), 0) == 0) return true;
  }
  return false;
}

bool TMExclusions::isCacheTag(std::string_view tagStart) { return tagStart.starts_with(kCacheSignature); }

bool TMExclusions::isVirtualDevice(dev_t device) const {
  return skipsVirtualFileSystems_ &&
         std::find(virtualDevices_.begin(), virtualDevices_.end(), device) != virtualDevices_.end();
}

}  // namespace tilemora
