// The photo list's thumbnails: made in the background, kept with their
// photographs when rows move, and icons for files without a thumbnail.

#include <QListView>
#include <QtTest>
#include <fstream>

#include "app/shared/thumbnailloader.h"
#include "mainwindowfixture.h"

namespace folivant::test {

class MainWindowThumbnailsTest : public QObject {
  Q_OBJECT

  static QImage IconImage(const QIcon& icon) {
    return icon.pixmap(TPhotoListThumbnails::kIconSide).toImage().convertToFormat(QImage::Format_RGB32);
  }
  // The colour of an icon's middle, 0xRRGGBB with each channel rounded to 0 or 255.
  static QRgb MiddleColor(const QIcon& icon) {
    const QImage image = IconImage(icon);
    if (image.isNull()) return 0x123456;
    const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2);
    const auto level = [](int channel) { return channel > 127 ? 255 : 0; };
    return qRgb(level(qRed(pixel)), level(qGreen(pixel)), level(qBlue(pixel))) & 0xFFFFFF;
  }

 private Q_SLOTS:
  void rowsKeepTheThumbnailsOfTheirPhotographs() {
    TMainWindowFixture fixture;
    fixture.Start();
    const auto solid = [&](const char* name, uint32_t color) {
      return fixture.WriteJpeg(QString::fromLatin1(name), 160, 120, [color](int, int) { return color; });
    };
    const QString damaged = fixture.PhotoFolder.filePath(QStringLiteral("damaged.jpg"));
    std::ofstream(damaged.toStdString()) << "no picture";
    fixture.AddPhotos({solid("red.jpg", 0xFF0000), solid("green.jpg", 0x00FF00), solid("blue.jpg", 0x0000FF),
                       fixture.PhotoFolder.filePath(QStringLiteral("gone.jpg")), damaged});
    auto& list = fixture.List();
    auto* thumbnails = list.findChild<TPhotoListThumbnails*>();
    QVERIFY(thumbnails);
    QTRY_VERIFY(thumbnails->AllArrived());

    const auto colors = [&] {
      QList<QRgb> shown;
      for (int row = 0; row < 3; ++row) shown << MiddleColor(thumbnails->RowIcon(row));
      return shown;
    };
    QCOMPARE(colors(), (QList<QRgb>{0xFF0000, 0x00FF00, 0x0000FF}));
    QCOMPARE(IconImage(thumbnails->RowIcon(3)), IconImage(MissingPhotoIcon()));
    QCOMPARE(IconImage(thumbnails->RowIcon(4)), IconImage(NoPreviewIcon()));
    QVERIFY(IconImage(MissingPhotoIcon()) != IconImage(NoPreviewIcon()));
    SaveScreenshot(fixture.Window(), QStringLiteral("main-window-thumbnails"));

    // Red moves down below green; then green (now first) is removed.
    fixture.SetCurrentRow(0);
    fixture.Trigger("itmMoveDown");
    QCOMPARE(colors(), (QList<QRgb>{0x00FF00, 0xFF0000, 0x0000FF}));
    fixture.SetCurrentRow(0);
    fixture.Trigger("itmRemovePhoto");
    QCOMPARE(MiddleColor(thumbnails->RowIcon(0)), QRgb(0xFF0000));
    QCOMPARE(MiddleColor(thumbnails->RowIcon(1)), QRgb(0x0000FF));
    QCOMPARE(IconImage(thumbnails->RowIcon(2)), IconImage(MissingPhotoIcon()));

    // A turned photograph's thumbnail is turned too.
    fixture.SetCurrentRow(0);
    fixture.Trigger("itmRotateRight");
    const QImage turned = IconImage(thumbnails->RowIcon(0));
    QVERIFY2(turned.height() > turned.width(), "a landscape turned a quarter is upright");
  }

  void aChangedFileGetsANewThumbnail() {
    TMainWindowFixture fixture;
    fixture.Start();
    const QString path = fixture.WriteJpeg(QStringLiteral("a.jpg"), 64, 48, [](int, int) { return 0xFF0000u; });
    fixture.AddPhotos({path});
    auto* thumbnails = fixture.List().findChild<TPhotoListThumbnails*>();
    QTRY_VERIFY(thumbnails->AllArrived());
    QCOMPARE(MiddleColor(thumbnails->RowIcon(0)), QRgb(0xFF0000));
    // Another size of file is another picture, even within the same second.
    fixture.WriteJpeg(QStringLiteral("a.jpg"), 96, 48, [](int, int) { return 0x0000FFu; });
    QTRY_COMPARE(MiddleColor(thumbnails->RowIcon(0)), QRgb(0x0000FF));
  }

  void closingWhileDecodingIsSafe() {
    TMainWindowFixture fixture;
    fixture.Start();
    QStringList paths;
    for (int i = 0; i < 60; ++i)
      paths << fixture.WriteJpeg(QStringLiteral("p%1.jpg").arg(i), 1200, 900, [](int x, int y) { return x ^ y; });
    fixture.AddPhotos(paths);
    QCoreApplication::processEvents();
    fixture.Stop();
    // The decodes that were running end, and hand their results to a store that still exists.
    QTRY_COMPARE(TThumbnailStore::Shared().PendingCount(), 0);
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowThumbnailsTest)
#include "mainwindow_thumbnails_test.moc"
