// SPDX-License-Identifier: GPL-3.0-or-later
// The session's count of file types from a saved scan's file: a binary
// export read a folder at a time is walked whole on a job of its own, with
// a reader of its own, while the window reads folders from the same file.

#include <chrono>

#include "TMSession.h"
#include "core/drawing/TMTypeTally.h"
#include "import/TMBinaryExportImport.h"
#include "import/TMBinaryExportReader.h"
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

}  // namespace

bool TMSession::countFileTypesFromFile(const TMFileURL& url, std::function<void(double)> progress,
                                       std::function<void(const TMTypeStatistics*)> counted) {
  stopCountingFileTypes();
  const std::shared_ptr<TMLazyTreeLoader>& loader = controller_->folderReader();
  if (!loader || !controller_->holdsFoldersNotRead() || !shownUrl_ || !url.isAtOrBelow(*shownUrl_)) return false;
  std::vector<std::string> below = url.pathComponents();
  below.erase(below.begin(), below.begin() + std::ptrdiff_t(shownUrl_->pathComponents().size()));
  typesJob_ = jobs_.start(
      "counting file types", TMJobRunner::Reads::kNothingShared,
      [loader, below = std::move(below), progress = std::move(progress),
       counted = std::move(counted)](const TMJobRunner::Job& job) {
        std::string error;
        std::unique_ptr<TMBinaryExportReader> reader = loader->anotherReader(error);
        const std::optional<uint64_t> folder = reader ? findBinaryFolder(*reader, below, error) : std::nullopt;
        const std::optional<TMBinaryItem> item = folder ? reader->item(*folder, error) : std::nullopt;
        if (!item) {
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
        if (readBinaryExport(*reader, target, job.stopToken(), *folder)) {
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

}  // namespace tilemora
