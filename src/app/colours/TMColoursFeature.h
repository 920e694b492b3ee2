// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the map's files are coloured by (View ▸ Colour By: folder depth,
// file type, age, or the changes since a saved scan while comparing), the
// legend under the map that counts each colour's share of the shown
// folder, and View ▸ File Types, whose chosen type is picked out on the
// map. The colours are the session's; this chooses and explains them.

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "TMPreferences.h"
#include "colours/TMColourLegend.h"
#include "core/platform/TMFileURL.h"
#include "view/session/TMSessionObserver.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

namespace tilemora {

class TMAgeColoring;
class TMFileTypesWindow;
class TMMapPane;
class TMSession;
class TMTypeColoring;
class TMWindowDelegate;
struct TMFileTypeChoice;

class TMColoursFeature : public QObject, private TMSessionObserver {
  Q_OBJECT

 public:
  TMColoursFeature(QMainWindow& window, TMSession& session, TMMapPane& pane, TMWindowDelegate& delegate,
                   TMColourMode mode);
  ~TMColoursFeature() override;

  // Adds Colour By and File Types to `view`.
  void addToMenu(QMenu& view);
  void setColourMode(TMColourMode mode);
  TMColourMode colourMode() const { return mode_; }
  QActionGroup& colourByActions() { return *colourBy_; }
  QAction& fileTypes() { return *fileTypes_; }
  TMFileTypesWindow* fileTypesWindow() { return fileTypesWindow_; }

 private:
  // TMSessionObserver
  void treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void mapStateChanged() override;
  void itemDeleted(const TMFileTree& node) override;
  void treeRemeasured(const std::shared_ptr<TMFileTree>& tree) override;
  void treeChanged(const std::shared_ptr<TMFileTree>& tree) override;
  void comparisonChanged() override;

  // The mode's colouring, to the session.
  void applyColoring();
  // The legend for the shown folder, when the colours are not by depth.
  void updateLegend();
  std::vector<TMColourLegend::Entry> typeLegend(const TMFileTree& folder) const;
  std::vector<TMColourLegend::Entry> ageLegend(const TMFileTree& folder) const;
  std::vector<TMColourLegend::Entry> changeLegend() const;
  // The file types window's table for the shown folder, if it is open.
  void updateFileTypes();
  void pickType(const std::optional<TMFileTypeChoice>& choice);

  QMainWindow& window_;
  TMSession& session_;
  TMMapPane& pane_;
  TMWindowDelegate& delegate_;
  TMColourMode mode_;
  QActionGroup* colourBy_;
  QAction* fileTypes_;
  TMFileTypesWindow* fileTypesWindow_ = nullptr;
  std::shared_ptr<TMTypeColoring> typeColoring_;
  std::shared_ptr<TMAgeColoring> ageColoring_;
  std::optional<TMFileURL> legendFolder_;     // the shown folder the legend counts
  std::optional<TMFileURL> fileTypesFolder_;  // the shown folder the types window counts
};

}  // namespace tilemora
