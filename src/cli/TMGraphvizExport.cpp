// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMGraphvizExport.h"

#include <vector>

#include "TMTreeChildren.h"

namespace tilemora {

bool writeGraphviz(const TMFileTree& root, std::FILE* file) {
  std::fputs("digraph filetree {\n  rankdir=LR;\n  node [fontname=\"Helvetica\"];\n", file);
  std::vector<const TMFileTree*> pending{&root};
  while (!pending.empty()) {
    const TMFileTree* node = pending.back();
    pending.pop_back();
    node->dumpToFile(file);
    for (const TMFileTree* child : childrenOf(*node)) {
      std::fprintf(file, "p%p -> p%p\n", static_cast<const void*>(node),
                   static_cast<const void*>(child));
      pending.push_back(child);
    }
  }
  std::fputs("}\n", file);
  return std::ferror(file) == 0;
}

}  // namespace tilemora
