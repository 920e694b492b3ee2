// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSavedScanReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/scan/TMScanTask.h"

namespace tilemora {

namespace {

TMSavedScanResult readFrom(const std::string& path) {
  std::FILE* input = path == "-" ? stdin : std::fopen(path.c_str(), "re");
  if (input == nullptr) return TMImportError{0, 0, std::strerror(errno), {}};
  TMSavedScanResult result = importNcduExport(input);
  if (input != stdin) std::fclose(input);
  return result;
}

}  // namespace

void readSavedScan(const QByteArray& path, std::shared_ptr<TMMainQueue> mainQueue,
                   std::function<void(TMSavedScanResult)> done) {
  auto work = [path = path.toStdString(), mainQueue, done] {
    auto result = std::make_shared<TMSavedScanResult>(readFrom(path));
    mainQueue->post([done, result] { done(std::move(*result)); });
  };
  // Counted among the running scans: the exit waits for it (a little).
  if (!TMScanTask::startFinishingWork(work)) work();
}

}  // namespace tilemora
