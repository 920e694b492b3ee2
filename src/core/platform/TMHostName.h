// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name of this machine, as a saved scan says where it was made.

#include <string>

namespace tilemora {

// Empty when the system does not tell.
std::string thisHostName();

}  // namespace tilemora
