// SPDX-License-Identifier: GPL-3.0-or-later
// tilemora-scan: scans a folder or volume with the engine of the desktop
// application and reports what takes the space.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cinttypes>
#include <cstdio>
#include <functional>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>

#include "TMBinaryImportReport.h"
#include "TMChangeReport.h"
#include "TMCommandLine.h"
#include "TMEntryCounter.h"
#include "TMBinaryScanExport.h"
#include "TMGraphvizExport.h"
#include "TMNcduExport.h"
#include "TMPngExport.h"
#include "TMScanSummary.h"
#include "TMTypeReport.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMSizeMeasure.h"
#include "core/filetree/TMUtf8.h"
#include "core/platform/TMHeapTrim.h"
#include "core/platform/TMHostName.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/platform/TMOutputFile.h"
#include "core/scan/TMExclusions.h"
#include "core/scan/TMScanDriver.h"
#include "core/scan/TMScanTask.h"
#include "import/TMBinaryExportImport.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMComparedBinaryExport.h"
#include "import/TMComparedFileTree.h"
#include "import/TMCompressedStream.h"
#include "import/TMNcduImport.h"
#include "import/TMTreeComparison.h"
#include "import/TMTreeExport.h"

using namespace tilemora;

namespace {

// The scan tool is stricter than the desktop application: it refuses what
// cannot be scanned as a folder instead of showing an empty map.
bool checkScannable(const std::string& path) {
  const TMFileSystem& fileSystem = *TMFileSystem::posix();
  struct stat info {};
  const char* problem = nullptr;
  int directory = -1;
  if (fileSystem.statPath(path.c_str(), &info) != 0) {
    problem = std::strerror(errno);
  } else if (!S_ISDIR(info.st_mode)) {
    problem = "not a folder";
  } else if ((directory = fileSystem.openDirectory(path.c_str())) < 0) {
    problem = std::strerror(errno);
  }
  if (directory >= 0) fileSystem.closeDirectory(directory);
  if (problem == nullptr) return true;
  std::fprintf(stderr, "tilemora-scan: cannot scan %s: %s\n", printableName(path).c_str(), problem);
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

// Writes the graph of the tree to `file`; answers false with `error` set
// when it could not be written whole.
bool writeGraphvizTo(const TMFileTree& root, TMOutputFile& file, std::string& error) {
  if (!writeGraphviz(root, file.stream())) {
    error = file.writeError();
    return false;
  }
  return file.commit(error);
}

void reportUnreadableFolders(const TMScanTask& task) {
  const uint64_t unreadable = task.unreadableFolderCount();
  if (unreadable == 0) return;
  std::fprintf(stderr, "tilemora-scan: %" PRIu64 " folders could not be read, counted as empty:\n", unreadable);
  for (const TMUnreadableFolder& folder : task.unreadableFolders())
    std::fprintf(stderr, "  %s: %s\n", printableName(folder.path).c_str(), std::strerror(folder.error));
}

// Standard output could not take everything: as du does, a failure.
int writeError() {
  std::fprintf(stderr, "tilemora-scan: write error: %s\n", std::strerror(errno ? errno : EIO));
  return 1;
}

// Tells why the saved scan at `path` cannot be read; nothing to answer.
std::nullopt_t cannotRead(const std::string& path, const std::string& reason) {
  // The reason may quote a name of the file: escaped like any name.
  std::fprintf(stderr, "tilemora-scan: cannot read %s: %s\n", printableName(path).c_str(),
               printableName(reason).c_str());
  return std::nullopt;
}

// The saved scan to compare with, read before the scan so that a wrong file
// is told at once; none (and the reason told) when it cannot be read.
std::optional<TMImportedScan> readSavedScan(const std::string& path) {
  TMImportResult result = importNcduExportAt(path);
  if (auto* error = std::get_if<TMImportError>(&result)) return cannotRead(path, error->text());
  return std::move(std::get<TMImportedScan>(result));
}

// A saved scan to compare: a binary export in a file is read from it a
// folder at a time as the comparison goes; any other is read whole.
struct TMSavedSide {
  std::optional<TMImportedScan> whole;
  std::unique_ptr<TMComparedTree> byFolders;
  // When it was made (a binary export does not say: 0).
  int64_t timestamp() const { return whole ? whole->timestamp : 0; }
};

std::optional<TMSavedSide> openSavedSide(const std::string& path, bool byLength) {
  TMSavedSide side;
  std::string error;
  if (std::unique_ptr<TMBinaryExportReader> reader = openBinaryExportFile(path, error)) {
    side.byFolders = TMComparedBinaryExport::open(std::move(reader), byLength, error);
  }
  if (!error.empty()) return cannotRead(path, error);
  if (!side.byFolders && !(side.whole = readSavedScan(path))) return std::nullopt;
  return side;
}

// How many entries the exclusions left out, and what they were.
void printExcluded(uint64_t count, const TMExclusions& exclusions) {
  std::string rules;
  for (const std::string& pattern : exclusions.patterns()) rules += (rules.empty() ? "" : ", ") + printableName(pattern);
  if (exclusions.excludesCaches()) rules += std::string(rules.empty() ? "" : ", ") + "caches";
  if (exclusions.skipsVirtualFileSystems()) rules += std::string(rules.empty() ? "" : ", ") + "virtual file systems";
  std::printf("Excluded: %" PRIu64 " (%s)\n", count, rules.c_str());
}

// What a saved scan leaves out or stands in for.
void printSavedScanGaps(const TMImportedScan& scan) {
  if (scan.excludedEntries > 0)
    std::printf("Excluded: %" PRIu64 " (where the saved scan was made)\n", scan.excludedEntries);
  if (scan.filesWithoutLength > 0)
    std::printf("Without a length: %" PRIu64 " files (their size on disk stands in)\n", scan.filesWithoutLength);
  if (scan.filesWithoutAllocatedSize > 0)
    std::printf("Without a size on disk: %" PRIu64 " files (their length stands in)\n",
                scan.filesWithoutAllocatedSize);
}

int outputError(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "tilemora-scan: cannot write %s: %s\n", printableName(path).c_str(), reason.c_str());
  return 1;
}

// Scans the command line's path into `root` (its task in `task`, how many
// entries it counted in `entries`), writing the export to `exportFile` as
// it goes. Answers the exit status so far.
int scanInto(const TMCommandLine& line, std::unique_ptr<TMOutputFile> exportFile, std::shared_ptr<TMFileTree>& root,
             std::shared_ptr<TMScanTask>& task, uint64_t& entries) {
  std::string error;
  auto queue = std::make_shared<TMManualMainQueue>();
  auto counter = std::make_shared<TMEntryCounter>();
  bool ended = false;
  TMScanEnvironment environment;
  environment.mainQueue = queue;
  environment.options = line.scanOptions;
  std::function<bool()> finishExport;
  std::FILE* exportStream = nullptr;  // compressing, where the name asks
  if (exportFile) {
    std::setvbuf(exportFile->stream(), nullptr, _IOFBF, 1 << 16);
    const bool binary = line.exportFileFormat() == TMExportFormat::kBinary;
    // The binary format compresses its blocks itself.
    exportStream = openCompressing(exportFile->stream(),
                                   binary ? TMCompression::kNone : compressionForName(line.exportFile));
    if (exportStream == nullptr) return outputError(line.exportFile, std::strerror(errno ? errno : ENOMEM));
    if (binary) {
      auto exporter = std::make_shared<TMBinaryScanExport>(exportStream);
      finishExport = [exporter] { return exporter->finish(); };
      environment.observer = exporter;
    } else {
      auto exporter = std::make_shared<TMNcduExport>(exportStream, TILEMORA_VERSION, int64_t(std::time(nullptr)),
                                                     thisHostName());
      finishExport = [exporter] { return exporter->finish(); };
      environment.observer = exporter;
    }
  }
  root = createFromPath(
      TMFileURL::fromPath(line.path), counter, [&ended] { ended = true; }, environment, task);

  const bool showProgress = ::isatty(STDERR_FILENO);
  while (!ended) {
    queue->runNextWithin(std::chrono::milliseconds(100));
    if (showProgress && !ended) drawProgressLine(*counter, *root);
  }
  if (showProgress) std::fputs("\r\033[K", stderr);
  // Folders that could not be read count 0 bytes: say so, the total is short.
  reportUnreadableFolders(*task);
  int status = task->unreadableFolderCount() > 0 ? 1 : 0;
  entries = counter->count();

  if (finishExport) {
    const bool finished = finishExport();
    const bool written = std::fclose(exportStream) == 0 && finished;
    if (!written) error = exportFile->writeError();
    if (!written || !exportFile->commit(error)) status = outputError(line.exportFile, error);
    exportFile.reset();
  }
  return status;
}

// Writes the saved scan `scan` to `file` as an export and commits it.
bool exportSavedScan(const TMImportedScan& scan, const TMCommandLine& line, TMOutputFile& file, std::string& error) {
  TMTreeExportHeader header;
  header.rootPath = TMFileURL::fromPathComponents(scan.rootComponents).path();
  header.program = "tilemora-scan";
  header.version = TILEMORA_VERSION;
  header.timestamp = scan.timestamp;
  header.hostname = scan.hostname;
  return writeTreeExportTo(file, *scan.root, header, error, {}, line.exportFileFormat()) && file.commit(error);
}

// The reader of the saved scan to import when it is reported on a folder at
// a time: a binary export in a file, unless something needs its whole tree
// (a graph, a picture, a conversion, or sizes by length).
std::unique_ptr<TMBinaryExportReader> readerByFolders(const TMCommandLine& line) {
  if (!line.dotFile.empty() || !line.pngFile.empty() || !line.exportFile.empty() || line.apparentSize) return nullptr;
  std::string error;
  return openBinaryExportFile(line.importFile, error);
}

// Compares the saved scan with the current one: `root`, or, with
// `byFolders`, the binary export imported, read a folder at a time.
// Nothing (the reason told) when a side cannot be read.
std::optional<TMTreeComparison> compareWithSaved(TMSavedSide& saved, const TMFileTree& root,
                                                 std::unique_ptr<TMBinaryExportReader> byFolders,
                                                 const TMCommandLine& line, const TMSummaryOptions& options) {
  std::string error;
  std::unique_ptr<TMComparedTree> savedSide =
      saved.byFolders ? std::move(saved.byFolders) : std::make_unique<TMComparedFileTree>(*saved.whole->root);
  std::unique_ptr<TMComparedTree> currentSide;
  if (byFolders) currentSide = TMComparedBinaryExport::open(std::move(byFolders), options.apparent, error);
  else currentSide = std::make_unique<TMComparedFileTree>(root);
  if (!currentSide) return cannotRead(line.importFile, error);
  TMTreeComparison comparison = compareScans(*savedSide, *currentSide, options.top);
  if (comparison.error) {
    std::fprintf(stderr, "tilemora-scan: cannot compare the scans: %s\n", printableName(*comparison.error).c_str());
    return std::nullopt;
  }
  return comparison;
}

}  // namespace

int main(int argc, char** argv) {
  returnBigBlocksAtOnce();
  std::string error;
  std::optional<TMCommandLine> line = TMCommandLine::parse(argc, argv, error);
  if (!line) {
    std::fprintf(stderr, "tilemora-scan: %s\n%s", printableName(error).c_str(), TMCommandLine::usage());
    return 2;
  }
  if (line->help || line->version) {
    if (line->help) {
      std::fputs(TMCommandLine::usage(), stdout);
    } else {
      std::printf("tilemora-scan %s (%s)\n", TILEMORA_VERSION, TILEMORA_BUILD_NUMBER);
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : writeError();
  }
  // The reader of an administrator's scan stops it by closing the pipe: the
  // next write ends the helper, which the user could not signal as root
  // (whatever the parent ignored).
  if (line->adminExport) std::signal(SIGPIPE, SIG_DFL);
  const bool importing = !line->importFile.empty();
  if (!importing && !checkScannable(line->path)) return 2;
  std::optional<TMSavedSide> saved;
  if (!line->compareFile.empty() && !(saved = openSavedSide(line->compareFile, line->apparentSize))) return 2;
  TMSummaryOptions options;
  options.bytes = line->bytes;
  options.units = line->units;
  options.top = size_t(line->top);
  options.depth = size_t(line->depth);
  options.apparent = line->apparentSize;
  std::optional<TMImportedScan> imported;
  std::optional<TMReportedExport> reported;  // when read a folder at a time
  std::unique_ptr<TMBinaryExportReader> byFolders = importing ? readerByFolders(*line) : nullptr;
  if (byFolders) {
    reported.emplace();
    if (auto why = readExportForReport(*byFolders, options, *reported)) {
      cannotRead(line->importFile, *why);
      return 2;
    }
    imported = std::move(reported->scan);
  } else if (importing && !(imported = readSavedScan(line->importFile))) {
    return 2;
  }

  // Every output is made (under its temporary name) before the scan, so
  // that a wrong path is told at once and not after a long scan.
  std::unique_ptr<TMOutputFile> exportFile, dotFile, pngFile;
  for (auto [path, file] : {std::pair{&line->exportFile, &exportFile}, std::pair{&line->dotFile, &dotFile},
                            std::pair{&line->pngFile, &pngFile}}) {
    if (path->empty()) continue;
    *file = TMOutputFile::create(*path, error);
    if (*file == nullptr) return outputError(*path, error);
  }

  std::shared_ptr<TMFileTree> root;
  std::shared_ptr<TMScanTask> task;
  uint64_t entries = 0;
  int status = 0;
  if (imported) {
    root = imported->root;
    entries = imported->files + imported->folders;  // as a scan counts them: below the root
    if (imported->unreadableFolders > 0)
      std::fprintf(stderr, "tilemora-scan: %" PRIu64 " folders could not be read where the saved scan was made\n",
                   imported->unreadableFolders);
    if (exportFile && !exportSavedScan(*imported, *line, *exportFile, error))
      status = outputError(line->exportFile, error);
    exportFile.reset();
  } else {
    status = scanInto(*line, std::move(exportFile), root, task, entries);
    if (!root) return status;  // the export could not be begun
  }
  if (line->apparentSize) {
    // Measured by length from here on: the report, the picture, the graph
    // and the comparison (an export has written both sizes already).
    remeasureTree(*root, TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength);
    if (saved && saved->whole) remeasureTree(*saved->whole->root, TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength);
  }
  const std::string reportedPath = imported ? TMFileURL::fromPathComponents(imported->rootComponents).path()
                                            : TMFileURL::fromPath(line->path).path();
  if (!line->writesToStandardOutput()) {
    std::printf("%s\n", printableName(reportedPath).c_str());
    if (saved) {
      std::optional<TMTreeComparison> comparison = compareWithSaved(*saved, *root, std::move(byFolders), *line, options);
      if (!comparison) return 2;
      const int64_t savedAt = saved->timestamp();
      saved.reset();
      printChangeReport(*comparison, savedAt, stdout, options);
    } else {
      printScanSummary(*root, stdout, options);
    }
    if (line->types) {
      if (reported) printTypeStatistics(reported->types, stdout, options);
      else printTypeTable(*root, stdout, options);
    }
    std::printf("Entries: %" PRIu64 "\n", entries);
    if (const auto& exclusions = line->scanOptions.exclusions) printExcluded(task->excludedCount(), *exclusions);
    if (imported) printSavedScanGaps(*imported);
    // Told before a long write, and checked: a report that did not arrive
    // is a failure.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return writeError();
  }
  if (dotFile && !writeGraphvizTo(*root, *dotFile, error)) status = outputError(line->dotFile, error);
  if (pngFile) {
    if (!writeTreeMapPng(*root, pngFile->stream(), line->pngWidth, line->pngHeight, error)) {
      if (error.empty()) error = pngFile->writeError();
      status = outputError(line->pngFile, error);
    } else if (!pngFile->commit(error)) {
      status = outputError(line->pngFile, error);
    }
  }
  if (std::fclose(stdout) != 0) return writeError();
  return status;
}
