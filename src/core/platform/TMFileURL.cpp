// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileURL.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace tilemora {

namespace {

std::string workingDirectory() {
  for (size_t size = 4096;; size *= 2) {
    std::unique_ptr<char[]> buffer(new char[size]);
    if (getcwd(buffer.get(), size) != nullptr) return buffer.get();
    if (errno != ERANGE) return "/";
  }
}

}  // namespace

TMFileURL TMFileURL::fromPath(std::string_view path) {
  std::string absolute;
  if (path.empty() || path.front() != '/') {
    absolute = workingDirectory();
    absolute += '/';
  }
  absolute.append(path);

  std::vector<std::string> kept;
  auto joined = [&kept] {
    std::string normalised;
    for (const std::string& part : kept) (normalised += '/').append(part);
    return normalised.empty() ? std::string("/") : normalised;
  };
  std::string_view rest(absolute);
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      kept.emplace_back(part);
      continue;
    }
    // What ".." leads to is the kernel's to say: after a symbolic link it is
    // the parent of the link's target, not the folder holding the link.
    std::string above = joined() + "/..";
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(above.c_str(), nullptr), &std::free);
    if (!resolved) {
      // Not there: left as written, so that opening it fails as it should.
      kept.emplace_back(part);
      continue;
    }
    kept.clear();
    for (std::string_view resolvedRest(resolved.get()); !resolvedRest.empty();) {
      size_t next = resolvedRest.find('/');
      if (next != 0) kept.emplace_back(resolvedRest.substr(0, next));
      resolvedRest = next == std::string_view::npos ? std::string_view() : resolvedRest.substr(next + 1);
    }
  }
  return TMFileURL(joined());
}

std::vector<std::string> TMFileURL::pathComponents() const {
  std::vector<std::string> components{"/"};
  size_t start = 1;
  while (start < path_.size()) {
    size_t slash = path_.find('/', start);
    if (slash == std::string::npos) slash = path_.size();
    components.emplace_back(path_, start, slash - start);
    start = slash + 1;
  }
  return components;
}

std::string_view TMFileURL::lastPathComponent() const {
  if (path_ == "/") return path_;
  return std::string_view(path_).substr(path_.rfind('/') + 1);
}

TMFileURL TMFileURL::deletingLastPathComponent() const {
  const size_t slash = path_.rfind('/');
  return TMFileURL(slash == 0 ? std::string("/") : path_.substr(0, slash));
}

bool TMFileURL::isAtOrBelow(const TMFileURL& ancestor) const {
  const std::string& top = ancestor.path_;
  if (path_.compare(0, top.size(), top) != 0) return false;
  return path_.size() == top.size() || top == "/" || path_[top.size()] == '/';
}

TMFileURL TMFileURL::appending(std::string_view name) const {
  TMFileURL joined = *this;
  return joined.append(name);
}

TMFileURL& TMFileURL::append(std::string_view name) {
  if (path_ != "/") path_ += '/';
  path_.append(name);
  return *this;
}

TMFileURL TMFileURL::fromPathComponents(const std::vector<std::string>& components) {
  TMFileURL url;
  for (size_t i = 1; i < components.size(); ++i) url.append(components[i]);
  return url;
}

}  // namespace tilemora
