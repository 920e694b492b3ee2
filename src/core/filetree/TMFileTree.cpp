// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileTree.h"

#include <cinttypes>
#include <cstdlib>

#include "TMFilesBelow.h"
#include "TMNodeArena.h"
#include "TMOtherSizeCode.h"
#include "TMUtf8.h"
#include "TMVolume.h"

namespace tilemora {

void tmNodeStorageUndeclared(const char* className) {
  std::fprintf(stderr, "%s: its kind does not place its name where create() put it\n", className);
  std::abort();
}

size_t TMFileTree::nameOffset() const {
  switch (kind_) {
    case TMNodeKind::Folder:
      return nameOffsetOf<TMFolderTree>();
    case TMNodeKind::Volume:
      return nameOffsetOf<TMVolume>();
    case TMNodeKind::File:
    case TMNodeKind::EmptySpace:
    case TMNodeKind::UnscannedSpace:
      break;
  }
  return kCompactNameOffset;
}

const TMFolderTree* TMFileTree::asFolder() const {
  return kind_ == TMNodeKind::Folder ? static_cast<const TMFolderTree*>(this) : nullptr;
}

TMFolderTree* TMFileTree::asFolder() {
  return kind_ == TMNodeKind::Folder ? static_cast<TMFolderTree*>(this) : nullptr;
}

const TMVolume* TMFileTree::asVolume() const {
  return kind_ == TMNodeKind::Volume ? static_cast<const TMVolume*>(this) : nullptr;
}

TMVolume* TMFileTree::asVolume() {
  return kind_ == TMNodeKind::Volume ? static_cast<TMVolume*>(this) : nullptr;
}

bool TMFileTree::holdsOtherSize() const { return nameOffset() == kCompactNameOffset; }

uint64_t TMFileTree::alternateSize() const {
  if (holdsOtherSize()) return TMOtherSizeCode::decode(otherSizeCode(), diskSize());
  const TMFileTree* below = this;
  if (const TMVolume* volume = asVolume()) below = volume->child();
  uint64_t sum = 0;
  if (below != nullptr) forEachFileBelow(*below, [&sum](const TMFileTree& file) { sum += file.alternateSize(); });
  return sum;
}

void TMFileTree::setAlternateSize(uint64_t size) {
  if (holdsOtherSize()) setOtherSizeCode(TMOtherSizeCode::encode(size, diskSize()));
}

void TMFileTree::swapSizes() {
  if (!holdsOtherSize()) return;
  const uint64_t measured = diskSize();
  setDiskSize(alternateSize());
  setAlternateSize(measured);
}

double TMFileTree::advancementPercentage() const {
  if (const TMVolume* volume = asVolume()) return volume->advancementPercentage();
  return -1.0;
}

int TmFileTreeComparer(const TMFileTree& a, const TMFileTree& b) {
  uint64_t sizeA = a.diskSize();
  uint64_t sizeB = b.diskSize();
  if (sizeA < sizeB) return 1;
  if (sizeA > sizeB) return -1;
  return 0;
}

void TMFileTree::dumpToFile(std::FILE* file) const {
  std::fprintf(file, "p%p [label=\"%" PRIu64 "|%s\" shape=record]\n",
               static_cast<const void*>(this), diskSize(), graphvizRecordText(filename()).c_str());
}

std::string graphvizRecordText(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(name.size() + 8);
  while (!name.empty()) {
    size_t length = validUtf8Length(name);
    unsigned char c = static_cast<unsigned char>(name[0]);
    if (length > 1) {
      text.append(name.substr(0, length));
    } else if (c == '\n') {
      text += "\\n";
    } else if (length == 0 || c < 0x20 || c == 0x7F) {
      // "\\x" is an escaped backslash followed by x: the label shows \xHH.
      text += "\\\\x";
      text += kHex[c >> 4];
      text += kHex[c & 0xF];
    } else {
      if (c == '"' || c == '\\' || c == '|' || c == '{' || c == '}' || c == '<' || c == '>')
        text += '\\';
      text += char(c);
    }
    name.remove_prefix(length == 0 ? 1 : length);
  }
  return text;
}

}  // namespace tilemora
