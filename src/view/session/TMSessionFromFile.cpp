// SPDX-License-Identifier: GPL-3.0-or-later
// The session's work on a saved scan read a folder at a time (a binary
// export) that needs all of it: its file is walked on a job of its own,
// with a reader of its own, while the window reads folders from the same
// file. File types are counted there; the largest files and the matches of
// a search are found there, then the folders holding them are read.

#include <chrono>

#include "TMSession.h"
#include "core/drawing/TMTypeTally.h"
#include "import/TMBinaryExportImport.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMComparedBinaryExport.h"
#include "import/TMComparedFileTree.h"
#include "import/TMImportTarget.h"
#include "import/TMLazyTreeLoader.h"

namespace tilemora {

namespace {

// Tallies what the walk gives, telling the share walked now and then.
class TallyWithProgress final : public TMTreeSink {
 public:
  TallyWithProgress(TMTypeTally& tally, uint64_t entries, std::function<void(double)> tell)
      : tally_(tally), entries_(entries), tell_(std::move(tell)) {}

  void enterFolder(std::string_view name) override {
    tally_.enterFolder(name);
    counted();
  }
  void addFileWithLength(std::string_view name, uint64_t size, uint64_t length, int64_t modified) override {
    tally_.addFileWithLength(name, size, length, modified);
    counted();
  }
  void markFolderUnreadable() override {}
  bool leaveFolder() override { return tally_.leaveFolder(); }

 private:
  void counted() {
    if (++seen_ % 4096 != 0 || entries_ == 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - told_ < std::chrono::milliseconds(100)) return;
    told_ = now;
    tell_(std::min(1.0, double(seen_) / double(entries_)));
  }

  TMTypeTally& tally_;
  uint64_t entries_;
  std::function<void(double)> tell_;
  uint64_t seen_ = 0;
  std::chrono::steady_clock::time_point told_{};
};

// The folder item at `below` of a reader of its own; none when the file
// cannot be read (the window's own reading tells why).
std::unique_ptr<TMBinaryExportReader> readerAt(const TMLazyTreeLoader& loader, const std::vector<std::string>& below,
                                               std::optional<TMBinaryItem>& folder, uint64_t& reference) {
  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader = loader.anotherReader(error);
  const std::optional<uint64_t> found = reader ? findBinaryFolder(*reader, below, error) : std::nullopt;
  folder = found ? reader->item(*found, error) : std::nullopt;
  reference = found.value_or(0);
  return folder ? std::move(reader) : nullptr;
}

}  // namespace

std::optional<std::vector<std::string>> TMSession::pathBelowShownRoot(const TMFileURL& url) const {
  if (!controller_->folderReader() || !controller_->holdsFoldersNotRead() || !shownUrl_ ||
      !url.isAtOrBelow(*shownUrl_))
    return std::nullopt;
  std::vector<std::string> below = url.pathComponents();
  below.erase(below.begin(), below.begin() + std::ptrdiff_t(shownUrl_->pathComponents().size()));
  return below;
}

bool TMSession::countFileTypesFromFile(const TMFileURL& url, std::function<void(double)> progress,
                                       std::function<void(const TMTypeStatistics*)> counted) {
  stopCountingFileTypes();
  std::optional<std::vector<std::string>> below = pathBelowShownRoot(url);
  if (!below) return false;
  typesJob_ = jobs_.start(
      "counting file types", TMJobRunner::Reads::kNothingShared,
      [loader = controller_->folderReader(), below = std::move(*below), progress = std::move(progress),
       counted = std::move(counted)](const TMJobRunner::Job& job) {
        std::optional<TMBinaryItem> item;
        uint64_t folder = 0;
        std::unique_ptr<TMBinaryExportReader> reader = readerAt(*loader, below, item, folder);
        if (!reader) {
          job.post([counted] { counted(nullptr); });
          return;
        }
        uint64_t total = 0;
        uint64_t lengths = 0;
        TMTypeTally tally;
        TallyWithProgress sink(tally, item->items.value_or(0), [&job, progress](double share) {
          job.post([progress, share] { progress(share); });
        });
        TMImportTarget target(total, lengths, [&sink](const TMImportedScan&) -> TMTreeSink& { return sink; });
        if (readBinaryExport(*reader, target, job.stopToken(), folder)) {
          job.post([counted] { counted(nullptr); });  // not posted once asked to stop
          return;
        }
        job.post([counted, statistics = tally.statistics()] { counted(&statistics); });
      },
      [this](bool) { forgetEnded(typesJob_); });
  return typesJob_ != 0;
}

void TMSession::stopCountingFileTypes() {
  jobs_.stop(typesJob_);
  typesJob_ = 0;
}

bool TMSession::readLargestFromFile(const TMFileURL& url, size_t keep, TMLargestMatches::Accepts accepts, bool folders,
                                    std::function<void()> done) {
  return startLargestFromFile(largestJob_, url, keep, std::move(accepts), folders,
                              [done = std::move(done)](std::optional<uint64_t>) {
                                if (done) done();
                              });
}

bool TMSession::startLargestFromFile(uint64_t& slot, const TMFileURL& url, size_t keep,
                                     TMLargestMatches::Accepts accepts, bool folders,
                                     std::function<void(std::optional<uint64_t> matched)> done) {
  jobs_.stop(slot);
  slot = 0;
  std::optional<std::vector<std::string>> below = pathBelowShownRoot(url);
  if (!below) return false;
  slot = jobs_.start(
      "finding the largest entries of the saved scan", TMJobRunner::Reads::kNothingShared,
      [this, loader = controller_->folderReader(), below = std::move(*below), keep, accepts = std::move(accepts),
       folders, done = std::move(done)](const TMJobRunner::Job& job) {
        std::optional<TMBinaryItem> item;
        uint64_t folder = 0;
        std::unique_ptr<TMBinaryExportReader> reader = readerAt(*loader, below, item, folder);
        TMLargestMatches largest(keep, accepts, folders);
        uint64_t total = 0;
        uint64_t lengths = 0;
        TMImportTarget target(total, lengths, [&largest](const TMImportedScan&) -> TMTreeSink& { return largest; });
        // Unread, nothing is read: what the tree holds is shown.
        if (!reader || readBinaryExport(*reader, target, job.stopToken(), folder)) {
          job.post([done] {
            if (done) done(std::nullopt);
          });
          return;
        }
        std::vector<std::vector<std::string>> paths;
        for (TMLargestMatch& match : largest.largest()) {
          paths.push_back(below);
          paths.back().insert(paths.back().end(), match.folders.begin(), match.folders.end());
        }
        const uint64_t matched = largest.matched();
        job.post([this, paths = std::move(paths), done, matched]() mutable {
          std::function<void()> read = [done, matched] {
            if (done) done(matched);
          };
          if (!controller_->readFoldersAlong(std::move(paths), read)) read();
        });
      },
      [this, &slot](bool) { forgetEnded(slot); });
  return slot != 0;
}

std::shared_ptr<const TMTreeComparison> TMSession::compareWithFile(const TMFileTree& saved,
                                                                   const TMLazyTreeLoader& loader, bool byLength,
                                                                   const std::stop_token& stop) {
  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader = loader.anotherReader(error);
  std::unique_ptr<TMComparedBinaryExport> current =
      reader ? TMComparedBinaryExport::open(std::move(reader), byLength, error) : nullptr;
  if (!current) return nullptr;
  TMComparedFileTree savedSide(saved);
  auto comparison = std::make_shared<TMTreeComparison>(compareScans(savedSide, *current, 1000, stop));
  return comparison->stopped || comparison->error ? nullptr : std::move(comparison);
}

}  // namespace tilemora
