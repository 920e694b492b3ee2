// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's trash, as the freedesktop.org Trash specification lays it
// out, so that a file manager lists and restores what went there: an item
// on the home folder's file system goes to $XDG_DATA_HOME/Trash, an item
// elsewhere to its volume's $topdir/.Trash/$uid (when .Trash is a sticky
// folder, not a link) or $topdir/.Trash-$uid; each with a .trashinfo file
// written first, naming where it was and when it went.
//
// Only what the scan saw is moved. The scanned folder must still be the
// one the scan opened (same file system and inode), the folders from it
// down to the item's are opened one by one without following a link, and
// the item must still be what it was (a folder, or a file). The item is
// then renamed from the descriptor of its verified folder into the trash:
// no path is looked up again in between, so a folder swapped for a link
// meanwhile cannot lead outside the tree. What cannot be renamed into a
// trash on its own volume is refused, never copied or deleted.

#include <sys/types.h>

#include <string>

#include "TMTrash.h"

namespace tilemora {

class TMFreedesktopTrash {
 public:
  // `dataHome` is $XDG_DATA_HOME (the home trash is its "Trash" folder,
  // made when missing); `user` owns the trash folders of other volumes;
  // `mountInfo` is the mount table to find a volume's top folder in.
  TMFreedesktopTrash(std::string dataHome, uid_t user, std::string mountInfo = "/proc/self/mountinfo");
  // The trash of the user running the program, as the environment says.
  static TMFreedesktopTrash forThisUser();

  // Moves the request's item to the trash, or answers why not.
  TMTrashResult moveToTrash(const TMTrashRequest& request) const;
  // The folder whose "Trash" is the home trash.
  const std::string& dataHome() const { return dataHome_; }

 private:
  std::string dataHome_;
  uid_t user_;
  std::string mountInfo_;
};

}  // namespace tilemora
