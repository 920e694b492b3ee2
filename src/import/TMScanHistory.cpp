// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanHistory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "core/platform/TMOutputFile.h"

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

// Makes `path` and the folders above it that are missing, each 0700; what
// exists is left as it is.
bool makeFolders(const std::string& path, std::string& error) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    if (::mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) {
      error = std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

// The folder `name` in `parent`, made 0700 when missing and `make` says so;
// -1 unless it is a folder (not a link) of the user's that no one else may
// write to.
int ownFolderAt(int parent, const char* name, bool make) {
  if (make && ::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) return -1;
  const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (folder >= 0 && ::fstat(folder, &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0)
    return folder;
  if (folder >= 0) ::close(folder);
  if (errno != ENOENT) errno = EPERM;
  return -1;
}

constexpr const char* kFolders[] = {"tilemora", "history"};

}  // namespace

TMScanHistory::TMScanHistory(const std::string& stateHome)
    : stateHome_(stateHome), folder_(stateHome + "/" + kFolders[0] + "/" + kFolders[1]) {}

std::string TMScanHistory::defaultStateHome() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return state;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] == '/' ? home : "/tmp") + "/.local/state";
}

int TMScanHistory::openFolder(bool make, std::string& error) const {
  // The state home is the user's to place (a link is fine); below it,
  // nothing is followed or taken that is not the user's alone.
  if (make && !makeFolders(stateHome_, error)) return -1;
  int folder = ::open(stateHome_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (const char* name : kFolders) {
    if (folder < 0) break;
    const int below = ownFolderAt(folder, name, make);
    ::close(folder);
    folder = below;
  }
  if (folder < 0) {
    error = errno == EPERM ? "the history folder " + folder_ +
                                 " is not the user's alone (a link, another user's, or writable by others)"
                           : std::string(std::strerror(errno));
  }
  return folder;
}

std::vector<TMScanHistory::Scan> TMScanHistory::allScans(int folderDescriptor, const std::string& prefix) const {
  std::vector<Scan> scans;
  DIR* folder = ::fdopendir(::fcntl(folderDescriptor, F_DUPFD_CLOEXEC, 0));
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
    if (::fstatat(folderDescriptor, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
      continue;
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
  std::string error;
  const int folder = openFolder(false, error);
  if (folder < 0) return {};
  std::vector<Scan> scans = allScans(folder, prefixOf(scannedPath));
  ::close(folder);
  return scans;
}

bool TMScanHistory::save(const TMFileTree& root, const TMTreeExportHeader& header, std::string& error,
                         const std::stop_token& stop, uint64_t mostBytes) const {
  const int folder = openFolder(true, error);
  if (folder < 0) return false;
  const std::string name = prefixOf(header.rootPath) + std::to_string(std::max<int64_t>(header.timestamp, 0)) + kEnding;
  std::unique_ptr<TMOutputFile> file = TMOutputFile::createAt(folder, folder_, name, error, 0600, stop);
  ::close(folder);
  if (!file || !writeTreeExportTo(*file, root, header, error, stop)) return false;
  if (file->bytesWritten() > mostBytes) {
    error = "the scan takes " + std::to_string(file->bytesWritten()) + " bytes compressed, more than the " +
            std::to_string(mostBytes) + " the history keeps in all: it is not kept";
    return false;  // the temporary file goes with `file`
  }
  if (!file->commit(error)) return false;
  prune(kKeptPerFolder, mostBytes);
  return true;
}

void TMScanHistory::prune(size_t perFolder, uint64_t mostBytes) const {
  std::string error;
  const int folder = openFolder(false, error);
  if (folder < 0) return;
  std::vector<Scan> scans = allScans(folder);  // newest first
  std::map<std::string, size_t> keptOf;  // by prefix
  std::vector<Scan> kept;
  for (Scan& scan : scans) {
    const std::string prefix = scan.file.substr(folder_.size() + 1, kHashDigits + 1);
    if (++keptOf[prefix] > perFolder) {
      ::unlinkat(folder, scan.file.c_str() + folder_.size() + 1, 0);
    } else {
      kept.push_back(std::move(scan));
    }
  }
  uint64_t bytes = 0;
  for (const Scan& scan : kept) {
    bytes += scan.bytes;
    // Newest first: what is past the limit is the oldest.
    if (bytes > mostBytes) ::unlinkat(folder, scan.file.c_str() + folder_.size() + 1, 0);
  }
  ::close(folder);
}

}  // namespace tilemora
