// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMNcduExport.h"

#include "core/filetree/TMJsonName.h"

namespace tilemora {

namespace {

constexpr size_t kWriteOutBytes = 256 * 1024;

}  // namespace

TMNcduExport::TMNcduExport(std::FILE* out, const char* version, int64_t timestamp, const std::string& hostname)
    : out_(out) {
  text_ = "[1,2,{\"progname\":\"tilemora-scan\",\"progver\":";
  appendJsonName(text_, version);
  text_ += ",\"timestamp\":";
  text_ += std::to_string(timestamp);
  if (!hostname.empty()) {
    text_ += ",\"hostname\":";
    appendJsonName(text_, hostname);
  }
  text_ += '}';
}

void TMNcduExport::appendIdentity(const struct stat& info) {
  if (devices_.empty() || devices_.back() != info.st_dev) appendJsonNumber(text_, "dev", uint64_t(info.st_dev));
  appendJsonNumber(text_, "ino", uint64_t(info.st_ino));
}

void TMNcduExport::appendObject(std::string_view name, const struct stat& info, bool isFolder) {
  closeFolderObject();
  text_ += isFolder ? ",\n[{\"name\":" : ",\n{\"name\":";
  appendJsonName(text_, name);
  if (!isFolder) {
    appendJsonNumber(text_, "asize", uint64_t(info.st_size));
    appendJsonNumber(text_, "dsize", uint64_t(info.st_blocks) * 512);
    // Last modified, as ncdu's extended export has it (a time before 1970 is left out).
    if (info.st_mtim.tv_sec > 0) appendJsonNumber(text_, "mtime", uint64_t(info.st_mtim.tv_sec));
  }
  appendIdentity(info);
  if (!isFolder && info.st_nlink > 1) {
    appendJsonNumber(text_, "nlink", uint64_t(info.st_nlink));
    text_ += ",\"hlnkc\":true";
  }
  if (!isFolder && !S_ISREG(info.st_mode)) text_ += ",\"notreg\":true";
  if (!isFolder) text_ += '}';
  writeOutIfLong();
}

void TMNcduExport::closeFolderObject() {
  if (!folderObjectOpen_) return;
  if (folderDenied_) text_ += ",\"read_error\":true";
  text_ += '}';
  folderObjectOpen_ = false;
  folderDenied_ = false;
}

void TMNcduExport::folderEntered(std::string_view name, const struct stat& info) {
  appendObject(name, info, true);
  devices_.push_back(info.st_dev);
  folderObjectOpen_ = true;
}

void TMNcduExport::folderDenied() {
  if (folderObjectOpen_) folderDenied_ = true;
}

void TMNcduExport::folderLeft(bool unreadable) {
  if (folderObjectOpen_ && unreadable) folderDenied_ = true;
  closeFolderObject();
  text_ += ']';
  if (!devices_.empty()) devices_.pop_back();
}

void TMNcduExport::fileFound(std::string_view name, const struct stat& info) {
  appendObject(name, info, false);
}

void TMNcduExport::mountPointSkipped(std::string_view name, const struct stat& info) {
  closeFolderObject();
  text_ += ",\n{\"name\":";
  appendJsonName(text_, name);
  appendIdentity(info);
  text_ += ",\"excluded\":\"otherfs\"}";
}

void TMNcduExport::entryExcluded(std::string_view name, const char* why) {
  closeFolderObject();
  text_ += ",\n{\"name\":";
  appendJsonName(text_, name);
  text_ += ",\"excluded\":";
  appendJsonName(text_, why);
  text_ += '}';
  writeOutIfLong();
}

void TMNcduExport::writeOutIfLong() {
  if (text_.size() < kWriteOutBytes) return;
  std::fwrite(text_.data(), 1, text_.size(), out_);
  text_.clear();
}

bool TMNcduExport::finish() {
  text_ += "]\n";
  const bool written = std::fwrite(text_.data(), 1, text_.size(), out_) == text_.size();
  text_.clear();
  return written && std::ferror(out_) == 0;
}

}  // namespace tilemora
