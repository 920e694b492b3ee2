// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arguments of tilemora-scan.

#include <optional>
#include <string>

#include "core/drawing/TMSizeFormatter.h"
#include "core/filetree/TMFileTree.h"
#include "core/scan/TMScanOptions.h"
#include "import/TMTreeExport.h"

namespace tilemora {

struct TMCommandLine {
  std::string path;
  std::string dotFile;     // empty: no Graphviz output
  std::string pngFile;     // empty: no picture
  std::string exportFile;  // empty: no export; "-": standard output
  std::optional<TMExportFormat> exportFormat;  // none: as exportFile ends
  std::string compareFile; // empty: no comparison; else a saved scan of PATH
  std::string importFile;  // empty: PATH is scanned; else the saved scan reported on
  int pngWidth = 1000;
  int pngHeight = 800;
  bool help = false;
  bool version = false;
  // The report: sizes in exact bytes or in `units`, the `top` largest
  // entries of each folder listed down to `depth` levels.
  bool bytes = false;
  TMSizeUnits units = TMSizeUnits::Formatter;
  int top = 20;
  int depth = 1;
  bool types = false;  // the file types table too
  bool apparentSize = false;  // sizes are the files' lengths, not their blocks
  // The helper an administrator's scan runs (through pkexec): the export
  // of PATH on standard output, and nothing else.
  bool adminExport = false;
  // What the scan counts (its exclusions made from --exclude and the like).
  TMScanOptions scanOptions;  // one thread per processor unless told

  // Whether an output takes standard output, in which case no report is
  // printed there.
  TMExportFormat exportFileFormat() const { return exportFormat.value_or(exportFormatForName(exportFile)); }
  bool writesToStandardOutput() const { return dotFile == "-" || exportFile == "-"; }

  // Parses argv; answers nothing and sets `error` when the arguments are wrong.
  static std::optional<TMCommandLine> parse(int argc, char** argv, std::string& error);
  static const char* usage();
};

}  // namespace tilemora
