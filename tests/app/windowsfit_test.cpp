// The About box, the tip box and the wizard with a large font and a dark
// theme: every text fits, and every colour comes from the theme.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "app/about.h"
#include "mainwindowfixture.h"
#include "wizardfixture.h"

namespace folivant::test {

namespace {

QPalette DarkPalette() {
  QPalette dark(QColor(0x3A, 0x3A, 0x3A), QColor(0x2B, 0x2B, 0x2B));  // button, window
  dark.setColor(QPalette::Base, QColor(0x1C, 0x1C, 0x1C));
  dark.setColor(QPalette::AlternateBase, QColor(0x38, 0x34, 0x30));
  dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
  dark.setColor(QPalette::Link, QColor(0x7F, 0xB4, 0xFF));
  return dark;
}

// The labels and buttons under `root` that are shown smaller than they need.
QStringList Clipped(const QWidget& root) {
  QStringList clipped;
  for (const QWidget* widget : root.findChildren<QWidget*>()) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    // Buttons without a text are arrows, which share their field's height.
    if (!widget->isVisible() || !(label || (button && !button->text().isEmpty()))) continue;
    const QSize hint = widget->sizeHint();
    const bool fits = label && label->wordWrap() ? widget->height() >= widget->heightForWidth(widget->width())
                                                 : widget->width() >= hint.width() && widget->height() >= hint.height();
    if (!fits)
      clipped << QStringLiteral("%1 %2x%3 < %4x%5")
                     .arg(widget->objectName())
                     .arg(widget->width())
                     .arg(widget->height())
                     .arg(hint.width())
                     .arg(hint.height());
  }
  return clipped;
}

// The colour `widget` paints a few pixels inside its top-right corner, off its frame and its children.
QColor BackgroundOf(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  return image.pixelColor(image.width() - 4, 3);
}

double Luminance(const QColor& color) {
  const auto channel = [](double value) {
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
  const double lighter = std::max(Luminance(a), Luminance(b));
  const double darker = std::min(Luminance(a), Luminance(b));
  return (lighter + 0.05) / (darker + 0.05);
}

void ExpectNoneClipped(const QWidget& root) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);  // as before the next paint
  const QStringList clipped = Clipped(root);
  QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(", "))));
}

QColor TextColor(const QWidget& widget) { return widget.palette().color(widget.foregroundRole()); }

}  // namespace

class WindowsFitTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() {
    QFont large = QApplication::font();
    large.setPointSizeF(std::max(large.pointSizeF(), 9.0) * 2);
    QApplication::setFont(large);
    QApplication::setPalette(DarkPalette());
    QApplication::setWindowIcon(ApplicationIcon());
  }

  void aboutBoxFitsAndTakesTheThemesColours() {
    TScriptedDialogs dialogs;
    TfrmAbout about(nullptr, dialogs);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    ExpectNoneClipped(about);
    QWidget& band = *about.findChild<QWidget*>(QStringLiteral("pnlTop"));
    QCOMPARE(BackgroundOf(band), DarkPalette().color(QPalette::Base));
    QCOMPARE(TextColor(*about.findChild<QLabel*>(QStringLiteral("lblTitle"))), DarkPalette().color(QPalette::Text));
    SaveScreenshot(about, QStringLiteral("about-large-dark"));
  }

  void tipBoxFitsAndItsLinkStaysReadable() {
    TMainWindowFixture fixture;
    fixture.Start();
    QWidget& box = fixture.Child<QWidget>("pnlTip");
    QVERIFY(box.isVisible());
    // The start page as a whole needs more than the main window's design size at this font.
    fixture.Window().resize(fixture.Window().size().expandedTo(fixture.Window().sizeHint()));
    ExpectNoneClipped(box);
    const QColor background = BackgroundOf(box);
    QCOMPARE(background, DarkPalette().color(QPalette::AlternateBase));
    for (const char* name : {"lblTip", "lblTipHeading"}) {
      const double contrast = Contrast(TextColor(fixture.Child<QLabel>(name)), background);
      QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name)).arg(contrast)));
    }
    const double link = Contrast(fixture.Child<QLabel>("lblNextTip").palette().color(QPalette::Link), background);
    QVERIFY2(link >= 3.0, qPrintable(QString::number(link)));
    SaveScreenshot(fixture.Window(), QStringLiteral("start-page-large-dark"));
  }

  void everyWizardPageFits() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("here.jpg"));
    fixture.Album.Photographs.Add(std::make_unique<TPhotograph>())
        .SetFileName(fixture.Folder(QStringLiteral("photos")) + "/gone.jpg");
    fixture.Open();
    for (int page = 1; page <= 5; ++page) {
      if (page > 1) fixture.Child<QPushButton>("btnNext").click();
      QCOMPARE(fixture.Wizard->CurrentPage(), page);
      ExpectNoneClipped(*fixture.Wizard);
    }
    fixture.Child<QPushButton>("btnFinish").click();
    ExpectNoneClipped(*fixture.Wizard);
    QVERIFY(QTest::qWaitFor([&] { return fixture.Wizard->CurrentPage() == 7; }, 30000));
    QVERIFY(fixture.Child<QLabel>("lblPhotographsWithoutImages").isVisible());
    ExpectNoneClipped(*fixture.Wizard);
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-7-finished-page-large-dark"));
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::WindowsFitTest)
#include "windowsfit_test.moc"
