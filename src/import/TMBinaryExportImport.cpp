// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryExportImport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <vector>

#include "TMBinaryExportReader.h"
#include "TMImportTarget.h"
#include "core/platform/TMInputFile.h"

namespace tilemora {

namespace {

// A folder being read: its entries still to read, the next last.
struct FolderInReading {
  std::vector<uint64_t> entries;
  uint64_t self;
};

TMImportError failure(std::string message) { return TMImportError{0, 0, std::move(message), {}}; }

std::optional<uint64_t> modifiedTime(const TMBinaryItem& item) {
  return item.mtime ? std::optional<uint64_t>(std::min<uint64_t>(*item.mtime, INT64_MAX)) : std::nullopt;
}

}  // namespace

std::optional<TMImportError> readBinaryExport(TMBinaryExportReader& reader, TMImportTarget& target,
                                              const std::stop_token& stop, std::optional<uint64_t> start) {
  std::string error;
  const std::optional<uint64_t> mostItems = reader.mostItems(error);
  if (!mostItems) return failure(error);
  const uint64_t rootReference = start.value_or(reader.root());
  std::optional<TMBinaryItem> root = reader.item(rootReference, error);
  if (!root) return failure("the root: " + error);
  if (!root->isFolder()) return failure("the scanned path must be a folder");
  target.beginRoot(root->name);
  if (root->readError == true) target.markFolderUnreadable();

  uint64_t itemsRead = 1;
  const auto gather = [&](std::optional<uint64_t> last, uint64_t self) -> std::optional<FolderInReading> {
    std::optional<std::vector<uint64_t>> entries = reader.entriesOf(last, error);
    if (!entries) return std::nullopt;
    // Read from the back: the first written first.
    std::reverse(entries->begin(), entries->end());
    return FolderInReading{std::move(*entries), self};
  };

  std::vector<FolderInReading> folders;
  std::unordered_set<uint64_t> above{rootReference};
  if (std::optional<FolderInReading> top = gather(root->sub, rootReference)) folders.push_back(std::move(*top));
  else return failure(error);
  while (!folders.empty()) {
    FolderInReading& folder = folders.back();
    if (folder.entries.empty()) {
      above.erase(folder.self);
      folders.pop_back();
      target.leaveFolder();
      continue;
    }
    const uint64_t reference = folder.entries.back();
    folder.entries.pop_back();
    if (++itemsRead > *mostItems) return failure("an item is referred to more than once");
    if (itemsRead % 4096 == 0 && stop.stop_requested()) return failure("stopped");
    std::optional<TMBinaryItem> item = reader.item(reference, error);
    if (!item) return failure(error);
    if (!TMImportTarget::isEntryName(item->name))
      return failure("\"" + item->name + "\" cannot be the name of an entry");
    if (item->isFolder()) {
      if (!above.insert(reference).second) return failure("a folder refers back to a folder above it");
      std::optional<FolderInReading> entries = gather(item->sub, reference);
      if (!entries) return failure(error);
      target.enterFolder(item->name);
      if (item->readError == true) target.markFolderUnreadable();
      folders.push_back(std::move(*entries));
    } else if (item->isExcluded() && item->type != TMBinaryItemType::kUnreadable) {
      target.noteExcluded();
    } else if (auto sizeError =
                   target.addFile(item->name, item->dsize, item->asize, int64_t(modifiedTime(*item).value_or(0)))) {
      return failure(*sizeError);
    }
  }
  return std::nullopt;
}

std::optional<uint64_t> findBinaryFolder(TMBinaryExportReader& reader, const std::vector<std::string>& below,
                                         std::string& error) {
  uint64_t folder = reader.root();
  std::vector<TMBinaryItem> items;
  for (const std::string& name : below) {
    std::optional<TMBinaryItem> self = reader.item(folder, error);
    items.clear();
    std::optional<std::vector<uint64_t>> entries = self ? reader.entriesOf(self->sub, error, &items) : std::nullopt;
    if (!entries) return std::nullopt;
    size_t found = 0;
    while (found < items.size() && !(items[found].isFolder() && items[found].name == name)) ++found;
    if (found == items.size()) {
      error = "no folder \"" + name + "\" in the saved scan";
      return std::nullopt;
    }
    folder = (*entries)[found];
  }
  return folder;
}

std::unique_ptr<TMBinaryExportReader> openBinaryExportFile(const std::string& path, std::string& error) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat info {};
  char signature[kBinaryExportSignature.size()];
  std::unique_ptr<TMBinaryExportReader> reader;
  if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
      ::pread(descriptor, signature, sizeof signature, 0) == ssize_t(sizeof signature) &&
      std::string_view(signature, sizeof signature) == kBinaryExportSignature)
    reader = TMBinaryExportReader::openDescriptor(descriptor, 0, error);
  ::close(descriptor);
  return reader;
}

std::optional<TMImportError> readBinaryExportFrom(std::FILE* input, TMImportTarget& target,
                                                  const std::stop_token& stop, const TMInputFile* file) {
  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader;
  struct stat info {};
  const long start = std::ftell(input);
  const auto seekable = file != nullptr ? file->seekableStart() : std::nullopt;
  if (seekable) {
    reader = TMBinaryExportReader::openDescriptor(seekable->first, seekable->second, error);
  } else if (file == nullptr && start >= 0 && ::fstat(fileno(input), &info) == 0 && S_ISREG(info.st_mode)) {
    reader = TMBinaryExportReader::openDescriptor(fileno(input), uint64_t(start), error);
  } else {
    std::string bytes;
    char buffer[1 << 16];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, input)) > 0;) {
      if (stop.stop_requested()) return failure("stopped");
      bytes.append(buffer, got);
    }
    if (std::ferror(input)) return failure("the file could not be read");
    reader = TMBinaryExportReader::fromBytes(std::move(bytes), error);
  }
  if (!reader) return failure(error);
  return readBinaryExport(*reader, target, stop);
}

}  // namespace tilemora
