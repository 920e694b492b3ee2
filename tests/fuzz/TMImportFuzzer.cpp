// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the saved-scan reader: any bytes, compressed or not,
// must give a tree or an error naming where, never a crash, a hang or a
// wrapped size. Built with -DTILEMORA_FUZZ=ON and clang (see README.md here).

#include <cstdint>
#include <cstdio>

#include "core/filetree/TMFileTree.h"
#include "core/platform/TMAssert.h"
#include "core/filetree/TMFolderTree.h"
#include "import/TMNcduImport.h"

using namespace tilemora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::FILE* input = ::fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (input == nullptr) return 0;
  TMImportResult result = importNcduExport(input);
  std::fclose(input);
  if (const auto* scan = std::get_if<TMImportedScan>(&result)) {
    // A tree read whole has a folder at its root; an error says why.
    TM_ASSERT(scan->root != nullptr && scan->root->asFolder() != nullptr);
  } else {
    const TMImportError& error = std::get<TMImportError>(result);
    TM_ASSERT(!error.message.empty());
  }
  return 0;
}
