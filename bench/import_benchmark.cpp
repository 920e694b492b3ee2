// SPDX-License-Identifier: GPL-3.0-or-later
// How long reading a saved scan takes, and the memory its tree holds:
//   build/release/src/cli/tilemora-scan --export /tmp/big.json /var/tmp/tilemora-bench-1000000
//   build/release/bench/import_benchmark /tmp/big.json
// Target: a 1,000,000-entry export read in under 3 s.

#include <chrono>
#include <cstdio>

#include "TMResidentMemory.h"
#include "import/TMNcduImport.h"

using namespace tilemora;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: import_benchmark EXPORT\n");
    return 2;
  }
  std::FILE* input = std::fopen(argv[1], "r");
  if (input == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const long before = residentKilobytes();
  const auto start = std::chrono::steady_clock::now();
  auto result = importNcduExport(input);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fclose(input);
  if (auto* error = std::get_if<TMImportError>(&result)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error->text().c_str());
    return 1;
  }
  const TMImportedScan& scan = std::get<TMImportedScan>(result);
  const double entries = double(scan.files + scan.folders + 1);
  std::printf("%.0f entries read in %.2f s; the tree holds %.1f bytes per entry\n", entries, seconds,
              double(residentKilobytes() - before) * 1024 / entries);
  return 0;
}
