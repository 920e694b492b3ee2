// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scan as administrator: pkexec runs tilemora-scan's export helper as
// root (under the polkit action the package installs), and its export is
// read as it arrives. Closing the pipe stops it. A missing pkexec, a
// password refused or not given, or a helper that dies are told as such.

#include <string>

#include "TMSavedScanStream.h"

namespace tilemora {

// The scan of `folder` (an absolute path) by the helper `scanProgram` (the
// absolute path of tilemora-scan), through `pkexec` (searched on PATH).
TMSavedScanOpener administratorScanOf(std::string scanProgram, std::string folder, std::string pkexec = "pkexec");

}  // namespace tilemora
