// What you see is what you act on, and every change can be undone: the main
// window driven with the keys and commands a user takes.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "app/shared/photopreview.h"
#include "mainwindowfixture.h"

namespace folivant::test {

class MainWindowUndoTest : public QObject {
  Q_OBJECT

  // Photographs of one colour each, named after it, added through "Add Photo".
  static void AddColoredPhotos(TMainWindowFixture& fixture, const QList<QPair<QString, uint32_t>>& photos) {
    QStringList paths;
    for (const auto& [name, color] : photos)
      paths << fixture.WriteJpeg(name + QStringLiteral(".jpg"), 16, 16, [color = color](int, int) { return color; });
    fixture.AddPhotos(paths);
  }

  static QRgb PreviewColor(TMainWindowFixture& fixture) {
    return fixture.Child<TPhotoPreview>("imgPhotoPreview").Picture().pixel(8, 8) & 0xFFFFFF;
  }

  // Keys go where the user's would: to the focused control of the active window.
  static void Press(TMainWindowFixture& fixture, QWidget& target, QKeySequence::StandardKey key) {
    QApplication::setActiveWindow(&fixture.Window());
    target.setFocus();
    QTest::keySequence(&target, QKeySequence(key));
  }

 private Q_SLOTS:
  void removeAfterNextPhotoRemovesThePhotoOnScreen() {
    TMainWindowFixture fixture;
    fixture.Start();
    AddColoredPhotos(fixture, {{"Evening glow", 0xFF0000}, {"Midday", 0x0000FF}, {"Night", 0x00FF00}});
    fixture.SetCurrentRow(0);  // a click on "Evening glow"
    QApplication::setActiveWindow(&fixture.Window());
    fixture.List().setFocus();
    QTest::keyClick(&fixture.List(), Qt::Key_Right, Qt::ControlModifier);  // Next Photo
    QCOMPARE(PreviewColor(fixture) >> 16, 0u);                             // "Midday", blue, is on screen
    QTest::keyClick(&fixture.List(), Qt::Key_Delete);
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("Evening glow.jpg"), QStringLiteral("Night.jpg")}));
  }

  void undoPutsARemovedPhotoBackWithItsTextsAndRedoRemovesItAgain() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddColoredPhotos(fixture, {{"a", 0xFF0000}, {"b", 0x0000FF}, {"c", 0x00FF00}});
    fixture.SetCurrentRow(1);
    auto& title = fixture.Child<QLineEdit>("edtTitle");
    auto& caption = fixture.Child<QPlainTextEdit>("mmoCaption");
    title.setFocus();
    QTest::keyClicks(&title, QStringLiteral("Harbour"));
    caption.setFocus();
    QTest::keyClicks(&caption, QStringLiteral("Boats at dusk"));
    QCOMPARE(fixture.Child<QAction>("itmUndo").text(), QStringLiteral("&Undo Edit Caption"));
    fixture.SetCurrentRow(2);  // the user goes on to another photograph ...
    fixture.SetCurrentRow(1);  // ... and back, then removes "Harbour"
    QTest::keyClick(&fixture.List(), Qt::Key_Delete);
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.jpg")}));

    Press(fixture, fixture.List(), QKeySequence::Undo);
    QCOMPARE(fixture.Rows(),
             (QStringList{QStringLiteral("a.jpg"), QStringLiteral("Harbour"), QStringLiteral("c.jpg")}));
    QCOMPARE(window.Album().Photographs[1].Caption, "Boats at dusk");
    QCOMPARE(fixture.SelectedRows(), QList<int>{1});
    QCOMPARE(fixture.CurrentRow(), 1);
    QCOMPARE(title.text(), QStringLiteral("Harbour"));
    QCOMPARE(caption.toPlainText(), QStringLiteral("Boats at dusk"));
    QCOMPARE(PreviewColor(fixture) >> 16, 0u);
    QCOMPARE(fixture.Child<QAction>("itmRedo").text(), QStringLiteral("&Redo Remove Photo"));

    Press(fixture, fixture.List(), QKeySequence::Redo);
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.jpg")}));
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void undoingBackToTheSavedAlbumClearsTheUnsavedMark() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddColoredPhotos(fixture, {{"a", 0xFF0000}});
    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("trip.alb"))};
    fixture.Trigger("itmSave");
    QVERIFY(!window.isWindowModified());

    // A title typed is one step, undone from within the field with the usual key.
    auto& title = fixture.Child<QLineEdit>("edtTitle");
    title.setFocus();
    QTest::keyClicks(&title, QStringLiteral("Quay"));
    QVERIFY(window.isWindowModified());
    Press(fixture, title, QKeySequence::Undo);
    QCOMPARE(title.text(), QString());
    QVERIFY(!window.isWindowModified());
    QVERIFY(window.Album().Saved);
    QVERIFY(fixture.Child<QAction>("itmUndo").isEnabled());  // the addition, before the save

    Press(fixture, title, QKeySequence::Redo);
    QCOMPARE(window.Album().Photographs[0].Title, "Quay");
    QVERIFY(window.isWindowModified());
  }

  void rotateTurnsEveryHighlightedPhoto() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    AddColoredPhotos(fixture, {{"a", 0xFF0000}, {"b", 0x0000FF}, {"c", 0x00FF00}});
    fixture.Select({0, 2});
    QCOMPARE(fixture.Child<QLabel>("lblStatus").text(), QStringLiteral("3 photographs, 2 selected"));
    fixture.Trigger("itmRotateRight");
    const TPhotographList& photos = window.Album().Photographs;
    QCOMPARE(photos[0].Rotation, TRotation::Right);
    QCOMPARE(photos[1].Rotation, TRotation::None);
    QCOMPARE(photos[2].Rotation, TRotation::Right);
    QCOMPARE(fixture.Child<QAction>("itmUndo").text(), QStringLiteral("&Undo Rotate 2 Photos Right"));
    fixture.Trigger("itmUndo");
    QCOMPARE(photos[0].Rotation, TRotation::None);
    QCOMPARE(photos[2].Rotation, TRotation::None);
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowUndoTest)
#include "mainwindow_undo_test.moc"
