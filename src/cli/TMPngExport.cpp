#include "TMPngExport.h"

#include <QGuiApplication>
#include <QImageWriter>

#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutNode.h"
#include "render/TMMapImage.h"

namespace tilemora {

bool writeTreeMapPng(TMFileTree& root, const std::string& path, int width, int height,
                     std::string& error) {
  // Fonts need a GUI application; no display is needed to draw into an image.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tilemora-scan";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (std::unique_ptr<TMLayoutNode> layout = root.createLayoutTree(blockSizes.finalLayoutDepth, 0))
    image = renderTreeMap(*layout, width, height);

  QImageWriter writer(QString::fromLocal8Bit(path.c_str()), "png");
  if (writer.write(image)) return true;
  error = writer.errorString().toStdString();
  return false;
}

}  // namespace tilemora
