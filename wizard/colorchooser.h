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
class TColourChooser : public QComboBox {
  Q_OBJECT
 public:
  explicit TColourChooser(QWidget* parent = nullptr);

  /// The dialogs (not owned) that "Custom..." asks, and the colour "Default" stands for.
  void Setup(TDialogs& dialogs, TColor default_colour);
  TColor Selected() const { return selected_; }
  /// Selects the named item of `colour`, else shows it as the custom colour. Emits nothing.
  void SetSelected(TColor colour);

 Q_SIGNALS:
  /// The user picked a colour; never emitted for SetSelected.
  void ColourPicked(TColor colour);

 private:
  void ItemActivated(int index);
  void SetCustomColour(TColor colour);

  TDialogs* dialogs_ = nullptr;
  TColor default_colour_ = kWhite;
  TColor selected_ = kWhite;
  /// The item shown before the user opened the list, restored when the colour dialog is cancelled.
  int shown_item_ = -1;
};

}  // namespace folivant
