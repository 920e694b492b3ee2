// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user chose in Preferences, kept with QSettings. With nothing
// chosen, every value is the default and the program behaves as without
// preferences: sizes in the formatter's K/M/G, every hard link counted,
// mount points inside the scanned folder skipped, one scan thread per
// processor (at most 8).

#include "core/drawing/TMSizeFormatter.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMSizeMeasure.h"
#include "core/scan/TMScanOptions.h"

#include <string>
#include <vector>

namespace tilemora {

// What the files of the map are coloured by; folders keep the depth colours.
// kChanges is a window's own while it compares with a saved scan; it is
// never kept as a preference.
enum class TMColourMode { kDepth, kFileType, kAge, kChanges };

struct TMPreferences {
  TMSizeUnits units = TMSizeUnits::Formatter;
  TMScanOptions scanOptions;  // one scan thread per processor unless told
  bool askBeforeTrash = true;  // for items inside the scanned folder; the folder itself is always asked about
  bool showFreeSpace = true;   // a volume's free and unscanned space beside its folder
  TMSizeMeasure sizeMeasure = TMSizeMeasure::kOnDisk;  // what the map, the list and the status measure by
  // A finished scan's map follows the changes on disk. Off by default:
  // its watches are the user's, shared with every other program, and each
  // keeps a folder's inode in the kernel's memory.
  bool followChanges = false;
  TMColourMode colourBy = TMColourMode::kDepth;
  // Every completed scan saved to the history, to compare with later.
  bool keepHistory = false;
  // What scans leave out: shell patterns (see TMExclusions), folders tagged
  // as caches, the kernel's virtual file systems (met only when mount
  // points are scanned too).
  std::vector<std::string> exclusionPatterns;
  bool excludeCaches = false;
  bool skipVirtualFileSystems = true;

  // Makes scanOptions.exclusions what the three above say (a pattern that
  // is not one is left out).
  void updateExclusions();

  static TMPreferences load();
  void save() const;
  // Makes the size units the process's (the scan options go to each
  // window's next scan).
  void applySizeUnits() const;
};

}  // namespace tilemora
