// The main window's album editing commands.

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/shared/photopreview.h"
#include "mainwindowfixture.h"

namespace folivant::test {

static const QString kSaveQuestion =
    QStringLiteral("The current album has not been saved. Do you want to save your changes?");

class MainWindowCommandsTest : public QObject {
  Q_OBJECT

  // Adds photographs "0.jpg" to "<count-1>.jpg".
  static void AddNumberedPhotos(TMainWindowFixture& fixture, int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i) paths << fixture.WriteJpeg(QString::number(i) + QStringLiteral(".jpg"));
    fixture.AddPhotos(paths);
  }

  static QStringList Names(std::initializer_list<int> numbers) {
    QStringList names;
    for (int number : numbers) names << QString::number(number) + QStringLiteral(".jpg");
    return names;
  }

 private Q_SLOTS:
  void addPhotoShowsTheLastPhotoAndMarksModified() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 3);
    QCOMPARE(fixture.Dialogs.FileFilters.back(),
             QStringLiteral("JPEG Image File (*.jpg; *.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe"));
    QCOMPARE(fixture.Rows(), Names({0, 1, 2}));
    QCOMPARE(fixture.CurrentRow(), 2);
    QVERIFY(fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
    QVERIFY(fixture.Child<QWidget>("lstPhotos").isVisible());
    QVERIFY(fixture.Child<QWidget>("pnlSideBar").isEnabled());
    QVERIFY(fixture.Child<QAction>("itmNextPhoto").isEnabled());
    QVERIFY(!window.Album().Saved);

    // A cancelled dialog changes nothing.
    window.Album().Saved = true;
    fixture.Dialogs.FilesToOpen.push_back({});
    fixture.Trigger("itmAddPhoto");
    QCOMPARE(fixture.Rows().size(), 3);
    QVERIFY(window.Album().Saved);
  }

  void moveUpMovesSelectedRunsUntilTheyReachTheTop() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 5);
    auto& list = fixture.List();
    fixture.Select({1, 2, 4});
    window.Album().Saved = true;

    fixture.Trigger("itmMoveUp");
    QCOMPARE(fixture.Rows(), Names({1, 2, 0, 4, 3}));
    QCOMPARE(fixture.SelectedRows(), (QList<int>{0, 1, 3}));
    QCOMPARE(fixture.CurrentRow(), 3);
    QCOMPARE(window.currentPhoto(), &window.Album().Photographs[3]);
    QVERIFY(!window.Album().Saved);

    // The second time through the window-wide shortcut.
    QApplication::setActiveWindow(&window);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(fixture.Rows(), Names({1, 2, 4, 0, 3}));
    QCOMPARE(fixture.SelectedRows(), (QList<int>{0, 1, 2}));
    QVERIFY(!fixture.Child<QAction>("itmMoveUp").isEnabled());
    QVERIFY(fixture.Child<QAction>("itmMoveDown").isEnabled());
    QCOMPARE(window.Album().Photographs[0].FileName,
             fixture.PhotoFolder.filePath(QStringLiteral("1.jpg")).toStdString());
  }

  void moveUpAtTheTopChangesNothingToUndo() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 3);
    fixture.Select({0, 1});
    window.Album().Saved = true;
    fixture.Child<QAbstractButton>("btnMoveUp").click();
    QCOMPARE(fixture.Rows(), Names({0, 1, 2}));
    QVERIFY(window.Album().Saved);
    QCOMPARE(fixture.Child<QAction>("itmUndo").text(), QStringLiteral("&Undo Add 3 Photos"));
  }

  void moveDownKeepsTheFocusWithItsPhotograph() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 4);
    fixture.Select({0, 2});
    fixture.SetCurrentRow(2, QItemSelectionModel::NoUpdate);
    fixture.Trigger("itmMoveDown");
    QCOMPARE(fixture.Rows(), Names({1, 0, 3, 2}));
    QCOMPARE(fixture.CurrentRow(), 3);
    QCOMPARE(window.currentPhoto(), &window.Album().Photographs[3]);
  }

  void removeTakesExactlyTheSelectedRows() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 5);
    auto& list = fixture.List();
    fixture.Select({0, 3});
    fixture.Trigger("itmRemovePhoto");
    QCOMPARE(fixture.Rows(), Names({1, 2, 4}));
    QCOMPARE(window.Album().Photographs.Count(), 3);
    QCOMPARE(fixture.CurrentRow(), 0);

    // The focus row alone is no selection; Del in the list removes a selection.
    list.clearSelection();
    fixture.Trigger("itmRemovePhoto");
    QCOMPARE(fixture.Rows().size(), 3);
    fixture.Select({2});
    QTest::keyClick(&list, Qt::Key_Delete);
    QCOMPARE(fixture.Rows(), Names({1, 2}));

    // Removing every photograph keeps the editor in view.
    fixture.Select({0, 1});
    fixture.Trigger("itmRemovePhoto");
    QVERIFY(fixture.Rows().isEmpty());
    QVERIFY(fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
    QVERIFY(fixture.Child<QAction>("itmRemovePhoto").isEnabled());
  }

  void nextAndPreviousWrapAround() {
    TMainWindowFixture fixture;
    fixture.Start();
    AddNumberedPhotos(fixture, 3);
    fixture.SetCurrentRow(2);
    fixture.Trigger("itmNextPhoto");
    QCOMPARE(fixture.CurrentRow(), 0);
    QCOMPARE(fixture.SelectedRows(), QList<int>{0});
    QCOMPARE(fixture.Child<QLineEdit>("edtTitle").text(), QString());
    fixture.Trigger("itmPrevPhoto");
    QCOMPARE(fixture.CurrentRow(), 2);
    fixture.Trigger("itmPrevPhoto");
    QCOMPARE(fixture.CurrentRow(), 1);
    QCOMPARE(fixture.SelectedRows(), QList<int>{1});
  }

  void rotationsAddUp() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 2);
    TPhotograph& photo = *window.currentPhoto();
    fixture.Trigger("itmRotateLeft");
    fixture.Trigger("popitmRotateLeft");
    QCOMPARE(photo.Rotation, TRotation::UpsideDown);
    fixture.Trigger("itmRotateLeft");
    fixture.Trigger("popitmRotateRight");
    QCOMPARE(photo.Rotation, TRotation::UpsideDown);
    fixture.Trigger("popitmRotateUpsideDown");
    QCOMPARE(photo.Rotation, TRotation::None);
    QCOMPARE(window.Album().Photographs[0].Rotation, TRotation::None);
    QVERIFY(fixture.Child<QWidget>("pnlSideBar").isEnabled());
  }

  void titleEditsRecaptionTheRowAndMarkModified() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 2);
    window.Album().Saved = true;
    // Showing another photograph fills the fields without marking the album.
    fixture.Trigger("itmNextPhoto");
    QVERIFY(window.Album().Saved);
    fixture.Child<QLineEdit>("edtTitle").setText(QStringLiteral("Harbour"));
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("Harbour"), QStringLiteral("1.jpg")}));
    QCOMPARE(window.Album().Photographs[0].Title, "Harbour");
    QVERIFY(!window.Album().Saved);
  }

  void newAndOpenAnsweredCancelKeepEverything() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 2);
    const TAlbum* album = &window.Album();
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Cancel, TSaveAnswer::Cancel};
    fixture.Trigger("itmNew");
    fixture.Trigger("itmOpen");
    QCOMPARE(fixture.Dialogs.Asked, QStringList(2, kSaveQuestion));
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
    QCOMPARE(&window.Album(), album);
    QCOMPARE(fixture.Rows(), Names({0, 1}));
    QVERIFY(!window.Album().Saved);

    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Discard};
    fixture.Trigger("itmNew");
    QVERIFY(fixture.Rows().isEmpty());
    QVERIFY(window.Album().Saved);
    QVERIFY(fixture.Child<QWidget>("pnlStart").isVisible());
  }

  void aDamagedAlbumOpenedOverAnOpenOneChangesNothing() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 3);
    const QString saved = fixture.PhotoFolder.filePath(QStringLiteral("trip.alb"));
    fixture.Dialogs.FilesToSave = {saved};
    fixture.Trigger("itmSaveAs");
    fixture.Trigger("itmPrevPhoto");
    fixture.Child<QLineEdit>("edtTitle").setText(QStringLiteral("Harbour"));
    const TAlbum* album = &window.Album();
    const QStringList rows = fixture.Rows();
    const QImage picture = fixture.Child<TPhotoPreview>("imgPhotoPreview").Picture();
    QVERIFY(!picture.isNull());

    const QString damaged = fixture.PhotoFolder.filePath(QStringLiteral("damaged.alb"));
    std::ofstream(damaged.toStdString()) << "<folivant version=\"1.8\"><title>Half";
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Discard};
    fixture.Dialogs.FilesToOpen.push_back({damaged});
    fixture.Trigger("itmOpen");

    QCOMPARE(fixture.Dialogs.Errors, QStringList{QStringLiteral("Can't open the album \"") + damaged +
                                                 QStringLiteral("\": line 1: the file ends before the album does; "
                                                                "it may have been cut short.")});
    QCOMPARE(&window.Album(), album);
    QCOMPARE(window.Album().FileName, saved.toStdString());
    QVERIFY(!window.Album().Saved);
    QCOMPARE(window.Album().Photographs[1].Title, "Harbour");
    QCOMPARE(fixture.Rows(), rows);
    QCOMPARE(fixture.CurrentRow(), 1);
    QCOMPARE(fixture.Child<QLineEdit>("edtTitle").text(), QStringLiteral("Harbour"));
    QVERIFY(fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
    QVERIFY(fixture.Child<QAction>("itmRemovePhoto").isEnabled());
    QCOMPARE(fixture.Child<TPhotoPreview>("imgPhotoPreview").Picture(), picture);
  }

  void saveOfANewAlbumActsAsSaveAs() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddNumberedPhotos(fixture, 1);
    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("trip"))};
    fixture.Trigger("itmSave");
    const QString saved = fixture.PhotoFolder.filePath(QStringLiteral("trip.alb"));
    QCOMPARE(fixture.Dialogs.FileFilters.back(), QStringLiteral("Web Album Files|*.alb"));
    QCOMPARE(window.Album().FileName, saved.toStdString());
    QVERIFY(QFile::exists(saved));
    QVERIFY(window.Album().Saved);

    // Save As onto the existing file asks first; No writes nothing.
    AddNumberedPhotos(fixture, 2);
    const qint64 size_before = QFileInfo(saved).size();
    fixture.Dialogs.FilesToSave = {saved};
    fixture.Dialogs.Answers = {false};
    fixture.Trigger("itmSaveAs");
    QCOMPARE(fixture.Dialogs.Asked,
             QStringList{QStringLiteral("The file 'trip.alb' already exists. Do you want to replace it?")});
    QCOMPARE(QFileInfo(saved).size(), size_before);
    QVERIFY(!window.Album().Saved);

    // Open reads it back as saved.
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Discard};
    fixture.Dialogs.FilesToOpen.push_back({saved});
    fixture.Trigger("itmOpen");
    QCOMPARE(fixture.Rows(), Names({0}));
    QVERIFY(window.Album().Saved);
  }

  void importFolderAddsJpgThenJpegFilesOfThatFolderOnly() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    fixture.WriteJpeg(QStringLiteral("b.JPEG"));
    fixture.WriteJpeg(QStringLiteral("a.jpg"));
    fixture.WriteJpeg(QStringLiteral("c.png"));
    QDir(fixture.PhotoFolder.path()).mkdir(QStringLiteral("sub"));
    fixture.WriteJpeg(QStringLiteral("sub/d.jpg"));
    fixture.Dialogs.Folders = {fixture.PhotoFolder.path()};
    fixture.Trigger("itmAddFolderOfPhotos");
    QCOMPARE(fixture.Dialogs.FolderPrompts,
             QStringList{QStringLiteral("Select a folder containing photos that you'd like to add.")});
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.JPEG")}));
    QVERIFY(fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
    QVERIFY(!window.Album().Saved);
  }

  void importKeepsTheBytesOfFileNamesThatAreNotUtf8() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const std::string latin1 = fixture.PhotoFolder.path().toStdString() + "/caf\xE9.jpg";
    // QTemporaryDir cannot name the file to remove it.
    const struct TRemoved {
      std::string path;
      ~TRemoved() { std::filesystem::remove(path); }
    } removed{latin1};
    std::filesystem::rename(fixture.WriteJpeg(QStringLiteral("x.jpg")).toStdString(), latin1);
    fixture.Dialogs.Folders = {fixture.PhotoFolder.path()};
    fixture.Trigger("itmAddFolderOfPhotos");
    QCOMPARE(window.Album().Photographs.Count(), 1);
    QCOMPARE(window.Album().Photographs[0].FileName, latin1);
    QVERIFY(!window.Album().Photographs[0].Missing());
  }

  void importOfAFolderWithoutPhotosSaysSo() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const QString folder = fixture.PhotoFolder.filePath(QStringLiteral("empty"));
    QDir().mkpath(folder);
    fixture.Dialogs.Folders = {folder};
    fixture.Trigger("itmAddFolderOfPhotos");
    QCOMPARE(fixture.Dialogs.Messages, QStringList{QStringLiteral("Couldn't find any JPEG photos in ") + folder + '.'});
    QVERIFY(fixture.Rows().isEmpty());
    QVERIFY(window.Album().Saved);
    QVERIFY(fixture.Child<QWidget>("pnlStart").isVisible());
    QVERIFY(fixture.Child<QWidget>("pnlSideBar").isEnabled());
  }

  void dropAddsJpegFilesOnly() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    QList<QUrl> urls;
    for (const char* name : {"x.JPG", "y.png", "z.jpe"})
      urls << QUrl::fromLocalFile(fixture.WriteJpeg(QString::fromLatin1(name)));
    QMimeData data;
    data.setUrls(urls);
    QWidget* target = fixture.List().viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("x.JPG"), QStringLiteral("z.jpe")}));
    QVERIFY(!window.Album().Saved);
    QVERIFY(fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
  }

  void sortOrdersTheListAndMarksModifiedWhenTheOrderChanged() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("b.jpg")), fixture.WriteJpeg(QStringLiteral("a.jpg"))});
    window.Album().Saved = true;
    fixture.Trigger("popitmSortByFilename");
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QCOMPARE(fixture.CurrentRow(), 0);
    QVERIFY(!window.Album().Saved);
    window.Album().Saved = true;
    fixture.Trigger("popitmSortByFilename");
    QVERIFY(window.Album().Saved);
  }

  // The only highlighted row is the focus row, the preview shows its
  // photograph (each file has its own colour) and a title typed goes to it.
  static void CheckOneRowAgrees(TMainWindowFixture& fixture, int row, QRgb color) {
    QCOMPARE(fixture.SelectedRows(), QList<int>{row});
    QCOMPARE(fixture.CurrentRow(), row);
    const QRgb shown = fixture.Child<TPhotoPreview>("imgPhotoPreview").Picture().pixel(1, 1);
    QVERIFY2(std::abs(qRed(shown) - qRed(color)) + std::abs(qGreen(shown) - qGreen(color)) +
                     std::abs(qBlue(shown) - qBlue(color)) <
                 60,
             qPrintable(QString::number(shown, 16)));
    auto& title = fixture.Child<QLineEdit>("edtTitle");
    const QString before = title.text();
    title.setText(QStringLiteral("edited"));
    QCOMPARE(fixture.Window().Album().Photographs[row].Title, "edited");
    QCOMPARE(fixture.Rows()[row], QStringLiteral("edited"));
    title.setText(before);
  }

  void importSortOpenAndRemoveShowTheRowTheyHighlight() {
    TMainWindowFixture fixture;
    fixture.Start();
    const QRgb red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    const auto jpeg = [&](const char* name, QRgb color) {
      return fixture.WriteJpeg(QString::fromLatin1(name), 16, 16, [color](int, int) { return uint32_t{color}; });
    };
    fixture.AddPhotos({jpeg("c.jpg", red)});
    fixture.Select({0});
    fixture.AddPhotos({jpeg("a.jpg", green), jpeg("b.jpg", blue)});
    CheckOneRowAgrees(fixture, 2, blue);  // the last photograph added

    fixture.Trigger("popitmSortByFilename");
    CheckOneRowAgrees(fixture, 0, green);  // the first row of the new order

    fixture.Select({1});
    fixture.Trigger("itmRemovePhoto");
    CheckOneRowAgrees(fixture, 0, green);  // the new first row

    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("album.alb"))};
    fixture.Trigger("itmSave");
    fixture.Dialogs.FilesToOpen.push_back({fixture.PhotoFolder.filePath(QStringLiteral("album.alb"))});
    fixture.Trigger("itmOpen");
    CheckOneRowAgrees(fixture, 0, green);  // the first row
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowCommandsTest)
#include "mainwindow_commands_test.moc"
