// SPDX-License-Identifier: GPL-3.0-or-later
// The window controller's side of a saved scan read a folder at a time (a
// binary export): a folder selected that is not read yet (cut short) is
// read off the main thread, with the largest folders below it up to a
// bound, and so are the folders that lead to what a walk through the file
// found; the map is then built again around what the tree holds.

#include "TMMainWindowController.h"

#include "core/filetree/TMFolderTree.h"

namespace tilemora {

namespace {

// Read below a folder looked into: enough to fill the map of it, a small
// part of what the first reading holds.
constexpr uint64_t kEntriesReadWithin = 100'000;

}  // namespace

void TMMainWindowController::foldersRead(uint64_t commit, bool broken, const TMLazyTreeLoader::Held& held) {
  if (commit != commits_) return;
  // A broken part of the file ends the reading: what was read stays.
  if (broken) folderReader_.reset();
  importedNotRead_ = held.unreadFolders;
  entryCounts_ = {held.files, held.folders};
  countedNode_ = nullptr;
  ++treeVersion_;
  buildMapAgain();
  if (treeObserver_ != nullptr) treeObserver_->treeChanged(curentlyNavigated_);
}

void TMMainWindowController::readFolderLookedInto() {
  if (!folderReader_ || !mapFinal_ || folderReadJob_ != 0) return;
  const TMNodeState* selected = mainTreeView_.selected();
  const TMFolderTree* folder = selected != nullptr && selected->file != nullptr ? selected->file->asFolder() : nullptr;
  if (folder == nullptr || !folder->wasCutShort()) return;
  const uint64_t commit = commits_;
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  folderReadJob_ = jobs_.start(
      "reading a folder of the saved scan", TMJobRunner::Reads::kTheTree,
      [loader = folderReader_, folder, weak, commit](const TMJobRunner::Job& job) {
        std::optional<std::string> error = loader->readWithin(*folder, kEntriesReadWithin, job.stopToken());
        // Asked to stop (another job waits for the tree), what was read is
        // still shown.
        job.post([weak, commit, broken = error.has_value(), held = loader->held()] {
          if (auto controller = weak.lock()) controller->foldersRead(commit, broken, held);
        });
      },
      [weak](bool) {
        auto controller = weak.lock();
        if (!controller) return;
        controller->folderReadJob_ = 0;
        // The selection may have moved to another folder meanwhile.
        controller->readFolderLookedInto();
      });
}

bool TMMainWindowController::readFoldersAlong(std::vector<std::vector<std::string>> paths,
                                              std::function<void()> done) {
  if (!folderReader_) return false;
  const uint64_t commit = commits_;
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  return jobs_.start(
             "reading folders of the saved scan", TMJobRunner::Reads::kTheTree,
             [loader = folderReader_, paths = std::move(paths), weak, commit,
              done = std::move(done)](const TMJobRunner::Job& job) {
               std::optional<std::string> error;
               for (size_t i = 0; i < paths.size() && !error && !job.stopRequested(); ++i)
                 error = loader->readAlong(paths[i]);
               job.post([weak, commit, broken = error.has_value(), held = loader->held(), done] {
                 auto controller = weak.lock();
                 if (!controller || commit != controller->commits_) return;
                 controller->foldersRead(commit, broken, held);
                 if (done) done();
               });
             }) != 0;
}

}  // namespace tilemora
