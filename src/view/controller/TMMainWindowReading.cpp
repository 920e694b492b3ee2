// SPDX-License-Identifier: GPL-3.0-or-later
// The window controller's side of a saved scan read a folder at a time (a
// binary export): a folder selected that is not read yet (cut short) is
// read off the main thread, with the largest folders below it up to a
// bound, and the map is built again around what it holds.

#include "TMMainWindowController.h"

#include "core/filetree/TMFolderTree.h"
#include "import/TMLazyTreeLoader.h"

namespace tilemora {

namespace {

// Read below a folder looked into: enough to fill the map of it, a small
// part of what the first reading holds.
constexpr uint64_t kEntriesReadWithin = 100'000;

}  // namespace

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
        const TMImportedScan& scan = loader->scan();
        job.post([weak, commit, error, unread = loader->unreadFolders(), counts = std::pair(scan.files, scan.folders)] {
          auto controller = weak.lock();
          if (!controller || commit != controller->commits_) return;
          // A broken part of the file ends the reading: what was read stays.
          if (error) controller->folderReader_.reset();
          controller->importedNotRead_ = unread;
          controller->entryCounts_ = counts;
          controller->countedNode_ = nullptr;
          ++controller->treeVersion_;
          controller->buildMapAgain();
          if (controller->treeObserver_ != nullptr) controller->treeObserver_->treeChanged(controller->curentlyNavigated_);
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

}  // namespace tilemora
