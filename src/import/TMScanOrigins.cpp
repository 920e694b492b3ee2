// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanOrigins.h"

#include <algorithm>

namespace tilemora {

namespace {

constexpr std::string_view kDivisionSlash = "\u2215";
constexpr std::string_view kEllipsis = "\u2026";

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first `bytes` bytes of `text`, or fewer so as not to cut a character.
std::string_view headOf(std::string_view text, size_t bytes) {
  if (bytes >= text.size()) return text;
  while (bytes > 0 && isContinuationByte(text[bytes])) --bytes;
  return text.substr(0, bytes);
}

// The last `bytes` bytes of `text`, or fewer so as not to cut a character.
std::string_view tailOf(std::string_view text, size_t bytes) {
  if (bytes >= text.size()) return text;
  size_t start = text.size() - bytes;
  while (start < text.size() && isContinuationByte(text[start])) ++start;
  return text.substr(start);
}

std::string replaced(std::string_view text, char from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == from) {
      result += to;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace

std::string TMScanOrigins::originOf(std::string_view machine, const std::vector<std::string>& pathComponents) {
  std::string path;
  for (const std::string& component : pathComponents) {
    if (component == "/") continue;
    path += '/';
    path += component;
  }
  return std::string(machine) + ":" + (path.empty() ? "/" : path);
}

std::string TMScanOrigins::nameOf(std::string_view origin) {
  std::string name = replaced(origin, '/', kDivisionSlash);
  if (name.size() <= kLongestName) return name;
  // The machine and the path's start say where; its end says which folder.
  const size_t room = kLongestName - kEllipsis.size();
  const std::string_view head = headOf(name, room / 3);
  const std::string_view tail = tailOf(name, room - head.size());
  return std::string(head) + std::string(kEllipsis) + std::string(tail);
}

void TMScanOrigins::add(std::string name, std::string origin) {
  scans_.push_back({std::move(name), std::move(origin)});
}

const TMScanOrigins::Scan* TMScanOrigins::scanOf(const TMFileURL& url,
                                                 const std::vector<std::string>& components) const {
  if (components.size() <= rootDepth_ || !url.isAtOrBelow(root_)) return nullptr;
  const std::string& name = components[rootDepth_];
  auto scan = std::find_if(scans_.begin(), scans_.end(), [&](const Scan& s) { return s.name == name; });
  return scan == scans_.end() ? nullptr : &*scan;
}

std::string TMScanOrigins::shownPath(const TMFileURL& url) const {
  const std::vector<std::string> components = url.pathComponents();
  const Scan* scan = scanOf(url, components);
  if (scan == nullptr) return url.path();
  std::string path = scan->origin;
  for (size_t i = rootDepth_ + 1; i < components.size(); ++i) {
    if (!path.ends_with('/')) path += '/';
    path += components[i];
  }
  return path;
}

std::vector<std::string> TMScanOrigins::shownComponents(const TMFileURL& url) const {
  std::vector<std::string> components = url.pathComponents();
  if (const Scan* scan = scanOf(url, components)) components[rootDepth_] = scan->origin;
  return components;
}

}  // namespace tilemora
