// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a whole file tree as a Graphviz graph: a header, every node's record
// line (TMFileTree::dumpToFile), an edge from each node to each of its
// children, and a footer.

#include <cstdio>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

// Walks without recursion, so any depth is fine. Answers false when writing failed.
bool writeGraphviz(const TMFileTree& root, std::FILE* file);

}  // namespace tilemora
