// The main window's photo preview and the repair of missing photographs.

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QtTest>

#include "../support/pipetrap.h"
#include "app/shared/photopreview.h"
#include "generator/jpegcodec.h"
#include "mainwindowfixture.h"

namespace folivant::test {

static const QString kNotFound = QStringLiteral(
    "This photograph could not be found. It may have been moved to a different folder or renamed since it was "
    "first added to this album.");
static const QString kCorrupt =
    QStringLiteral("There was an error displaying this photograph. It may be corrupted or not a proper JPEG file.");

class MainWindowPreviewTest : public QObject {
  Q_OBJECT

  // The error panel's text as it reads, without the break chances in the path.
  static QString PhotoError(TMainWindowFixture& fixture) {
    return fixture.Child<QLabel>("lblPhotoError").text().remove(QChar(0x200B));
  }

  static bool Reddish(QRgb pixel) { return qRed(pixel) > 180 && qBlue(pixel) < 80; }
  static bool Bluish(QRgb pixel) { return qBlue(pixel) > 180 && qRed(pixel) < 80; }

  // A landscape of sky, sun and hills, for the screenshots.
  static uint32_t Landscape(int x, int y) {
    const int horizon = 260 + static_cast<int>(40 * std::sin(x / 90.0));
    if ((x - 470) * (x - 470) + (y - 110) * (y - 110) < 45 * 45) return 0xFFD54A;
    if (y < horizon)
      return (static_cast<uint32_t>(110 + y / 3) << 16) | (static_cast<uint32_t>(170 + y / 6) << 8) | 240u;
    return (static_cast<uint32_t>(50 + (y - horizon) / 8) << 16) |
           (static_cast<uint32_t>(150 - (y - horizon) / 6) << 8) | 60u;
  }

 private Q_SLOTS:
  void leftRotationShowsTheTopEdgeOnTheLeft() {
    TMainWindowFixture fixture;
    fixture.Start();
    // Top half red, bottom half blue.
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("halves.jpg"), 160, 80,
                                         [](int, int y) { return y < 40 ? 0xFF0000u : 0x0000FFu; })});
    fixture.Trigger("itmRotateLeft");
    auto& preview = fixture.Child<TPhotoPreview>("imgPhotoPreview");
    QVERIFY(preview.isVisible());
    QCOMPARE(preview.Picture().size(), QSize(80, 160));

    const QImage shown = preview.grab().toImage();
    // Fitted into the area, the turned picture is twice as tall as it is wide and centred.
    const int picture_width = std::min(shown.width(), shown.height() / 2);
    const int centre_x = shown.width() / 2;
    const int centre_y = shown.height() / 2;
    QVERIFY(Reddish(shown.pixel(centre_x - picture_width / 4, centre_y)));
    QVERIFY(Bluish(shown.pixel(centre_x + picture_width / 4, centre_y)));
    // Enlarged to fill the height, with the workspace colour beside it.
    QVERIFY(Reddish(shown.pixel(centre_x - picture_width / 4, 2)));
    QVERIFY(!Reddish(shown.pixel(1, centre_y)) && !Bluish(shown.pixel(1, centre_y)));
  }

  void largePhotographsAreDecodedReducedButLookTheSame() {
    TMainWindowFixture fixture;
    fixture.Start();
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("large.jpg"), 4000, 3000, &Landscape)});
    auto& preview = fixture.Child<TPhotoPreview>("imgPhotoPreview");
    QCoreApplication::processEvents();
    QVERIFY(preview.Picture().width() < 4000);
    const QSize shown_size = preview.Picture().size().scaled(preview.size(), Qt::KeepAspectRatio);
    QVERIFY(preview.Picture().width() >= shown_size.width());

    // The reduced decode, scaled to the screen, matches a full decode scaled alike.
    const QRect shown_rect(
        QPoint((preview.width() - shown_size.width()) / 2, (preview.height() - shown_size.height()) / 2), shown_size);
    const QImage shown = preview.grab().toImage().copy(shown_rect).convertToFormat(QImage::Format_RGB32);
    const TRaster full = LoadPicture(fixture.PhotoFolder.filePath(QStringLiteral("large.jpg")).toStdString());
    const QImage reference =
        QImage(reinterpret_cast<const uchar*>(full.Pixels.data()), full.Width, full.Height, QImage::Format_RGB32)
            .scaled(shown_size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int64_t difference = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
        difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
      }
    const double mean = static_cast<double>(difference) / (3.0 * shown.width() * shown.height());
    QVERIFY2(mean < 2.0, qPrintable(QString::number(mean)));
  }

  void missingPhotographIsRepairedWithChooseAnotherPhoto() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const QString present = fixture.WriteJpeg(QStringLiteral("present.jpg"), 640, 480, &Landscape);
    const QString missing = fixture.PhotoFolder.filePath(QStringLiteral("moved.jpg"));
    fixture.AddPhotos({present, missing});
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("present.jpg"), QStringLiteral("[?] moved.jpg")}));
    QVERIFY(fixture.Child<QWidget>("pnlPhotoError").isVisible());
    QVERIFY(!fixture.Child<QWidget>("pnlPhoto").isVisible());
    QCOMPARE(PhotoError(fixture), kNotFound + QStringLiteral("\n\n") + missing);
    QVERIFY(fixture.Child<QWidget>("pnlError").isVisible());
    SaveScreenshot(window, QStringLiteral("missing-photo"));

    window.Album().Saved = true;
    const QString found = fixture.WriteJpeg(QStringLiteral("found.jpg"), 640, 480, &Landscape);
    fixture.Dialogs.FilesToOpen.push_back({found});
    fixture.Child<QAbstractButton>("btnLocate").click();
    // The dialog offers the missing file's own name, and the repair names what it found.
    QCOMPARE(fixture.Dialogs.InitialPaths.back(), missing);
    QCOMPARE(fixture.Dialogs.Informed, QStringList{QStringLiteral("The photograph now comes from ") + found + "."});
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("present.jpg"), QStringLiteral("found.jpg")}));
    QVERIFY(fixture.Child<QWidget>("pnlPhoto").isVisible());
    QVERIFY(!fixture.Child<QWidget>("pnlPhotoError").isVisible());
    QVERIFY(!fixture.Child<QWidget>("pnlError").isVisible());
    QVERIFY(!window.Album().Saved);
  }

  void findMissingPhotosLooksInTheChosenFolder() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    fixture.WriteJpeg(QStringLiteral("one.jpg"));
    fixture.AddPhotos({QStringLiteral("/gone/one.jpg"), QStringLiteral("/gone/two.jpg")});
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("[?] one.jpg"), QStringLiteral("[?] two.jpg")}));

    // Cancelled: nothing changes, but the display is refreshed.
    fixture.Dialogs.Folders = {QString()};
    fixture.Child<QAbstractButton>("btnMissingPhotos").click();
    QCOMPARE(fixture.Dialogs.FolderPrompts,
             QStringList{QStringLiteral("Folivant will search for your missing photos in the folder you choose.")});
    QCOMPARE(window.Album().Photographs[0].FileName, "/gone/one.jpg");
    QVERIFY(fixture.Dialogs.Informed.isEmpty());

    fixture.Dialogs.Folders = {fixture.PhotoFolder.path()};
    fixture.Child<QAbstractButton>("btnMissingPhotos").click();
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("one.jpg"), QStringLiteral("[?] two.jpg")}));
    QCOMPARE(fixture.Dialogs.Informed, QStringList{QStringLiteral("Found 1 of 2 missing photographs in ") +
                                                   fixture.PhotoFolder.path() + QStringLiteral(":\none.jpg")});
    QCOMPARE(window.Album().Photographs[1].FileName,
             fixture.PhotoFolder.filePath(QStringLiteral("two.jpg")).toStdString());
    QVERIFY(fixture.Child<QWidget>("pnlError").isVisible());
  }

  void anAlbumWhoseShownPhotographIsANamedPipeOpens() {
    TMainWindowFixture fixture;
    const QString pipe = fixture.PhotoFolder.filePath(QStringLiteral("pipe.jpg"));
    const QString album_path = fixture.PhotoFolder.filePath(QStringLiteral("piped.alb"));
    {
      TAlbum album;
      album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(pipe.toStdString());
      album.FileName = album_path.toStdString();
      album.SaveToFile();
    }
    TPipeTrap trap(pipe.toStdString(), std::chrono::seconds(3));
    TfrmFolivant& window = fixture.Start({album_path});
    QVERIFY2(!trap.Release(), "the window waited on the named pipe");
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.Rows(), QStringList{QStringLiteral("[?] pipe.jpg")});
    QCOMPARE(PhotoError(fixture), kNotFound + QStringLiteral("\n\n") + pipe);
  }

  void photographsTakeTheirTurnFromTheirOrientationWhenTheyGetTheirFile() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    // Top half red, bottom half blue, stored sideways as phones store a portrait: upright, red is on the right.
    const QString phone = fixture.WriteJpeg(QStringLiteral("phone.jpg"), 160, 80,
                                            [](int, int y) { return y < 40 ? 0xFF0000u : 0x0000FFu; });
    QCOMPARE(QProcess::execute(QStringLiteral("exiftool"), {QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                                                            QStringLiteral("-IFD0:Orientation#=6"), phone}),
             0);
    fixture.AddPhotos({fixture.PhotoFolder.filePath(QStringLiteral("gone.jpg")), phone});
    QCOMPARE(window.Album().Photographs[1].Rotation, TRotation::Right);
    const QImage& picture = fixture.Child<TPhotoPreview>("imgPhotoPreview").Picture();
    QCOMPARE(picture.size(), QSize(80, 160));
    QVERIFY(Reddish(picture.pixel(70, 80)) && Bluish(picture.pixel(10, 80)));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(phone)});
    QWidget* list = fixture.List().viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &drop);
    QCOMPARE(window.Album().Photographs.Count(), 3);
    QCOMPARE(window.Album().Photographs[2].Rotation, TRotation::Right);

    fixture.SetCurrentRow(0);
    fixture.Dialogs.FilesToOpen.push_back({phone});
    fixture.Child<QAbstractButton>("btnLocate").click();
    QCOMPARE(window.Album().Photographs[0].Rotation, TRotation::Right);
  }

  void jpeFilesCannotBePreviewed() {
    TMainWindowFixture fixture;
    fixture.Start();
    const QString path = fixture.WriteJpeg(QStringLiteral("z.jpe"));
    fixture.AddPhotos({path});
    QVERIFY(fixture.Child<QWidget>("pnlPhotoError").isVisible());
    QCOMPARE(PhotoError(fixture), kCorrupt + QStringLiteral("\n\n") + path);
    QVERIFY(!fixture.Child<QWidget>("pnlError").isVisible());
  }

  void editorScreenshot() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const QString harbour = fixture.WriteJpeg(QStringLiteral("harbour.jpg"), 1200, 900, &Landscape);
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("beach.jpg"), 800, 600, &Landscape), harbour,
                       fixture.WriteJpeg(QStringLiteral("market.jpg"), 600, 800, &Landscape)});
    fixture.SetCurrentRow(1);
    fixture.Child<QLineEdit>("edtTitle").setText(QStringLiteral("Evening over the hills"));
    fixture.Child<QPlainTextEdit>("mmoCaption").setPlainText(QStringLiteral("The last light before the storm."));
    QCOMPARE(window.Album().Photographs[1].Caption, "The last light before the storm.");
    SaveScreenshot(window, QStringLiteral("editor"));
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowPreviewTest)
#include "mainwindow_preview_test.moc"
