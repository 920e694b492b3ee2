// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window controller tells of the tree it shows, for whatever
// else reads that tree (the session, and through it the list, find,
// colours and compare): a new tree or a new state of it, a change of what
// the map shows, a deletion.

#include <memory>

#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMFileTree;

class TMTreeObserver {
 public:
  virtual ~TMTreeObserver() = default;
  // The tree the map shows, scanned at `url`: while `scanning`, at every
  // shallow map; then once more, whole; null once it is gone.
  virtual void treeShown(const std::shared_ptr<TMFileTree>& /*tree*/, const TMFileURL& /*url*/, bool /*scanning*/) {}
  // The map's selection or shown folder changed.
  virtual void mapStateChanged() {}
  // `node` was deleted from the tree (unlinked, still alive).
  virtual void itemDeleted(const TMFileTree& /*node*/) {}
  // The shown tree is measured by another size now: every size and the
  // order of every child list changed (its nodes are the same). Told before
  // its new map is built.
  virtual void treeRemeasured(const std::shared_ptr<TMFileTree>& /*tree*/) {}
  // Files came, went or changed size on disk, and the shown tree followed:
  // sizes, counts and the order of some child lists changed; the nodes that
  // went are unlinked and still alive. Told once the map shows it.
  virtual void treeChanged(const std::shared_ptr<TMFileTree>& /*tree*/) {}
};

}  // namespace tilemora
