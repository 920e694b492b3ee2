// tilemora-scan: scans a folder or volume with the engine of the desktop
// application and reports what takes the space.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>

#include "TMCommandLine.h"
#include "TMEntryCounter.h"
#include "TMGraphvizExport.h"
#include "TMPngExport.h"
#include "TMScanSummary.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMScanTask.h"
#include "core/filetree/TMUtf8.h"
#include "core/platform/TMManualMainQueue.h"

using namespace tilemora;

namespace {

// The scan tool is stricter than the desktop application: it refuses what
// cannot be scanned as a folder instead of showing an empty map.
bool checkScannable(const std::string& path) {
  struct stat info {};
  const char* problem = nullptr;
  int directory = -1;
  if (::stat(path.c_str(), &info) != 0) {
    problem = std::strerror(errno);
  } else if (!S_ISDIR(info.st_mode)) {
    problem = "not a folder";
  } else if ((directory = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0) {
    problem = std::strerror(errno);
  }
  if (directory >= 0) ::close(directory);
  if (problem == nullptr) return true;
  std::fprintf(stderr, "tilemora-scan: cannot scan %s: %s\n", path.c_str(), problem);
  return false;
}

void drawProgressLine(const TMEntryCounter& counter, const TMFileTree& root) {
  double fraction = root.advancementPercentage();
  if (fraction >= 0.0) {
    std::fprintf(stderr, "\r\033[K%" PRIu64 " entries scanned, %.1f%% of the used space",
                 counter.count(), 100.0 * fraction);
  } else {
    std::fprintf(stderr, "\r\033[K%" PRIu64 " entries scanned", counter.count());
  }
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<TMCommandLine> line = TMCommandLine::parse(argc, argv, error);
  if (!line) {
    std::fprintf(stderr, "tilemora-scan: %s\n%s", error.c_str(), TMCommandLine::usage());
    return 2;
  }
  if (!checkScannable(line->path)) return 2;

  auto queue = std::make_shared<TMManualMainQueue>();
  auto counter = std::make_shared<TMEntryCounter>();
  bool ended = false;
  TMScanEnvironment environment;
  environment.mainQueue = queue;
  std::shared_ptr<TMScanTask> task;
  std::shared_ptr<TMFileTree> root = TMFileTree::createFromPath(
      TMFileURL::fromPath(line->path), counter, [&ended] { ended = true; }, environment, &task);

  const bool showProgress = ::isatty(STDERR_FILENO);
  while (!ended) {
    queue->runNextWithin(std::chrono::milliseconds(100));
    if (showProgress && !ended) drawProgressLine(*counter, *root);
  }
  if (showProgress) std::fputs("\r\033[K", stderr);
  // Folders that could not be read count 0 bytes: say so, the total is short.
  if (const uint64_t unreadable = task->unreadableFolderCount(); unreadable > 0) {
    std::fprintf(stderr, "tilemora-scan: %" PRIu64 " folders could not be read, counted as empty:\n", unreadable);
    for (const std::string& folder : task->firstUnreadableFolders())
      std::fprintf(stderr, "  %s\n", printableName(folder).c_str());
    if (unreadable > task->firstUnreadableFolders().size()) std::fputs("  ...\n", stderr);
  }

  std::printf("%s\n", printableName(TMFileURL::fromPath(line->path).path()).c_str());
  printScanSummary(*root, stdout);
  std::printf("Entries: %" PRIu64 "\n", counter->count());

  if (!line->dotFile.empty()) {
    std::FILE* dot = std::fopen(line->dotFile.c_str(), "w");
    bool written = dot != nullptr && writeGraphviz(*root, dot);
    if (dot != nullptr && std::fclose(dot) != 0) written = false;
    if (!written) {
      std::fprintf(stderr, "tilemora-scan: cannot write %s: %s\n", line->dotFile.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }
  if (!line->pngFile.empty()) {
    std::string pngError;
    if (!writeTreeMapPng(*root, line->pngFile, line->pngWidth, line->pngHeight, pngError)) {
      std::fprintf(stderr, "tilemora-scan: cannot write %s: %s\n", line->pngFile.c_str(),
                   pngError.c_str());
      return 1;
    }
  }
  return 0;
}
