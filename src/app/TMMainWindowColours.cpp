// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's colour modes: View ▸ Colour By, applied to every
// window and kept in the settings, and the legend under the map.

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLocale>
#include <QMenu>

#include "TMColourLegend.h"
#include "TMDisplayText.h"
#include "TMFileTypesWindow.h"
#include "TMMainWindow.h"
#include "TMMapPane.h"
#include "TilemoraAppDelegate.h"
#include "core/drawing/TMFileTypes.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFolderTree.h"

namespace tilemora {

namespace {

// The categories' names as the window shows them, translatable.
struct TMFileCategoryText {
  Q_DECLARE_TR_FUNCTIONS(TMFileCategoryText)
};

QColor qtColour(const TMColor& colour) { return QColor::fromRgbF(float(colour.red), float(colour.green), float(colour.blue)); }

}  // namespace

void TMMainWindow::buildColourCommands(QMenu& view) {
  QMenu* menu = view.addMenu(tr("&Colour By"));
  colourBy_ = new QActionGroup(this);
  const std::pair<QString, TMColourMode> modes[] = {{tr("Folder &Depth"), TMColourMode::kDepth},
                                                    {tr("File &Type"), TMColourMode::kFileType}};
  for (const auto& [text, mode] : modes) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    action->setData(int(mode));
    action->setChecked(mode == colourMode_);
    colourBy_->addAction(action);
  }
  connect(colourBy_, &QActionGroup::triggered, this, [](QAction* action) {
    TMPreferences preferences = TMPreferences::load();
    preferences.colourBy = TMColourMode(action->data().toInt());
    preferences.save();
    TilemoraAppDelegate::applyPreferencesToWindows();
  });
  setColourMode(colourMode_);

  fileTypes_ = view.addAction(tr("File &Types"));
  fileTypes_->setToolTip(tr("The shown folder's files by type and extension"));
  connect(fileTypes_, &QAction::triggered, this, [this] {
    if (fileTypesWindow_ == nullptr) {
      fileTypesWindow_ = new TMFileTypesWindow(this);
      connect(fileTypesWindow_, &TMFileTypesWindow::chosen, this,
              [this](const std::optional<TMFileTypeChoice>& choice) { pickType(choice); });
      connect(fileTypesWindow_, &QDialog::finished, this, [this] { pickType(std::nullopt); });
    }
    fileTypesFolder_.reset();
    fileTypesWindow_->show();
    fileTypesWindow_->raise();
    updateFileTypes();
  });
}

void TMMainWindow::updateFileTypes() {
  const TMNodeState* shown = mapPane_->view().current();
  if (fileTypesWindow_ == nullptr || !fileTypesWindow_->isVisible() || shown == nullptr || shown->file == nullptr ||
      controller_->isScanning() || fileTypesFolder_ == shown->url)
    return;
  fileTypesFolder_ = shown->url;
  fileTypesWindow_->showStatistics(typeStatisticsOf(*shown->file), displayText(shown->url.lastPathComponent()));
}

void TMMainWindow::pickType(const std::optional<TMFileTypeChoice>& choice) {
  const TMNodeState* shown = mapPane_->view().current();
  typePicked_.reset();
  if (choice && shown != nullptr && shown->file != nullptr) {
    auto picked = std::make_shared<std::unordered_set<const TMFileTree*>>();
    std::vector<const TMFileTree*> pending{shown->file};
    while (!pending.empty()) {
      const TMFileTree* node = pending.back();
      pending.pop_back();
      if (const TMFolderTree* folder = node->asFolder()) {
        const TMChildList* list = folder->children();
        for (uint32_t i = 0; list && i < list->count(); ++i) pending.push_back(list->at(i));
      } else if (node->kind() == TMNodeKind::File && isOfChoice(node->filename(), *choice)) {
        picked->insert(node);
      }
    }
    typePicked_ = std::move(picked);
  }
  applyFileColoring();
}

void TMMainWindow::setColourMode(TMColourMode mode) {
  colourMode_ = mode;
  for (QAction* action : colourBy_->actions()) action->setChecked(TMColourMode(action->data().toInt()) == mode);
  applyFileColoring();
  legendFolder_.reset();
  updateLegend();
}

void TMMainWindow::updateLegend() {
  TMColourLegend& legend = mapPane_->legend();
  const TMNodeState* shown = mapPane_->view().current();
  if (colourMode_ != TMColourMode::kFileType || shown == nullptr || shown->file == nullptr ||
      controller_->isScanning()) {
    legendFolder_.reset();
    legend.showEntries({});
    return;
  }
  if (legendFolder_ == shown->url) return;  // counted already
  legendFolder_ = shown->url;
  // The share of each category in the shown folder, largest first.
  const TMTypeStatistics statistics = typeStatisticsOf(*shown->file);
  std::vector<TMColourLegend::Entry> entries;
  for (const TMTypeTotal& total : statistics.categories) {
    const double share = statistics.bytes > 0 ? 100.0 * double(total.bytes) / double(statistics.bytes) : 0.0;
    entries.push_back({qtColour(typeColoring_->colorOfCategory(total.category)),
                       tr("%1 %2 %").arg(TMFileCategoryText::tr(categoryName(total.category)),
                                         QLocale().toString(share, 'f', 1))});
  }
  legend.showEntries(entries);
}

}  // namespace tilemora
