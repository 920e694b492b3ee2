// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanHistory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>

namespace tilemora {

namespace {

constexpr const char* kEnding = ".json.zst";
constexpr size_t kHashDigits = 16;

// The file names of a scanned path's scans begin with its hash (FNV-1a,
// 64 bits, in hexadecimal): the names of the folders stay out of the
// history's listing.
std::string prefixOf(const std::string& scannedPath) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char byte : scannedPath) hash = (hash ^ byte) * 0x100000001b3u;
  char digits[kHashDigits + 1];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(digits) + '-';
}

// Makes `path` and the folders above it that are missing, each 0700.
bool makeFolders(const std::string& path, std::string& error) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      error = std::string(std::strerror(errno));
      return false;
    }
    if (slash == std::string::npos) break;
  }
  // Made earlier with other permissions, or by someone else's umask.
  if (::chmod(path.c_str(), 0700) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

std::string TMScanHistory::defaultFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/tilemora/history";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && *home ? home : "/tmp") + "/.local/state/tilemora/history";
}

std::vector<TMScanHistory::Scan> TMScanHistory::allScans(const std::string& prefix) const {
  std::vector<Scan> scans;
  DIR* folder = ::opendir(folder_.c_str());
  if (folder == nullptr) return scans;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    // HASH-SECONDS.json.zst; anything else (a temporary file) is not a scan.
    if (name.size() <= kHashDigits + 1 || name[kHashDigits] != '-' || !name.ends_with(kEnding) ||
        !name.starts_with(prefix) ||
        !std::all_of(name.begin(), name.begin() + kHashDigits, [](char c) { return std::isxdigit(c); }))
      continue;
    Scan scan;
    const char* digits = name.data() + kHashDigits + 1;
    const char* end = name.data() + name.size() - std::strlen(kEnding);
    const auto parsed = std::from_chars(digits, end, scan.timestamp);
    if (parsed.ec != std::errc() || parsed.ptr != end) continue;
    scan.file = folder_ + '/' + std::string(name);
    struct stat info {};
    if (::stat(scan.file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    scan.bytes = uint64_t(info.st_size);
    scans.push_back(std::move(scan));
  }
  ::closedir(folder);
  std::sort(scans.begin(), scans.end(), [](const Scan& a, const Scan& b) {
    return a.timestamp != b.timestamp ? a.timestamp > b.timestamp : a.file > b.file;
  });
  return scans;
}

std::vector<TMScanHistory::Scan> TMScanHistory::scansOf(const std::string& scannedPath) const {
  return allScans(prefixOf(scannedPath));
}

bool TMScanHistory::save(const TMFileTree& root, const TMTreeExportHeader& header, std::string& error,
                         const std::atomic<bool>* stop) const {
  if (!makeFolders(folder_, error)) return false;
  const std::string path =
      folder_ + '/' + prefixOf(header.rootPath) + std::to_string(std::max<int64_t>(header.timestamp, 0)) + kEnding;
  if (!saveTreeExport(root, header, path, error, 0600, stop)) return false;
  prune();
  return true;
}

void TMScanHistory::prune(size_t perFolder, uint64_t mostBytes) const {
  std::vector<Scan> scans = allScans();  // newest first
  std::map<std::string, size_t> keptOf;  // by prefix
  std::vector<Scan> kept;
  for (Scan& scan : scans) {
    const std::string prefix = scan.file.substr(folder_.size() + 1, kHashDigits + 1);
    if (++keptOf[prefix] > perFolder) {
      ::unlink(scan.file.c_str());
    } else {
      kept.push_back(std::move(scan));
    }
  }
  uint64_t bytes = 0;
  for (const Scan& scan : kept) {
    bytes += scan.bytes;
    if (bytes > mostBytes) ::unlink(scan.file.c_str());  // newest first: what is past the limit is the oldest
  }
}

}  // namespace tilemora
