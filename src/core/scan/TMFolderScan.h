// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The walk that fills a folder tree from the file system. It lists a folder
// one level at a time, depth first, appends a node for every entry it
// accepts (sub-folders at once, before descending, so that interim displays
// see them grow), adds each file's size to every folder above it as soon as
// the file is found, and sorts a folder's children largest first when its
// listing (all sub-folders included) has ended. What depends on other
// threads walking the same tree is the context's TMScanStrategy's to decide.
//
// Skipped entries: symbolic links, what the exclusions leave out (counted
// as excluded; a folder tagged as a cache is opened to read its tag, then
// left), and mount points (an entry on another
// device, or the root of a mount such as a bind mount of the same file
// system, which would otherwise be counted twice). Everything else, hidden
// entries and special files included, counts with its allocated size
// (st_blocks × 512); special files are never opened. Hard links count once
// per link unless asked otherwise.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "TMExclusions.h"

namespace tilemora {

class TMFolderTree;
class TMScanStrategy;
struct TMScanningContext_t;

class TMFolderScan {
 public:
  // A walk with the context's settings, open folders and strategy.
  explicit TMFolderScan(TMScanningContext_t& context);

  // populateChildListAtUrl:withContext: — lists `folder`, the deepest level
  // of the context's open folders (on `device`), and everything below it,
  // then sorts its children (or leaves that to the strategy when a
  // sub-folder below went to another thread). Answers whether the folder's
  // own listing was read to its end.
  bool populateChildListAtUrl(TMFolderTree& folder, dev_t device);

  // Gives `folder` its final child list: sorted, unless the scan is
  // stopping and the tree will be thrown away.
  static void finishChildList(TMFolderTree& folder, TMScanningContext_t& context);

 private:
  // createFileListAtUrl:withContext: — lists one folder level, descending
  // into each sub-folder as it is met; answers false when part of it could
  // not be read.
  bool createFileListAtUrl(TMFolderTree& folder, dev_t device);
  // Adds the entry `name` of `folder`, open at `level`; answers false when
  // it could not be examined for want of permission (it is then kept, of
  // its listed kind, with 0 bytes).
  // `folderPath` is the folder's path below the scan's start, when the
  // exclusions need it.
  bool acceptEntry(TMFolderTree& folder, size_t level, dev_t device, const char* name, unsigned char type,
                   std::string_view folderPath);
  // Leaves out the entry `name`, excluded for `reason`.
  void exclude(const char* name, TMExclusions::Reason reason);
  // The path of `folder`, being listed, below the scan's start ("" for the
  // start itself).
  std::string pathBelowStart(const TMFolderTree& folder) const;
  // Adds the sub-folder `name` (on `device`, as `inode`; 0 when its stat was
  // refused) of `parent`, open at `level`, and scans it.
  void scanSubFolder(TMFolderTree& parent, size_t level, const char* name, dev_t device, ino_t inode);
  // Notes a folder that could not be read for `error`: `name` below
  // `folder`, or `folder` itself when `name` is null.
  void noteUnreadable(const TMFolderTree& folder, const char* name, int error);
  // Whether the sub-folder `name` of the open `directory` holds a cache tag.
  bool isTaggedCache(int directory, const char* name) const;
  // The folders above the one being listed, from the scan's start down.
  std::vector<TMFolderTree*> foldersAbove() const;
  // Whether the folder `info` describes is one of those on the path being
  // listed (a mount of an ancestor below itself would never end).
  bool mountsAnAncestor(const struct stat& info) const;

  TMScanningContext_t& context_;
  TMScanStrategy& strategy_;
};

}  // namespace tilemora
