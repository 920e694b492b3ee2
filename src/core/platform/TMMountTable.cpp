// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMountTable.h"

#include <algorithm>
#include <array>

namespace tilemora {

namespace {

constexpr std::array<std::string_view, 16> kLocalDiskTypes{
    "ext2", "ext3", "ext4", "xfs", "btrfs", "zfs", "f2fs", "vfat",
    "exfat", "ntfs", "ntfs3", "fuseblk", "jfs", "reiserfs", "hfsplus", "bcachefs"};

// Types that never hold the user's files on a disk, even when their source
// happens to look like a device path.
constexpr std::array<std::string_view, 14> kPseudoTypes{
    "proc", "sysfs", "cgroup", "cgroup2", "devpts", "tmpfs", "devtmpfs", "mqueue",
    "debugfs", "tracefs", "securityfs", "pstore", "configfs", "overlay"};

template <size_t N>
bool contains(const std::array<std::string_view, N>& table, std::string_view value) {
  return std::find(table.begin(), table.end(), value) != table.end();
}

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }

// The kernel writes a blank, tab, newline or backslash in a path as \ooo.
std::string decodeOctalEscapes(std::string_view field) {
  std::string decoded;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
        isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
      decoded += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

}  // namespace

bool TMMountTable::isLocalVolume(std::string_view fileSystemType, std::string_view source) {
  if (contains(kPseudoTypes, fileSystemType)) return false;
  if (contains(kLocalDiskTypes, fileSystemType)) return true;
  return source.substr(0, 5) == "/dev/";
}

namespace {

// The decoded mount points of the mounts `wanted` accepts by type and source.
template <class Wanted>
std::vector<std::string> mountPathsWhere(std::string_view mountinfo, Wanted wanted) {
  std::vector<std::string> paths;
  while (!mountinfo.empty()) {
    size_t newline = mountinfo.find('\n');
    std::string_view line = mountinfo.substr(0, newline);
    mountinfo = newline == std::string_view::npos ? std::string_view() : mountinfo.substr(newline + 1);

    // id parent major:minor root mountpoint options [optional…] - type source superoptions
    std::vector<std::string_view> fields = splitFields(line);
    auto separator = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 5 || separator == fields.end() || fields.end() - separator < 3) continue;
    if (wanted(separator[1], separator[2])) paths.push_back(decodeOctalEscapes(fields[4]));
  }
  return paths;
}

}  // namespace

std::vector<std::string> TMMountTable::localVolumePaths(std::string_view mountinfo) {
  return mountPathsWhere(mountinfo, isLocalVolume);
}

std::vector<std::string> TMMountTable::mountPaths(std::string_view mountinfo) {
  return mountPathsWhere(mountinfo, [](std::string_view, std::string_view) { return true; });
}

}  // namespace tilemora
