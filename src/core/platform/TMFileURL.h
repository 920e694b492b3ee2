// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file URL as Tilemora uses it: an absolute path without ".", "..",
// repeated or trailing separators.
// Names are raw bytes (Linux allows anything but '/' and NUL), so the path is
// a byte string and is never re-encoded.

#include <string>
#include <string_view>
#include <vector>

namespace tilemora {

class TMFileURL {
 public:
  TMFileURL() : path_("/") {}

  // Makes `path` absolute (against the working directory) and removes "."
  // and repeated or trailing separators. ".." is resolved by the kernel,
  // where it leads after symbolic links; a ".." below what does not exist
  // is kept, so that the path fails to open as written.
  static TMFileURL fromPath(std::string_view path);

  const std::string& path() const { return path_; }

  // The components, the first being "/": "/a/b" gives {"/", "a", "b"}.
  std::vector<std::string> pathComponents() const;

  // The last component: "b" for "/a/b", "/" for the root.
  std::string_view lastPathComponent() const;

  // The folder this URL lies in: "/a" for "/a/b"; the root for the root.
  TMFileURL deletingLastPathComponent() const;
  // Whether this URL is `ancestor` or lies below it ("/a/bc" is not below "/a/b").
  bool isAtOrBelow(const TMFileURL& ancestor) const;

  // This URL with `name` appended as one more component.
  TMFileURL appending(std::string_view name) const;
  // Appends `name` in place: walks down a deep tree append without copying
  // the path at every level.
  TMFileURL& append(std::string_view name);

  // The URL made of `components` (the first one being "/").
  static TMFileURL fromPathComponents(const std::vector<std::string>& components);

  bool operator==(const TMFileURL& other) const = default;

 private:
  explicit TMFileURL(std::string normalisedPath) : path_(std::move(normalisedPath)) {}
  std::string path_;
};

}  // namespace tilemora
