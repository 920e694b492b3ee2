// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileTypes.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "TMTypeTally.h"
#include "core/filetree/TMFilesBelow.h"

namespace tilemora {

namespace {

struct Kind {
  TMFileCategory category;
  std::initializer_list<const char*> extensions;
};

const std::unordered_map<std::string_view, TMFileCategory>& extensionTable() {
  static const std::unordered_map<std::string_view, TMFileCategory> table = [] {
    const Kind kinds[] = {
        {TMFileCategory::kImages, {"jpg", "jpeg", "png", "gif", "bmp", "tif", "tiff", "webp", "svg", "svgz", "ico",
                                   "heic", "heif", "avif", "raw", "cr2", "nef", "dng", "psd", "xcf", "xpm", "jxl"}},
        {TMFileCategory::kVideo, {"mp4", "m4v", "mkv", "webm", "avi", "mov", "wmv", "flv", "mpg", "mpeg", "ts",
                                  "m2ts", "3gp", "ogv", "vob"}},
        {TMFileCategory::kAudio, {"mp3", "flac", "ogg", "oga", "opus", "wav", "aac", "m4a", "wma", "aiff", "mid",
                                  "midi", "ape"}},
        {TMFileCategory::kDocuments, {"pdf", "doc", "docx", "odt", "ods", "odp", "xls", "xlsx", "ppt", "pptx",
                                      "rtf", "txt", "md", "rst", "tex", "epub", "djvu", "ps", "csv", "html", "htm",
                                      "xml", "json", "yaml", "yml", "toml", "ini", "log", "mbox", "eml", "info",
                                      "man"}},
        {TMFileCategory::kArchives, {"zip", "tar", "gz", "tgz", "bz2", "xz", "zst", "7z", "rar", "lz", "lz4",
                                     "lzma", "deb", "rpm", "apk", "jar", "war", "whl", "iso", "img", "dmg",
                                     "snap", "flatpak", "appimage", "cab", "cpio"}},
        {TMFileCategory::kSourceCode, {"c", "h", "cc", "cpp", "cxx", "hh", "hpp", "hxx", "m", "mm", "rs", "go",
                                       "java", "kt", "scala", "py", "pyi", "rb", "pl", "pm", "php", "js", "mjs",
                                       "ts", "tsx", "jsx", "cs", "swift", "sh", "bash", "zsh", "fish", "lua",
                                       "el", "lisp", "hs", "ml", "f", "f90", "s", "asm", "sql", "cmake", "mk",
                                       "css", "scss", "vue", "r", "jl", "dart", "zig", "nim", "d", "ads", "adb", "pas", "pp", "inc"}},
        {TMFileCategory::kPrograms, {"so", "a", "o", "ko", "exe", "dll", "bin", "elf", "pyc", "pyo", "class",
                                     "wasm", "dylib", "lib", "obj", "rlib", "node"}},
    };
    std::unordered_map<std::string_view, TMFileCategory> built;
    for (const Kind& kind : kinds) {
      // "ts" is a video stream and TypeScript alike: the first listed wins.
      for (const char* extension : kind.extensions) built.emplace(extension, kind.category);
    }
    return built;
  }();
  return table;
}

bool isNumber(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

const char* categoryName(TMFileCategory category) {
  switch (category) {
    case TMFileCategory::kImages:
      return "Images";
    case TMFileCategory::kVideo:
      return "Video";
    case TMFileCategory::kAudio:
      return "Audio";
    case TMFileCategory::kDocuments:
      return "Documents";
    case TMFileCategory::kArchives:
      return "Archives and packages";
    case TMFileCategory::kSourceCode:
      return "Source code";
    case TMFileCategory::kPrograms:
      return "Programs and libraries";
    case TMFileCategory::kOther:
      break;
  }
  return "Other";
}

std::string extensionOf(std::string_view name) {
  // A shared library's version numbers are not its kind: "libz.so.1.3" is "so".
  if (const size_t so = name.rfind(".so."); so != std::string_view::npos && so > 0) {
    const std::string_view numbers = name.substr(so + 4);
    bool allNumbers = true;
    for (size_t start = 0; start <= numbers.size() && allNumbers;) {
      const size_t dot = std::min(numbers.find('.', start), numbers.size());
      allNumbers = isNumber(numbers.substr(start, dot - start));
      start = dot + 1;
    }
    if (allNumbers) return "so";
  }
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return {};
  std::string extension(name.substr(dot + 1));
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

TMFileCategory categoryOfExtension(std::string_view extension) {
  const auto& table = extensionTable();
  auto found = table.find(extension);
  return found == table.end() ? TMFileCategory::kOther : found->second;
}

TMTypeStatistics typeStatisticsOf(const TMFileTree& start) {
  TMTypeTally tally;
  forEachFileBelow(start, [&](const TMFileTree& file) {
    if (file.kind() == TMNodeKind::File) tally.add(file.filename(), file.diskSize());
  });
  return tally.statistics();
}

}  // namespace tilemora
