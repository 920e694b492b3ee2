// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/TMLayoutBuilding.h"
#include "TMPngExport.h"

#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <cerrno>
#include <cstring>

#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutNode.h"
#include "render/TMMapImage.h"

namespace tilemora {

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// Qt complains about a session it does not need for drawing into an image
// (no XDG_RUNTIME_DIR under cron or ssh); a tool run from a script must not
// write that noise. Everything else Qt says goes through.
void quietSessionWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: "))) return;
  if (qtDefaultHandler != nullptr) qtDefaultHandler(type, context, message);
}

}  // namespace

bool writeTreeMapPng(TMFileTree& root, std::FILE* out, int width, int height, std::string& error) {
  // Fonts need a GUI application; no display is needed to draw into an image.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static const bool quieted = [] {
    qtDefaultHandler = qInstallMessageHandler(quietSessionWarnings);
    return true;
  }();
  (void)quieted;
  static int argc = 1;
  static char name[] = "tilemora-scan";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (std::unique_ptr<TMLayoutNode> layout = createLayoutTree(root, blockSizes.finalLayoutDepth, 0, TMLayoutBuilt::kWhenLookedAt))
    image = renderTreeMap(*layout, width, height);

  // Encoded in memory, then written to the stream: Qt's writer says
  // "Unknown error" where the system says why (a full disk, a device).
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) {
    error = writer.errorString().toStdString();
    return false;
  }
  return std::fwrite(png.constData(), 1, size_t(png.size()), out) == size_t(png.size());
}

}  // namespace tilemora
