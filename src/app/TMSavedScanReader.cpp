// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSavedScanReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/scan/TMScanTask.h"

namespace tilemora {

namespace {

TMSavedScanResult readSeveral(const std::vector<std::string>& paths) {
  if (paths.size() == 1) return importNcduExportAt(paths.front());
  std::vector<TMSavedScanSource> sources;
  TMSavedScanResult result;
  for (const std::string& path : paths) {
    std::FILE* input = path == "-" ? stdin : std::fopen(path.c_str(), "re");
    if (input == nullptr) {
      result = TMImportError{0, 0, std::strerror(errno), path};
      break;
    }
    sources.push_back({input, path});
  }
  if (sources.size() == paths.size()) result = importNcduExports(sources);
  for (const TMSavedScanSource& source : sources) {
    if (source.input != stdin) std::fclose(source.input);
  }
  return result;
}

}  // namespace

void readSavedScan(const QByteArray& path, std::shared_ptr<TMMainQueue> mainQueue,
                   std::function<void(TMSavedScanResult)> done) {
  readSavedScans({path}, std::move(mainQueue), std::move(done));
}

void readSavedScans(const QList<QByteArray>& paths, std::shared_ptr<TMMainQueue> mainQueue,
                    std::function<void(TMSavedScanResult)> done) {
  std::vector<std::string> files;
  for (const QByteArray& path : paths) files.push_back(path.toStdString());
  auto work = [files, mainQueue, done] {
    auto result = std::make_shared<TMSavedScanResult>(readSeveral(files));
    mainQueue->post([done, result] { done(std::move(*result)); });
  };
  // Counted among the running scans: the exit waits for it (a little).
  if (!TMScanTask::startFinishingWork(work)) work();
}

}  // namespace tilemora
