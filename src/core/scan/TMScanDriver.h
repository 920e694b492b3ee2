// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one entry point through which the rest of Tilemora scans, and what
// tells beforehand whether a path can be scanned.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "TMScanOptions.h"
#include "core/platform/TMFileSystem.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMFileTree;
class TMProgressNotifiable;
class TMScanTask;

// Whether `url` can be scanned: it names a folder or a volume.
bool isAcceptableURL(const TMFileURL& url, const TMFileSystem& fileSystem = *TMFileSystem::posix());
// Why `url` cannot be scanned ("No such file or directory", "Not a
// folder", "Permission denied"…), or nothing when it can.
std::optional<std::string> reasonNotScannable(const TMFileURL& url, const TMFileSystem& fileSystem);

// createFromPath:updateReceiver:endNotifier: — starts scanning `path` on a
// thread of its own and answers its root at once: a TMVolume for "/" or a
// local volume's mount point, otherwise a TMFolderTree, both still empty.
// `updateReceiver` is told about every accepted entry on the scan thread;
// `endNotifier` runs once on the main queue when the scan has ended. The
// scan holds the receiver, the notifier and the tree until it ends.
// `scanTask` receives the handle through which the scan can be stopped
// early; it owns the scan's thread, and the last owner to let go of it
// waits for the scan to end (ask it to stop first). A stopped scan calls
// neither the receiver nor the end notifier any more.
std::shared_ptr<TMFileTree> createFromPath(const TMFileURL& path, std::shared_ptr<TMProgressNotifiable> updateReceiver,
                                           std::function<void()> endNotifier, const TMScanEnvironment& environment,
                                           std::shared_ptr<TMScanTask>& scanTask);

}  // namespace tilemora
