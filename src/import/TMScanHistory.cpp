// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanHistory.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "core/platform/TMOutputFile.h"
#include "core/platform/TMPrivateFolder.h"

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

// Below the state home, the user's alone.
const std::vector<std::string> kFolders{"tilemora", "history"};

}  // namespace

TMScanHistory::TMScanHistory(const std::string& stateHome)
    : stateHome_(stateHome), folder_(stateHome + "/" + kFolders[0] + "/" + kFolders[1]) {}

std::string TMScanHistory::defaultStateHome() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return state;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] == '/' ? home : "/tmp") + "/.local/state";
}

std::vector<TMScanHistory::Scan> TMScanHistory::allScans(const TMPrivateFolder& folder, const std::string& prefix) const {
  std::vector<Scan> scans;
  for (const TMPrivateFolder::File& file : folder.regularFiles()) {
    const std::string_view name = file.name;
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
    scan.bytes = file.bytes;
    scans.push_back(std::move(scan));
  }
  std::sort(scans.begin(), scans.end(), [](const Scan& a, const Scan& b) {
    return a.timestamp != b.timestamp ? a.timestamp > b.timestamp : a.file > b.file;
  });
  return scans;
}

std::vector<TMScanHistory::Scan> TMScanHistory::scansOf(const std::string& scannedPath) const {
  std::string error;
  const std::unique_ptr<TMPrivateFolder> folder = TMPrivateFolder::open(stateHome_, kFolders, false, error);
  return folder ? allScans(*folder, prefixOf(scannedPath)) : std::vector<Scan>();
}

bool TMScanHistory::save(const TMFileTree& root, const TMTreeExportHeader& header, std::string& error,
                         const std::stop_token& stop, uint64_t mostBytes) const {
  const std::unique_ptr<TMPrivateFolder> folder = TMPrivateFolder::open(stateHome_, kFolders, true, error);
  if (!folder) return false;
  const std::string name = prefixOf(header.rootPath) + std::to_string(std::max<int64_t>(header.timestamp, 0)) + kEnding;
  std::unique_ptr<TMOutputFile> file = TMOutputFile::createAt(folder->descriptor(), folder_, name, error, 0600, stop);
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
  const std::unique_ptr<TMPrivateFolder> folder = TMPrivateFolder::open(stateHome_, kFolders, false, error);
  if (!folder) return;
  std::vector<Scan> scans = allScans(*folder);  // newest first
  std::map<std::string, size_t> keptOf;  // by prefix
  std::vector<Scan> kept;
  for (Scan& scan : scans) {
    const std::string prefix = scan.file.substr(folder_.size() + 1, kHashDigits + 1);
    if (++keptOf[prefix] > perFolder) {
      folder->remove(scan.file.substr(folder_.size() + 1));
    } else {
      kept.push_back(std::move(scan));
    }
  }
  uint64_t bytes = 0;
  for (const Scan& scan : kept) {
    bytes += scan.bytes;
    // Newest first: what is past the limit is the oldest.
    if (bytes > mostBytes) folder->remove(scan.file.substr(folder_.size() + 1));
  }
}

}  // namespace tilemora
