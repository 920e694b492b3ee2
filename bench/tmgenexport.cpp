// SPDX-License-Identifier: GPL-3.0-or-later
// Generates a deterministic binary export (ncdu's format) of a tree far
// larger than any the benchmarks put on disk, without a file system:
//
//   tmgenexport FILE ENTRY_COUNT [SEED [WIDE]]
//
// Shape, as tmgentree's: heavy-tailed fan-out (most folders hold a few
// entries, a few thousands; one top-level folder holds WIDE files
// directly, 100,000 unless told), depth at most 12, file sizes log-normal with a median near
// 4 KiB. Written depth first as it is generated: memory stays small
// whatever the count. The same seed gives the same export.

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "import/TMBinaryTreeWriter.h"

using namespace tilemora;

namespace {

class Generator {
 public:
  Generator(TMBinaryTreeWriter& tree, uint64_t seed) : tree_(tree), random_(seed) {}

  // Fills the folder entered last with `entries` entries, sub-folders
  // taking shares of them.
  void fill(uint64_t entries, int depth) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // A folder keeps a few files of its own and hands the rest to its
    // sub-folders, in shares that differ widely.
    uint64_t files = depth >= 12 || entries < 8 ? entries : std::min<uint64_t>(entries, 1 + uint64_t(unit(random_) * 40));
    uint64_t rest = entries - files;
    for (uint64_t i = 0; i < files; ++i) addFile();
    while (rest > 0) {
      const double share = std::pow(unit(random_), 3.0);
      const uint64_t sub = std::max<uint64_t>(1, std::min<uint64_t>(rest, uint64_t(share * double(rest)) + 1));
      rest -= sub;
      tree_.enterFolder(name());
      fill(sub - 1, depth + 1);
      tree_.leaveFolder();
      ++folders_;
    }
  }

  void addFile() {
    std::lognormal_distribution<double> size(std::log(4096.0), 1.6);
    TMBinaryItem file;
    file.name = name();
    file.asize = std::min<uint64_t>(uint64_t(size(random_)), uint64_t(64) << 20);
    file.dsize = (*file.asize + 4095) / 4096 * 4096;
    file.mtime = 1600000000 + serial_ % 100000000;
    tree_.addEntry(std::move(file));
    ++files_;
  }

  uint64_t files() const { return files_; }
  uint64_t folders() const { return folders_; }

 private:
  std::string name() {
    static const char* const kExtensions[] = {".txt", ".jpg", ".so", ".h", ".cpp", ".png", ".json",
                                              ".log", "", ".gz", ".py", ".mp3"};
    std::uniform_int_distribution<int> length(3, 16), letter(0, 25), extension(0, 11);
    std::string text;
    for (int i = length(random_); i > 0; --i) text += char('a' + letter(random_));
    return text + "_" + std::to_string(serial_++) + kExtensions[extension(random_)];
  }

  TMBinaryTreeWriter& tree_;
  std::mt19937_64 random_;
  uint64_t serial_ = 0;
  uint64_t files_ = 0;
  uint64_t folders_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tmgenexport FILE ENTRY_COUNT [SEED [WIDE]]\n");
    return 2;
  }
  const uint64_t entries = std::strtoull(argv[2], nullptr, 10);
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  TMBinaryExportWriter blocks(out);
  TMBinaryTreeWriter tree(blocks);
  Generator generator(tree, argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261209);
  tree.enterFolder("/generated");
  // The one wide folder (100,000 files unless told), then the rest.
  const uint64_t wideFiles = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 100000;
  const uint64_t wide = std::min<uint64_t>(entries, wideFiles + 1);
  if (wide > 0) {
    tree.enterFolder("wide");
    for (uint64_t i = 1; i < wide; ++i) generator.addFile();
    tree.leaveFolder();
  }
  generator.fill(entries - wide, 1);
  const bool written = tree.finish() && std::fclose(out) == 0;
  if (!written) {
    std::perror(argv[1]);
    return 1;
  }
  std::printf("%" PRIu64 " files, %" PRIu64 " folders\n", generator.files(), generator.folders() + (wide > 0));
  return 0;
}
