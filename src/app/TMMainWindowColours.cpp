// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's colour modes: View ▸ Colour By, applied to every
// window and kept in the settings, and the legend under the map.

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLocale>
#include <QMenu>
#include <array>
#include <ctime>

#include "TMColourLegend.h"
#include "TMDisplayText.h"
#include "TMFileTypesWindow.h"
#include "TMMainWindow.h"
#include "TMMapPane.h"
#include "TMRowTexts.h"
#include "TilemoraAppDelegate.h"
#include "core/drawing/TMAgeColoring.h"
#include "core/drawing/TMFileTypes.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFilesBelow.h"
#include "render/TMFramePainter.h"

namespace tilemora {

namespace {

struct TMAgeStepText {
  Q_DECLARE_TR_FUNCTIONS(TMAgeStepText)
};

double shareOf(uint64_t part, uint64_t all) { return all > 0 ? 100.0 * double(part) / double(all) : 0.0; }

}  // namespace

void TMMainWindow::buildColourCommands(QMenu& view) {
  QMenu* menu = view.addMenu(tr("&Colour By"));
  colourBy_ = new QActionGroup(this);
  const std::pair<QString, TMColourMode> modes[] = {{tr("Folder &Depth"), TMColourMode::kDepth},
                                                    {tr("File &Type"), TMColourMode::kFileType},
                                                    {tr("&Age"), TMColourMode::kAge},
                                                    {tr("&Changes since the Saved Scan"), TMColourMode::kChanges}};
  for (const auto& [text, mode] : modes) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    action->setData(int(mode));
    action->setChecked(mode == colourMode_);
    // Only while this window compares with a saved scan.
    action->setEnabled(mode != TMColourMode::kChanges);
    colourBy_->addAction(action);
  }
  connect(colourBy_, &QActionGroup::triggered, this, [this](QAction* action) {
    const TMColourMode mode = TMColourMode(action->data().toInt());
    setColourMode(mode);
    if (mode == TMColourMode::kChanges) return;  // this window's own
    TMPreferences preferences = TMPreferences::load();
    preferences.colourBy = mode;
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
    forEachFileBelow(*shown->file, [&](const TMFileTree& file) {
      if (file.kind() == TMNodeKind::File && isOfChoice(file.filename(), *choice)) picked->insert(&file);
    });
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
  if (colourMode_ == TMColourMode::kDepth || shown == nullptr || shown->file == nullptr ||
      controller_->isScanning()) {
    legendFolder_.reset();
    legend.showEntries({});
    return;
  }
  if (legendFolder_ == shown->url) return;  // counted already
  legendFolder_ = shown->url;
  legend.showEntries(colourMode_ == TMColourMode::kFileType ? typeLegend(*shown->file)
                     : colourMode_ == TMColourMode::kChanges ? changeLegend()
                                                             : ageLegend(*shown->file));
}

std::vector<TMColourLegend::Entry> TMMainWindow::typeLegend(const TMFileTree& folder) const {
  // The share of each category in the shown folder, largest first.
  const TMTypeStatistics statistics = typeStatisticsOf(folder);
  std::vector<TMColourLegend::Entry> entries;
  for (const TMTypeTotal& total : statistics.categories) {
    entries.push_back({qColorOf(typeColoring_->colorOfCategory(total.category)),
                       tr("%1 %2 %").arg(categoryText(total.category),
                                         QLocale().toString(shareOf(total.bytes, statistics.bytes), 'f', 1))});
  }
  return entries;
}

std::vector<TMColourLegend::Entry> TMMainWindow::ageLegend(const TMFileTree& folder) const {
  // The share of each age in the shown folder, newest first.
  const TMAgeColoring ages(ageColoring_ ? ageColoring_->now() : int64_t(std::time(nullptr)));
  std::array<uint64_t, kAgeStepCount> bytes{};
  uint64_t all = 0;
  forEachFileBelow(folder, [&](const TMFileTree& file) {
    if (file.kind() != TMNodeKind::File) return;
    bytes[ageStepOf(file.modifiedTime(), ages.now())] += file.diskSize();
    all += file.diskSize();
  });
  std::vector<TMColourLegend::Entry> entries;
  if (all > 0 && bytes[kAgeStepCount - 1] == all) {
    entries.push_back({qColorOf(ages.colorOfStep(kAgeStepCount - 1)), tr("This scan has no dates")});
    return entries;
  }
  for (size_t step = 0; step < kAgeStepCount; ++step) {
    if (bytes[step] == 0) continue;
    entries.push_back({qColorOf(ages.colorOfStep(step)),
                       tr("%1 %2 %").arg(TMAgeStepText::tr(ageStepName(step)),
                                         QLocale().toString(shareOf(bytes[step], all), 'f', 1))});
  }
  return entries;
}

}  // namespace tilemora
