// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMAdministratorScan.h"

#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "core/platform/TMHelperProcess.h"
#include "core/platform/TMInputFile.h"

namespace tilemora {

namespace {

// pkexec's own exit statuses: the password dialog dismissed, and anything
// else that kept it from running the program.
constexpr int kDismissed = 126;
constexpr int kNotAuthorized = 127;

std::optional<std::string> whyItFailed(int status) {
  if (WIFEXITED(status) && WEXITSTATUS(status) == kDismissed) return "the administrator's password was not given";
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNotAuthorized)
    return "pkexec refused: the password was wrong, or this user may not scan as administrator";
  const std::string how = describeExitStatus(status);
  if (!how.empty()) return "the scan as administrator " + how;
  return std::nullopt;
}

}  // namespace

TMSavedScanOpener administratorScanOf(std::string scanProgram, std::string folder, std::string pkexec) {
  return [scanProgram = std::move(scanProgram), folder = std::move(folder), pkexec = std::move(pkexec)](
             std::string& error, std::stop_token stop) -> TMSavedScanInput {
    std::shared_ptr<TMHelperProcess> helper =
        TMHelperProcess::start({pkexec, scanProgram, "--admin-export", folder}, error);
    if (!helper) {
      error = error == std::strerror(ENOENT) ? "pkexec is not installed (Debian's package pkexec provides it)"
                                             : "pkexec could not be started: " + error;
      return {};
    }
    TMSavedScanInput input;
    input.file = TMInputFile::adopt(helper->takeOutput(), error, std::move(stop));
    if (!input.file) return {};
    input.ended = [helper](bool readWhole) -> std::optional<std::string> {
      const int status = helper->wait();
      // A whole export is the scan, folders it could not read and all.
      return readWhole ? std::nullopt : whyItFailed(status);
    };
    return input;
  };
}

}  // namespace tilemora
