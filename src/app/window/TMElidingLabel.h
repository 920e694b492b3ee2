// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line label that never cuts a word in half: a text too wide for it
// ends with "…", and its tooltip then holds the whole text (and any notes
// given beside it). A click on it is announced; a part of the text that
// a click opens something for is drawn as a link.

#include <QLabel>

namespace tilemora {

class TMElidingLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TMElidingLabel(QWidget* parent = nullptr);

  // Shows `text`, elided to the width; `notes` always go to the tooltip;
  // the first `link` in the text, where it shows whole, is drawn as a link.
  void setFullText(const QString& text, const QString& notes = QString(), const QString& link = QString());
  const QString& fullText() const { return fullText_; }
  void clear();

  QSize minimumSizeHint() const override;
  // Room for the whole text, wherever it was elided to.
  QSize sizeHint() const override;

 signals:
  void clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void elide();

  QString fullText_;
  QString notes_;
  QString link_;
};

}  // namespace tilemora
