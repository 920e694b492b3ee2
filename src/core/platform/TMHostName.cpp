// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHostName.h"

#include <unistd.h>

#include <climits>

namespace tilemora {

std::string thisHostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace tilemora
