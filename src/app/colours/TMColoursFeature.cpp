// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMColoursFeature.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <array>
#include <ctime>
#include <unordered_set>

#include "colours/TMFileTypesWindow.h"
#include "core/drawing/TMAgeColoring.h"
#include "core/drawing/TMChangeColoring.h"
#include "core/drawing/TMFileTypes.h"
#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFilesBelow.h"
#include "list/TMRowTexts.h"
#include "map/TMMapPane.h"
#include "render/TMFramePainter.h"
#include "view/session/TMSession.h"
#include "window/TMDisplayText.h"
#include "window/TMWindowDelegate.h"

namespace tilemora {

namespace {

struct TMAgeStepText {
  Q_DECLARE_TR_FUNCTIONS(TMAgeStepText)
};

double shareOf(uint64_t part, uint64_t all) { return all > 0 ? 100.0 * double(part) / double(all) : 0.0; }

}  // namespace

TMColoursFeature::TMColoursFeature(QMainWindow& window, TMSession& session, TMMapPane& pane,
                                   TMWindowDelegate& delegate, TMColourMode mode)
    : QObject(&window), window_(window), session_(session), pane_(pane), delegate_(delegate), mode_(mode) {
  colourBy_ = new QActionGroup(this);
  const std::pair<QString, TMColourMode> modes[] = {{tr("Folder &Depth"), TMColourMode::kDepth},
                                                    {tr("File &Type"), TMColourMode::kFileType},
                                                    {tr("&Age"), TMColourMode::kAge},
                                                    {tr("&Changes since the Saved Scan"), TMColourMode::kChanges}};
  for (const auto& [text, choice] : modes) {
    auto* action = new QAction(text, colourBy_);
    action->setCheckable(true);
    action->setData(int(choice));
    // Only while this window compares with a saved scan.
    action->setEnabled(choice != TMColourMode::kChanges);
  }
  connect(colourBy_, &QActionGroup::triggered, this, [this](QAction* action) {
    const TMColourMode chosen = TMColourMode(action->data().toInt());
    setColourMode(chosen);
    if (chosen == TMColourMode::kChanges) return;  // this window's own
    TMPreferences preferences = TMPreferences::load();
    preferences.colourBy = chosen;
    preferences.save();
    delegate_.preferencesChanged();
  });

  fileTypes_ = new QAction(tr("File &Types"), &window);
  fileTypes_->setToolTip(tr("The shown folder's files by type and extension"));
  connect(fileTypes_, &QAction::triggered, this, [this] {
    if (fileTypesWindow_ == nullptr) {
      fileTypesWindow_ = new TMFileTypesWindow(&window_);
      connect(fileTypesWindow_, &TMFileTypesWindow::chosen, this,
              [this](const std::optional<TMFileTypeChoice>& choice) { pickType(choice); });
      connect(fileTypesWindow_, &QDialog::finished, this, [this] { pickType(std::nullopt); });
    }
    fileTypesFolder_.reset();
    fileTypesWindow_->show();
    fileTypesWindow_->raise();
    updateFileTypes();
  });
  session.addObserver(*this);
  setColourMode(mode_);
}

TMColoursFeature::~TMColoursFeature() { session_.removeObserver(*this); }

void TMColoursFeature::addToMenu(QMenu& view) {
  view.addMenu(tr("&Colour By"))->addActions(colourBy_->actions());
  view.addAction(fileTypes_);
}

void TMColoursFeature::setColourMode(TMColourMode mode) {
  mode_ = mode;
  for (QAction* action : colourBy_->actions()) action->setChecked(TMColourMode(action->data().toInt()) == mode);
  applyColoring();
  legendFolder_.reset();
  updateLegend();
}

void TMColoursFeature::applyColoring() {
  std::shared_ptr<const TMFileColoring> coloring;
  if (mode_ == TMColourMode::kFileType) {
    if (!typeColoring_) typeColoring_ = std::make_shared<TMTypeColoring>();
    coloring = typeColoring_;
  } else if (mode_ == TMColourMode::kChanges) {
    coloring = session_.changeColoring();
  } else if (mode_ == TMColourMode::kAge) {
    ageColoring_ = std::make_shared<TMAgeColoring>(int64_t(std::time(nullptr)));  // ages as of now
    coloring = ageColoring_;
  }
  session_.setModeColoring(std::move(coloring));
}

void TMColoursFeature::treeShown(const std::shared_ptr<TMFileTree>&, const TMFileURL&, bool) {
  legendFolder_.reset();
  updateLegend();
}

void TMColoursFeature::mapStateChanged() {
  updateLegend();
  updateFileTypes();
}

void TMColoursFeature::itemDeleted(const TMFileTree&) {
  // Counted again after the deletion.
  legendFolder_.reset();
  fileTypesFolder_.reset();
}

void TMColoursFeature::treeRemeasured(const std::shared_ptr<TMFileTree>&) {
  // Shares by type and the legend's are counted again by the new sizes.
  legendFolder_.reset();
  fileTypesFolder_.reset();
  updateLegend();
  updateFileTypes();
}

void TMColoursFeature::treeChanged(const std::shared_ptr<TMFileTree>& tree) {
  // Files came, went or changed size: the shares are counted again.
  treeRemeasured(tree);
}

void TMColoursFeature::comparisonChanged() {
  const bool comparing = session_.comparison() != nullptr;
  for (QAction* action : colourBy_->actions()) {
    if (TMColourMode(action->data().toInt()) == TMColourMode::kChanges) action->setEnabled(comparing);
  }
  if (comparing) {
    setColourMode(TMColourMode::kChanges);
  } else if (mode_ == TMColourMode::kChanges) {
    setColourMode(TMPreferences::load().colourBy);
  }
}

void TMColoursFeature::updateFileTypes() {
  const TMNodeState* shown = pane_.view().current();
  if (fileTypesWindow_ == nullptr || !fileTypesWindow_->isVisible() || shown == nullptr || shown->file == nullptr ||
      session_.controller().isScanning() || fileTypesFolder_ == shown->url)
    return;
  fileTypesFolder_ = shown->url;
  const QString name = displayText(shown->url.lastPathComponent());
  // A saved scan read in part is counted whole from its file.
  QPointer<TMFileTypesWindow> window = fileTypesWindow_;
  const bool fromFile = session_.countFileTypesFromFile(
      shown->url, [window, name](double share) { if (window) window->showCounting(name, share); },
      [this, window, name](const TMTypeStatistics* statistics) {
        // The folder shown is still the one counted: a newer count stops this one.
        if (!window) return;
        const TMNodeState* counted = pane_.view().current();
        if (counted == nullptr || counted->file == nullptr) return;
        window->showStatistics(statistics != nullptr ? *statistics : typeStatisticsOf(*counted->file), name);
      });
  if (fromFile) fileTypesWindow_->showCounting(name, 0.0);
  else fileTypesWindow_->showStatistics(typeStatisticsOf(*shown->file), name);
}

void TMColoursFeature::pickType(const std::optional<TMFileTypeChoice>& choice) {
  const TMNodeState* shown = pane_.view().current();
  std::shared_ptr<std::unordered_set<const TMFileTree*>> picked;
  if (choice && shown != nullptr && shown->file != nullptr) {
    picked = std::make_shared<std::unordered_set<const TMFileTree*>>();
    forEachFileBelow(*shown->file, [&](const TMFileTree& file) {
      if (file.kind() == TMNodeKind::File && isOfChoice(file.filename(), *choice)) picked->insert(&file);
    });
  }
  session_.setPickedFiles(std::move(picked));
}

void TMColoursFeature::updateLegend() {
  TMColourLegend& legend = pane_.legend();
  const TMNodeState* shown = pane_.view().current();
  if (mode_ == TMColourMode::kDepth || shown == nullptr || shown->file == nullptr ||
      session_.controller().isScanning()) {
    legendFolder_.reset();
    legend.showEntries({});
    return;
  }
  if (legendFolder_ == shown->url) return;  // counted already
  legendFolder_ = shown->url;
  legend.showEntries(mode_ == TMColourMode::kFileType ? typeLegend(*shown->file)
                     : mode_ == TMColourMode::kChanges ? changeLegend()
                                                       : ageLegend(*shown->file));
}

std::vector<TMColourLegend::Entry> TMColoursFeature::typeLegend(const TMFileTree& folder) const {
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

std::vector<TMColourLegend::Entry> TMColoursFeature::ageLegend(const TMFileTree& folder) const {
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

std::vector<TMColourLegend::Entry> TMColoursFeature::changeLegend() const {
  if (!session_.comparison() || !session_.changeColoring()) return {};
  const TMChangeColoring& colours = *session_.changeColoring();
  const TMTreeComparison& c = *session_.comparison();
  const size_t strongest = kChangeSteps - 1;
  const auto count = [](uint64_t items) { return QLocale().toString(qulonglong(items)); };
  std::vector<TMColourLegend::Entry> entries{
      {qColorOf(colours.colorOfStep(TMChangeKind::kNew, strongest)), tr("New: %1").arg(count(c.newItems))},
      {qColorOf(colours.colorOfStep(TMChangeKind::kGrew, strongest)), tr("Grew: %1").arg(count(c.grownItems))},
      {qColorOf(colours.colorOfStep(TMChangeKind::kShrank, strongest)), tr("Shrank: %1").arg(count(c.shrunkItems))},
      {qColorOf(colours.colorOfStep(TMChangeKind::kUnchanged, 0)), tr("Unchanged")},
      {QColor(), tr("Removed: %1 (no tile)").arg(count(c.removedItems))},
      {QColor(), tr("Stronger: a larger change, up to %1").arg(sizeCellText(c.nodeChanges->largestChange()))}};
  return entries;
}

}  // namespace tilemora
