// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeExport.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMJsonName.h"
#include "core/filetree/TMVolume.h"
#include "TMCompressedStream.h"
#include "TMTreeBinaryExport.h"
#include "core/platform/TMOutputFile.h"

namespace tilemora {

namespace {

constexpr size_t kWriteOutBytes = 256 * 1024;

void appendFolderObject(std::string& text, std::string_view name, const TMFolderTree& folder) {
  text += ",\n[{\"name\":";
  appendJsonName(text, name);
  if (folder.isUnreadable()) text += ",\"read_error\":true";
  text += '}';
}

}  // namespace

TMExportFormat exportFormatForName(std::string_view path) {
  return path.ends_with(".ncdu") ? TMExportFormat::kBinary : TMExportFormat::kJson;
}

bool writeTreeExport(const TMFileTree& root, const TMTreeExportHeader& header, std::FILE* out,
                     const std::stop_token& stop) {
  const TMFolderTree* top = root.asVolume() != nullptr ? root.asVolume()->child() : root.asFolder();
  std::string text = "[1,2,{\"progname\":";
  appendJsonName(text, header.program);
  text += ",\"progver\":";
  appendJsonName(text, header.version);
  appendJsonNumber(text, "timestamp", uint64_t(std::max<int64_t>(header.timestamp, 0)));
  if (!header.hostname.empty()) {
    text += ",\"hostname\":";
    appendJsonName(text, header.hostname);
  }
  text += '}';

  struct Level {
    const TMFolderTree* folder;
    uint32_t next;
  };
  std::vector<Level> levels;
  if (top != nullptr) {
    appendFolderObject(text, header.rootPath, *top);
    levels.push_back({top, 0});
  } else {
    // A tree that is one file or one space: an empty folder.
    text += ",\n[{\"name\":";
    appendJsonName(text, header.rootPath);
    text += "}]";
  }
  bool written = true;
  while (!levels.empty() && written) {
    Level& level = levels.back();
    const TMChildList* children = level.folder->children();
    if (children == nullptr || level.next >= children->count()) {
      text += ']';
      levels.pop_back();
      continue;
    }
    const TMFileTree* child = children->at(level.next++);
    if (const TMFolderTree* folder = child->asFolder()) {
      appendFolderObject(text, child->filename(), *folder);
      levels.push_back({folder, 0});
    } else if (child->kind() == TMNodeKind::File) {
      text += ",\n{\"name\":";
      appendJsonName(text, child->filename());
      appendJsonNumber(text, "asize", lengthOf(*child, header.measure));
      appendJsonNumber(text, "dsize", allocatedSizeOf(*child, header.measure));
      if (child->modifiedTime() != 0) appendJsonNumber(text, "mtime", child->modifiedTime());
      text += '}';
    }
    if (text.size() >= kWriteOutBytes) {
      written = std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
                !stop.stop_requested();
      text.clear();
    }
  }
  text += "]\n";
  return written && std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::ferror(out) == 0;
}

bool writeTreeExportTo(TMOutputFile& file, const TMFileTree& root, const TMTreeExportHeader& header,
                       std::string& error, const std::stop_token& stop, std::optional<TMExportFormat> format) {
  const bool binary = format.value_or(exportFormatForName(file.path())) == TMExportFormat::kBinary;
  std::FILE* stream = openCompressing(file.stream(), binary ? TMCompression::kNone : compressionForName(file.path()));
  if (stream == nullptr) {
    error = std::strerror(ENOMEM);
    return false;
  }
  const bool written = binary ? writeTreeBinaryExport(root, header, stream, stop)
                              : writeTreeExport(root, header, stream, stop);
  const bool closed = std::fclose(stream) == 0;
  if (!written || !closed) {
    error = stop.stop_requested() ? "stopped" : file.writeError();
    return false;
  }
  // What the compressor holds back is in the file's own stream now.
  if (std::fflush(file.stream()) != 0) {
    error = file.writeError();
    return false;
  }
  return true;
}

bool saveTreeExport(const TMFileTree& root, const TMTreeExportHeader& header, const std::string& path,
                    std::string& error, int mode, const std::stop_token& stop) {
  std::unique_ptr<TMOutputFile> file = TMOutputFile::create(path, error, mode, stop);
  // The temporary file goes with `file` when it is not committed.
  return file && writeTreeExportTo(*file, root, header, error, stop) && file->commit(error);
}

}  // namespace tilemora
