// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder of the user's alone below a place the user chose (a state or
// data home, which may itself be a link): the folders below the place are
// made 0700 where missing, never reached through a link, and refused when
// they belong to another user or others may write to them. Nothing found
// there has its mode changed. Its files are listed, created and removed by
// name relative to the open folder, so no path is looked up again.

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tilemora {

class TMPrivateFolder {
 public:
  // The folder `base`/`below[0]`/…, made where missing when `make` says so
  // (the base and the folders above it too, 0700). Null with `error` set
  // when it is missing, or not the user's alone.
  static std::unique_ptr<TMPrivateFolder> open(const std::string& base, const std::vector<std::string>& below,
                                               bool make, std::string& error);
  ~TMPrivateFolder();
  TMPrivateFolder(const TMPrivateFolder&) = delete;
  TMPrivateFolder& operator=(const TMPrivateFolder&) = delete;

  // The open folder, and its path.
  int descriptor() const { return descriptor_; }
  const std::string& path() const { return path_; }

  struct File {
    std::string name;
    uint64_t bytes = 0;
  };
  // The regular files in it (links and other kinds left out).
  std::vector<File> regularFiles() const;
  // Removes the file `name`; answers whether it went.
  bool remove(const std::string& name) const;

 private:
  TMPrivateFolder(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path)) {}
  int descriptor_;
  std::string path_;
};

}  // namespace tilemora
