// SPDX-License-Identifier: GPL-3.0-or-later
// Generates a deterministic folder tree for benchmarks.
//
//   tmgentree ROOT FILE_COUNT [SEED]
//
// Shape: each entry walks down from the root, picking sub-folders in
// proportion to what they already hold (preferential attachment), and
// settles more readily the deeper it is; so fan-out is heavy-tailed (most
// folders hold a few entries, a few hold thousands) and depth is at most 12; file sizes are log-normal with a median near 4 KiB,
// mostly under 64 KiB, allocated with fallocate (no data is written); about
// one file in a thousand is a hard link to another and one in a thousand a
// symbolic link. The same seed gives the same tree.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

struct Folder {
  int parent;
  int depth;
  std::string path;  // relative to the root
  int entries = 0;
};

struct File {
  int folder;
  std::string name;
  uint64_t size;
  int linkTo;  // -1, or the index of a file this one is a hard link to
  bool symlink;
};

std::string randomName(std::mt19937_64& random, int serial) {
  static const char* const kExtensions[] = {".txt", ".jpg", ".so", ".h", ".cpp", ".png", ".json",
                                            ".log", "", ".gz", ".py", ".mp3"};
  std::uniform_int_distribution<int> length(3, 16), letter(0, 25), extension(0, 11);
  std::string name;
  for (int i = length(random); i > 0; --i) name += char('a' + letter(random));
  return name + "_" + std::to_string(serial) + kExtensions[extension(random)];
}

void fail(const std::string& what) {
  std::perror(what.c_str());
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tmgentree ROOT FILE_COUNT [SEED]\n");
    return 2;
  }
  const std::string root = argv[1];
  const long fileCount = std::atol(argv[2]);
  std::mt19937_64 random(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261207);

  std::vector<Folder> folders{{-1, 0, ".", 0}};
  // Each folder's sub-folders, one index per entry placed below it, so that
  // a uniform pick favours the bigger subtrees (preferential attachment).
  std::vector<std::vector<int>> attachment(1);
  std::vector<File> files;
  std::bernoulli_distribution newFolder(0.09), hardLink(0.001), symbolic(0.001);
  std::lognormal_distribution<double> size(std::log(4096.0), 1.6);
  std::uniform_real_distribution<double> unit(0.0, 1.0);

  while (long(files.size()) < fileCount) {
    // Walk down from the root; entries settle deeper more often than high.
    int folder = 0;
    std::vector<int> path{0};
    while (!attachment[folder].empty() &&
           unit(random) > std::min(0.6, 0.02 + 0.08 * folders[folder].depth)) {
      const std::vector<int>& below = attachment[folder];
      folder = below[std::uniform_int_distribution<size_t>(0, below.size() - 1)(random)];
      path.push_back(folder);
    }
    int placedBelow = -1;  // the child of each folder on the path the entry goes into
    if (newFolder(random) && folders[folder].depth < 12) {
      int serial = int(folders.size());
      folders.push_back({folder, folders[folder].depth + 1,
                         folders[folder].path + "/" + randomName(random, serial)});
      attachment.emplace_back();
      placedBelow = serial;
    } else {
      File file{folder, randomName(random, int(files.size())), uint64_t(size(random)), -1, false};
      if (file.size > (uint64_t(64) << 20)) file.size = uint64_t(64) << 20;
      if (!files.empty() && hardLink(random))
        file.linkTo = int(std::uniform_int_distribution<size_t>(0, files.size() - 1)(random));
      else if (symbolic(random))
        file.symlink = true;
      files.push_back(std::move(file));
    }
    ++folders[folder].entries;
    for (size_t i = path.size(); i-- > 0;) {
      int child = i + 1 < path.size() ? path[i + 1] : placedBelow;
      if (child >= 0) attachment[path[i]].push_back(child);
    }
  }

  if (::mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) fail(root);
  int rootDirectory = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
  if (rootDirectory < 0) fail(root);
  for (size_t i = 1; i < folders.size(); ++i) {
    if (::mkdirat(rootDirectory, folders[i].path.c_str(), 0755) != 0) fail(folders[i].path);
  }
  uint64_t allocated = 0;
  for (const File& file : files) {
    std::string path = folders[file.folder].path + "/" + file.name;
    if (file.symlink) {
      if (::symlinkat("..", rootDirectory, path.c_str()) != 0) fail(path);
    } else if (file.linkTo >= 0 && !files[file.linkTo].symlink) {
      const File& target = files[file.linkTo];
      std::string targetPath = folders[target.folder].path + "/" + target.name;
      if (::linkat(rootDirectory, targetPath.c_str(), rootDirectory, path.c_str(), 0) != 0)
        fail(path);
    } else {
      int descriptor = ::openat(rootDirectory, path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
      if (descriptor < 0) fail(path);
      if (file.size > 0 && ::fallocate(descriptor, 0, 0, off_t(file.size)) != 0) fail(path);
      ::close(descriptor);
      allocated += file.size;
    }
  }
  ::close(rootDirectory);
  std::printf("%zu folders, %zu files, about %.1f GiB allocated\n", folders.size() - 1,
              files.size(), double(allocated) / double(uint64_t(1) << 30));
  return 0;
}
