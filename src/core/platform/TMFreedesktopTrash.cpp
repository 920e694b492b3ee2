// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFreedesktopTrash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "TMMountTable.h"

namespace tilemora {

namespace {

// An open descriptor, closed when it goes.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
  }
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  int get() const { return descriptor_; }
  bool isOpen() const { return descriptor_ >= 0; }

 private:
  int descriptor_ = -1;
};

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
// A trash's names must leave room for ".trashinfo" and a number within
// the 255 bytes of a name.
constexpr size_t kLongestTrashedName = 200;
constexpr int kMostNameTries = 10000;

TMTrashResult refused(std::string reason) { return {false, std::move(reason)}; }

std::string changedText(const TMFileURL& url) {
  return url.path() + " has changed on disk since the scan; rescan first";
}

// Why opening or examining `url` failed: a change since the scan where the
// error says the path no longer leads where it did.
std::string failureText(const TMFileURL& url, int error) {
  if (error == ENOENT || error == ENOTDIR || error == ELOOP) return changedText(url);
  return url.path() + ": " + std::strerror(error);
}

// `folder` inside `parent`, made when missing; answers it open, checked
// not to be a link and, when `owner` is given, to belong to that user.
Descriptor ownFolderAt(int parent, const char* folder, std::optional<uid_t> owner = std::nullopt) {
  if (::mkdirat(parent, folder, 0700) != 0 && errno != EEXIST) return Descriptor();
  Descriptor opened(::openat(parent, folder, kFolderFlags | O_NOFOLLOW));
  struct stat info {};
  if (!opened.isOpen() || ::fstat(opened.get(), &info) != 0) return Descriptor();
  if (owner && info.st_uid != *owner) {
    errno = EPERM;
    return Descriptor();
  }
  return opened;
}

// A path with every byte but the unreserved ones and "/" as %XX, as a
// .trashinfo file's Path holds it.
std::string percentEncoded(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : path) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                            c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      encoded += char(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

std::string trashInfoText(const std::string& path) {
  const std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  return "[Trash Info]\nPath=" + percentEncoded(path) + "\nDeletionDate=" + date + "\n";
}

bool writeWhole(int descriptor, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(descriptor, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += size_t(n);
  }
  return true;
}

// A trash folder's two halves, and how the items' original paths are
// written in it: whole for the home trash, from its volume's top folder
// for the others.
struct TrashFolder {
  Descriptor files;
  Descriptor info;
  std::string topFolder;  // empty for the home trash
};

std::optional<TrashFolder> openHalves(Descriptor trash, std::string topFolder) {
  TrashFolder folder;
  folder.files = ownFolderAt(trash.get(), "files");
  folder.info = ownFolderAt(trash.get(), "info");
  if (!folder.files.isOpen() || !folder.info.isOpen()) return std::nullopt;
  folder.topFolder = std::move(topFolder);
  return folder;
}

// Makes `path` and the folders above it that are missing, each 0700.
bool makeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    if (::mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

std::string readWholeFile(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

TMFreedesktopTrash::TMFreedesktopTrash(std::string dataHome, uid_t user, std::string mountInfo)
    : dataHome_(std::move(dataHome)), user_(user), mountInfo_(std::move(mountInfo)) {}

TMFreedesktopTrash TMFreedesktopTrash::forThisUser() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return TMFreedesktopTrash(dataHome, ::getuid());
  const char* home = std::getenv("HOME");
  return TMFreedesktopTrash(std::string(home != nullptr && home[0] == '/' ? home : "") + "/.local/share",
                            ::getuid());
}

namespace {

// The home trash, when it is on `device`.
std::optional<TrashFolder> homeTrash(const std::string& dataHome, dev_t device) {
  struct stat info {};
  if (!makeFolders(dataHome) || ::stat(dataHome.c_str(), &info) != 0 || info.st_dev != device) return std::nullopt;
  Descriptor home(::open(dataHome.c_str(), kFolderFlags));
  if (!home.isOpen()) return std::nullopt;
  Descriptor trash = ownFolderAt(home.get(), "Trash");
  if (!trash.isOpen()) return std::nullopt;
  return openHalves(std::move(trash), {});
}

// The trash of the volume mounted at `topFolder`, on `device`:
// .Trash/$uid when .Trash is a sticky folder that is no link, else
// .Trash-$uid; both the user's own and no links.
std::optional<TrashFolder> volumeTrash(const std::string& topFolder, dev_t device, uid_t user) {
  Descriptor top(::open(topFolder.c_str(), kFolderFlags));
  struct stat info {};
  if (!top.isOpen() || ::fstat(top.get(), &info) != 0 || info.st_dev != device) return std::nullopt;
  const std::string uid = std::to_string(user);
  struct stat shared {};
  if (::fstatat(top.get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(shared.st_mode) &&
      (shared.st_mode & S_ISVTX) != 0) {
    Descriptor sharedTrash(::openat(top.get(), ".Trash", kFolderFlags | O_NOFOLLOW));
    if (sharedTrash.isOpen()) {
      Descriptor own = ownFolderAt(sharedTrash.get(), uid.c_str(), user);
      if (own.isOpen()) return openHalves(std::move(own), topFolder);
    }
  }
  Descriptor own = ownFolderAt(top.get(), (".Trash-" + uid).c_str(), user);
  if (!own.isOpen()) return std::nullopt;
  return openHalves(std::move(own), topFolder);
}

// The mount point `path` lies under: the longest one at or above it.
std::string mountPointOf(const std::string& mountInfo, const TMFileURL& path) {
  std::string best = "/";
  for (const std::string& mountPoint : TMMountTable::mountPaths(readWholeFile(mountInfo))) {
    if (mountPoint.size() > best.size() && path.isAtOrBelow(TMFileURL::fromPath(mountPoint))) best = mountPoint;
  }
  return best;
}

// Writes the .trashinfo of `originalPath` under a name free in both halves
// of `trash`, then renames `name` in `folder` to it; answers the error of
// the rename, or 0 once it is in the trash.
int renameIntoTrash(const TrashFolder& trash, int folder, const std::string& name, const std::string& originalPath) {
  std::string base = name;
  if (base.size() > kLongestTrashedName) {
    size_t cut = kLongestTrashedName;
    while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    base.resize(cut);
  }
  const std::string info = trashInfoText(originalPath);
  for (int attempt = 1; attempt <= kMostNameTries; ++attempt) {
    const std::string trashedName = attempt == 1 ? base : base + "." + std::to_string(attempt);
    const std::string infoName = trashedName + ".trashinfo";
    // The info first, made exclusively: it reserves the name.
    Descriptor infoFile(
        ::openat(trash.info.get(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!infoFile.isOpen()) {
      if (errno == EEXIST) continue;
      return errno;
    }
    if (!writeWhole(infoFile.get(), info)) {
      const int error = errno != 0 ? errno : EIO;
      ::unlinkat(trash.info.get(), infoName.c_str(), 0);
      return error;
    }
    if (::renameat2(folder, name.c_str(), trash.files.get(), trashedName.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno;
    ::unlinkat(trash.info.get(), infoName.c_str(), 0);
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

}  // namespace

TMTrashResult TMFreedesktopTrash::moveToTrash(const TMTrashRequest& request) const {
  const std::vector<std::string> rootParts = request.root.pathComponents();
  const std::vector<std::string> parts = request.item.pathComponents();
  if (!request.item.isAtOrBelow(request.root)) return refused(request.item.path() + " is not inside the scanned folder");
  if (parts.size() == 1) return refused("/ cannot be moved to the trash");

  // The scanned folder, as the scan found it.
  Descriptor root(::open(request.root.path().c_str(), kFolderFlags));
  struct stat rootInfo {};
  if (!root.isOpen() || ::fstat(root.get(), &rootInfo) != 0) return refused(failureText(request.root, errno));
  if (TMFileIdentity{rootInfo.st_dev, rootInfo.st_ino} != request.rootIdentity) return refused(changedText(request.root));

  // The folder that holds the item, reached from the root without links.
  Descriptor folder;
  if (parts.size() == rootParts.size()) {
    // The scanned folder itself: its parent must still hold it.
    const TMFileURL parent = request.root.deletingLastPathComponent();
    folder = Descriptor(::open(parent.path().c_str(), kFolderFlags));
    if (!folder.isOpen()) return refused(failureText(parent, errno));
  } else {
    TMFileURL reached = request.root;
    folder = std::move(root);
    for (size_t i = rootParts.size(); i + 1 < parts.size(); ++i) {
      reached.append(parts[i]);
      folder = Descriptor(::openat(folder.get(), parts[i].c_str(), kFolderFlags | O_NOFOLLOW));
      if (!folder.isOpen()) return refused(failureText(reached, errno));
    }
  }
  const std::string& name = parts.back();
  struct stat item {};
  if (::fstatat(folder.get(), name.c_str(), &item, AT_SYMLINK_NOFOLLOW) != 0)
    return refused(failureText(request.item, errno));
  const bool stillTheSame = parts.size() == rootParts.size()
                                ? TMFileIdentity{item.st_dev, item.st_ino} == request.rootIdentity
                                : (request.folder ? S_ISDIR(item.st_mode) : !S_ISDIR(item.st_mode) && !S_ISLNK(item.st_mode));
  if (!stillTheSame) return refused(changedText(request.item));

  // Into the home trash when it is on the item's file system, else into
  // its volume's own.
  const std::string mountPoint = mountPointOf(mountInfo_, request.item);
  int error = EXDEV;
  if (std::optional<TrashFolder> home = homeTrash(dataHome_, item.st_dev))
    error = renameIntoTrash(*home, folder.get(), name, request.item.path());
  if (error == EXDEV) {
    std::optional<TrashFolder> volume = volumeTrash(mountPoint, item.st_dev, user_);
    if (!volume)
      return refused("the volume at " + mountPoint + " has no trash that can be used; " + request.item.path() +
                     " stays where it is");
    std::string relative = request.item.path().substr(mountPoint == "/" ? 1 : mountPoint.size() + 1);
    error = renameIntoTrash(*volume, folder.get(), name, relative);
  }
  if (error == 0) return {true, {}};
  if (error == EXDEV)
    return refused(request.item.path() + " cannot be moved into its volume's trash (another mount); it stays where it is");
  return refused(request.item.path() + ": " + std::strerror(error));
}

}  // namespace tilemora
