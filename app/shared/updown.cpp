#include "app/shared/updown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace folivant {

static QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
  button->setFixedWidth(16);
  return button;
}

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), up_(ArrowButton(Qt::UpArrow, this)), down_(ArrowButton(Qt::DownArrow, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::Associate(QLineEdit* field) {
  field_ = field;
  setFixedHeight(field_->sizeHint().height());  // the arrows share the field's height
  connect(field_, &QLineEdit::textChanged, this, &TUpDown::AcceptText);
  field_->installEventFilter(this);
  field_->setText(QString::number(position_));
}

void TUpDown::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = std::clamp(position_, minimum_, maximum_);
}

void TUpDown::SetPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
  if (field_) field_->setText(QString::number(position_));
}

// Digits only: no sign, no blanks, no separators.
static bool IsWholeNumber(const QString& text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

void TUpDown::AcceptText(const QString& text) {
  if (!IsWholeNumber(text) || text.size() > 9) return;
  const int number = text.toInt();
  if (number >= minimum_ && number <= maximum_) position_ = number;
}

void TUpDown::Step(int by) {
  SetPosition(position_ + by);
  if (field_) field_->selectAll();
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_) {
    if (event->type() == QEvent::FocusOut) {
      if (field_->text() != QString::number(position_)) field_->setText(QString::number(position_));
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down) {
        Step(key == Qt::Key_Up ? 1 : -1);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace folivant
