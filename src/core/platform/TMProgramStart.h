// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting another program in a folder, as Open Terminal Here does. The
// folder is given as its raw bytes and entered by the new process itself,
// so that a folder whose name is not valid text is entered all the same.

#include <string>

namespace tilemora {

// Starts `program` (searched on PATH when it holds no "/") without
// arguments in `folder`, detached: the program is no child of this process
// and is not waited for. Answers 0 once it runs, or the error why it could
// not: the folder could not be entered, the program not be found or run.
int startProgramIn(const std::string& program, const std::string& folder);

}  // namespace tilemora
