#pragma once

#include <QComboBox>

#include "model/albumclasses.h"

namespace folivant {

class TDialogs;

/// 0x00BBGGRR as Qt's colour, and back.
QColor ToQColor(TColor color);
TColor ToTColor(const QColor& color);

/// A drop-down of colours: "Custom..." (first, any colour through the colour
/// dialog), "Default" (the chooser's own default colour), then the sixteen
/// standard and four extended colours by name, each with a swatch.
class TColorChooser : public QComboBox {
  Q_OBJECT
 public:
  explicit TColorChooser(QWidget* parent = nullptr);

  /// The dialogs (not owned) that "Custom..." asks, and the colour "Default" stands for.
  void Setup(TDialogs& dialogs, TColor default_color);
  TColor Selected() const { return selected_; }
  /// Selects the named item of `color`, else shows it as the custom colour. Emits nothing.
  void SetSelected(TColor color);

 Q_SIGNALS:
  /// The user picked a colour; never emitted for SetSelected.
  void ColorPicked(TColor color);

 private:
  void ItemActivated(int index);
  void SetCustomColor(TColor color);

  TDialogs* dialogs_ = nullptr;
  TColor default_color_ = kWhite;
  TColor selected_ = kWhite;
  /// The item shown before the user opened the list, restored when the colour dialog is cancelled.
  int shown_item_ = -1;
};

}  // namespace folivant
