#include "app/shared/colorchooser.h"

#include <QPainter>
#include <QPixmap>
#include <array>

#include "app/shared/dialogs.h"
#include "app/shared/errordisplay.h"

namespace folivant {

namespace {

struct TNamedColor {
  const char* name;
  TColor color;
};

// The sixteen standard colours, then the four extended ones.
constexpr std::array<TNamedColor, 20> kNamedColors{{
    {"Black", 0x000000},       {"Maroon", 0x000080},   {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},        {"Purple", 0x800080},   {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},      {"Red", 0x0000FF},      {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},        {"Fuchsia", 0xFF00FF},  {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
    {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xF0CAA6}, {"Cream", 0xF0FBFF}, {"Medium Gray", 0xA4A0A0},
}};

constexpr int kCustomItem = 0;
constexpr int kDefaultItem = 1;
constexpr int kFirstNamedItem = 2;

QIcon Swatch(TColor color) {
  QPixmap pixmap(16, 12);
  pixmap.fill(ToQColor(color));
  QPainter painter(&pixmap);
  painter.setPen(Qt::darkGray);
  painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
  return QIcon(pixmap);
}

}  // namespace

QColor ToQColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

TColor ToTColor(const QColor& color) {
  return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8 |
         static_cast<TColor>(color.blue()) << 16;
}

TColorChooser::TColorChooser(QWidget* parent) : QComboBox(parent) {
  addItem(tr("Custom..."));
  addItem(tr("Default"));
  for (const TNamedColor& named : kNamedColors) addItem(Swatch(named.color), tr(named.name), named.color);
  setMaxVisibleItems(count());
  connect(this, &QComboBox::activated, this, &TColorChooser::ItemActivated);
}

void TColorChooser::Setup(TDialogs& dialogs, TColor default_color) {
  dialogs_ = &dialogs;
  default_color_ = default_color;
  setItemIcon(kDefaultItem, Swatch(default_color));
  setItemData(kDefaultItem, default_color);
  SetSelected(default_color);
}

void TColorChooser::SetSelected(TColor color) {
  selected_ = color;
  for (int item = kFirstNamedItem; item < count(); ++item) {
    if (itemData(item).toUInt() == color) {
      setCurrentIndex(item);
      shown_item_ = item;
      return;
    }
  }
  SetCustomColor(color);
}

void TColorChooser::SetCustomColor(TColor color) {
  setItemIcon(kCustomItem, Swatch(color));
  setItemData(kCustomItem, color);
  setCurrentIndex(kCustomItem);
  shown_item_ = kCustomItem;
}

void TColorChooser::ItemActivated(int index) {
  if (index == kCustomItem) {
    RunCommand(*dialogs_, [this] {
      const QColor chosen = dialogs_->ChooseColor(ToQColor(selected_));
      if (!chosen.isValid()) {
        setCurrentIndex(shown_item_);
        return;
      }
      selected_ = ToTColor(chosen);
      SetCustomColor(selected_);
      Q_EMIT ColorPicked(selected_);
    });
    return;
  }
  selected_ = itemData(index).toUInt();
  shown_item_ = index;
  Q_EMIT ColorPicked(selected_);
}

}  // namespace folivant
