// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMountTable.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <charconv>

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

// The kernel's own file systems, which show its state, not a disk's files.
constexpr std::array<std::string_view, 22> kVirtualTypes{
    "proc",       "sysfs",     "devtmpfs", "devpts",     "cgroup",   "cgroup2", "debugfs", "tracefs",
    "securityfs", "pstore",    "bpf",      "configfs",   "mqueue",   "hugetlbfs", "fusectl", "binfmt_misc",
    "autofs",     "efivarfs",  "selinuxfs", "rpc_pipefs", "nsfs",    "ramfs"};

bool TMMountTable::isVirtualFileSystem(std::string_view fileSystemType) { return contains(kVirtualTypes, fileSystemType); }

std::vector<TMMount> TMMountTable::mounts(std::string_view mountinfo) {
  std::vector<TMMount> mounts;
  while (!mountinfo.empty()) {
    size_t newline = mountinfo.find('\n');
    std::string_view line = mountinfo.substr(0, newline);
    mountinfo = newline == std::string_view::npos ? std::string_view() : mountinfo.substr(newline + 1);

    // id parent major:minor root mountpoint options [optional…] - type source superoptions
    std::vector<std::string_view> fields = splitFields(line);
    auto separator = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 5 || separator == fields.end() || fields.end() - separator < 3) continue;
    const std::string_view numbers = fields[2];
    const size_t colon = numbers.find(':');
    unsigned major = 0, minor = 0;
    if (colon != std::string_view::npos) {
      std::from_chars(numbers.data(), numbers.data() + colon, major);
      std::from_chars(numbers.data() + colon + 1, numbers.data() + numbers.size(), minor);
    }
    mounts.push_back({makedev(major, minor), decodeOctalEscapes(fields[3]), decodeOctalEscapes(fields[4]),
                      std::string(separator[1]), decodeOctalEscapes(separator[2])});
  }
  return mounts;
}

std::vector<dev_t> TMMountTable::virtualDevices(std::string_view mountinfo) {
  std::vector<dev_t> devices;
  for (const TMMount& mount : mounts(mountinfo)) {
    if (isVirtualFileSystem(mount.type)) devices.push_back(mount.device);
  }
  return devices;
}

std::vector<std::string> TMMountTable::localVolumePaths(std::string_view mountinfo) {
  std::vector<std::string> paths;
  for (TMMount& mount : mounts(mountinfo)) {
    if (isLocalVolume(mount.type, mount.source)) paths.push_back(std::move(mount.mountPoint));
  }
  return paths;
}

std::vector<std::string> TMMountTable::mountPaths(std::string_view mountinfo) {
  std::vector<std::string> paths;
  for (TMMount& mount : mounts(mountinfo)) paths.push_back(std::move(mount.mountPoint));
  return paths;
}

}  // namespace tilemora
