#pragma once
// Fakes of the toolkit around the view logic: they record what they are asked.

#include <vector>

#include "view/TMTreeMapViewHost.h"
#include "view/TMWindowHost.h"

namespace tilemora::test {

struct TMFakeViewHost : TMTreeMapViewHost {
  void requestRepaint() override { ++repaints; }
  void showPath(const TMFileURL& url) override { paths.push_back(url); }
  void setScrollerPositions(const TMScrollerPositions& positions) override { scrollers = positions; }

  int repaints = 0;
  std::vector<TMFileURL> paths;
  TMScrollerPositions scrollers;
};

struct TMFakeWindowHost : TMWindowHost {
  void showMessageView(bool shown) override { messageShown = shown, ++calls; }
  void setProgressIndeterminate(bool value) override { indeterminate = value, ++calls; }
  bool isProgressIndeterminate() const override { return indeterminate; }
  void startProgressAnimation() override { animating = true, ++calls; }
  void stopProgressAnimation() override { animating = false, ++calls; }
  void setProgressRange(double low, double high) override { minimum = low, maximum = high, ++calls; }
  void setProgressValue(double value) override { values.push_back(value), ++calls; }
  void noteRecentFolder(const TMFileURL& url) override { recent.push_back(url), ++calls; }

  bool messageShown = true;
  bool indeterminate = false;
  bool animating = false;
  double minimum = 0;
  double maximum = 0;
  std::vector<double> values;
  std::vector<TMFileURL> recent;
  int calls = 0;
};

}  // namespace tilemora::test
