// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "window/TMDisplayText.h"
#include "window/TMElidingLabel.h"
#include "core/drawing/TMSizeFormatter.h"

namespace tilemora {

namespace {

// A name as the window shows it, into a buffer reused from name to name:
// most names are printable ASCII, copied as they are without allocating.
class NameText {
 public:
  QStringView of(std::string_view name) {
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (!plain) {
      buffer_ = displayText(name);
      return buffer_;
    }
    buffer_.resize(qsizetype(name.size()));
    QChar* out = buffer_.data();
    for (char c : name) *out++ = QLatin1Char(c);
    return buffer_;
  }

 private:
  QString buffer_;
};

}  // namespace

TMFindBar::TMFindBar(QWidget* parent)
    : QWidget(parent),
      field_(new QLineEdit),
      regularExpression_(new QToolButton),
      matchCase_(new QToolButton),
      status_(new TMElidingLabel) {
  // Over the map: a background of its own.
  setAutoFillBackground(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  field_->setPlaceholderText(tr("Find a name (* and ? for any characters)"));
  field_->setAccessibleName(tr("Find"));
  field_->setClearButtonEnabled(true);
  // Room for a pattern in every language, whatever the bar tells beside it.
  field_->setMinimumWidth(240);
  auto* previous = new QToolButton;
  previous->setArrowType(Qt::UpArrow);
  previous->setToolTip(tr("Previous match (Shift+F3)"));
  previous->setAccessibleName(tr("Previous match"));
  auto* next = new QToolButton;
  next->setArrowType(Qt::DownArrow);
  next->setToolTip(tr("Next match (Enter, F3)"));
  next->setAccessibleName(tr("Next match"));
  // Short as their signs, told whole in their tooltips and to assistive
  // technology; Alt and their letter toggle them.
  const auto toggle = [](QToolButton* button, const QString& sign, const QString& name, const QKeySequence& key) {
    button->setText(sign);
    button->setCheckable(true);
    button->setAccessibleName(name);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(name, key.toString(QKeySequence::NativeText)));
    button->setShortcut(key);
  };
  toggle(regularExpression_, QStringLiteral(".*"), tr("Regular expression"), QKeySequence(Qt::ALT | Qt::Key_X));
  toggle(matchCase_, QStringLiteral("Aa"), tr("Match case"), QKeySequence(Qt::ALT | Qt::Key_C));
  auto* close = new QToolButton;
  close->setText(QStringLiteral("\u2715"));
  close->setToolTip(tr("Close (Esc)"));
  close->setAccessibleName(tr("Close"));
  status_->setMinimumWidth(0);
  row->addWidget(field_, 2);
  row->addWidget(previous);
  row->addWidget(next);
  row->addWidget(regularExpression_);
  row->addWidget(matchCase_);
  row->addWidget(status_, 1);
  row->addWidget(close);
  connect(field_, &QLineEdit::textChanged, this, &TMFindBar::patternChanged);
  connect(regularExpression_, &QToolButton::toggled, this, &TMFindBar::patternChanged);
  connect(matchCase_, &QToolButton::toggled, this, &TMFindBar::patternChanged);
  connect(field_, &QLineEdit::returnPressed, this, &TMFindBar::nextWanted);
  connect(next, &QToolButton::clicked, this, &TMFindBar::nextWanted);
  connect(previous, &QToolButton::clicked, this, &TMFindBar::previousWanted);
  connect(close, &QToolButton::clicked, this, [this] {
    hide();
    emit closed();
  });
  hide();
}

QAbstractButton& TMFindBar::regularExpression() { return *regularExpression_; }

QAbstractButton& TMFindBar::matchCase() { return *matchCase_; }

void TMFindBar::open() {
  show();
  field_->setFocus();
  field_->selectAll();
}

void TMFindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    emit closed();
  } else if (event->key() == Qt::Key_F3) {
    emit(event->modifiers() & Qt::ShiftModifier ? previousWanted() : nextWanted());
  } else {
    QWidget::keyPressEvent(event);
  }
}

std::function<bool(std::string_view name)> TMFindBar::matcher() {
  const QString text = field_->text();
  status_->clear();
  if (text.isEmpty()) return nullptr;
  const Qt::CaseSensitivity sensitivity = matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const bool wildcards = !regularExpression_->isChecked() && (text.contains(u'*') || text.contains(u'?'));
  if (!regularExpression_->isChecked() && !wildcards) {
    return [text, sensitivity, names = std::make_shared<NameText>()](std::string_view name) {
      return names->of(name).contains(text, sensitivity);
    };
  }
  // Wildcards match the whole name, as in a shell; a regular expression
  // anywhere in it.
  auto pattern = std::make_shared<QRegularExpression>(
      wildcards ? QRegularExpression::wildcardToRegularExpression(text, QRegularExpression::DefaultWildcardConversion)
                : text,
      sensitivity == Qt::CaseInsensitive ? QRegularExpression::CaseInsensitiveOption
                                         : QRegularExpression::NoPatternOption);
  if (!pattern->isValid()) {
    status_->setFullText(tr("Invalid pattern: %1").arg(pattern->errorString()));
    return nullptr;
  }
  pattern->optimize();
  return [pattern, names = std::make_shared<NameText>()](std::string_view name) {
    return pattern->match(names->of(name)).hasMatch();
  };
}

void TMFindBar::showFound(qsizetype matches, uint64_t bytes) {
  status_->setFullText(tr("%Ln match(es), %1", nullptr, int(std::min<qsizetype>(matches, INT32_MAX)))
                       .arg(QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(bytes))));
}

}  // namespace tilemora
