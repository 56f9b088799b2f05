#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace folivant {

/// A pair of small arrow buttons attached to a number field, as a desktop
/// up-down control: it keeps a position within its range and shows it in the
/// field. The field's text is accepted as the position only when it is a whole
/// number within the range; leaving the field shows the position again, so an
/// invalid entry reverts to the last accepted number.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  explicit TUpDown(QWidget* parent = nullptr);

  /// Attaches the field (not owned) and shows the position in it. Connect to the
  /// field's textChanged after this call to read the position the text gave.
  void Associate(QLineEdit* field);
  void SetRange(int minimum, int maximum);
  int Position() const { return position_; }
  /// Clamps into the range and shows the result in the attached field.
  void SetPosition(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AcceptText(const QString& text);
  void Step(int by);

  QLineEdit* field_ = nullptr;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

}  // namespace folivant
