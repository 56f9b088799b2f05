// The main window's title, recent albums and the folders its file dialogs start in.

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "mainwindowfixture.h"

namespace folivant::test {

class MainWindowFileTest : public QObject {
  Q_OBJECT

  // A home folder of its own, with a Pictures folder, and no user-dirs file.
  QTemporaryDir home_;

  static QString Title(const char* name) { return QString::fromLatin1(name) + QStringLiteral("[*] \u2014 Folivant"); }

  static QString WriteAlbum(TMainWindowFixture& fixture, const QString& name) {
    TAlbum album;
    album.FileName = fixture.PhotoFolder.filePath(name).toStdString();
    album.SaveToFile();
    return QString::fromStdString(album.FileName);
  }

  static void Open(TMainWindowFixture& fixture, const QString& path) {
    fixture.Dialogs.FilesToOpen.push_back({path});
    fixture.Trigger("itmOpen");
  }

  // The album entries of the "Recent Albums" menu as it shows when opened.
  static QList<QAction*> RecentEntries(TMainWindowFixture& fixture) {
    auto& menu = fixture.Child<QMenu>("mnuRecentAlbums");
    Q_EMIT menu.aboutToShow();
    QList<QAction*> entries;
    for (QAction* action : menu.actions()) {
      if (action->isSeparator()) break;
      entries << action;
    }
    return entries;
  }

  static QStringList Texts(const QList<QAction*>& entries) {
    QStringList texts;
    for (const QAction* entry : entries) texts << entry->text();
    return texts;
  }

 private Q_SLOTS:
  void initTestCase() {
    QDir(home_.path()).mkdir(QStringLiteral("Pictures"));
    qputenv("HOME", home_.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home_.filePath(QStringLiteral(".config")).toLocal8Bit());
  }

  void titleNamesTheAlbumFileAndMarksUnsavedChanges() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    QCOMPARE(window.windowTitle(), Title("Untitled"));
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("a.jpg"))});
    QVERIFY(window.isWindowModified());

    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("holiday"))};
    fixture.Trigger("itmSaveAs");
    QCOMPARE(window.windowTitle(), Title("holiday.alb"));
    QVERIFY(!window.isWindowModified());
    fixture.Child<QLineEdit>("edtTitle").setText(QStringLiteral("Harbour"));
    QVERIFY(window.isWindowModified());
    fixture.Trigger("itmSave");
    QVERIFY(!window.isWindowModified());

    fixture.Trigger("itmNew");
    QCOMPARE(window.windowTitle(), Title("Untitled"));
    Open(fixture, fixture.PhotoFolder.filePath(QStringLiteral("holiday.alb")));
    QCOMPARE(window.windowTitle(), Title("holiday.alb"));
    QVERIFY(!window.isWindowModified());

    // A Save As that fails has named the album all the same.
    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("no-folder/trip.alb"))};
    fixture.Trigger("itmSaveAs");
    QCOMPARE(fixture.Dialogs.Errors.size(), 1);
    QCOMPARE(window.windowTitle(), Title("trip.alb"));
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void recentAlbumsKeepTheLastEightOpenedOrSaved() {
    TMainWindowFixture fixture;
    fixture.Start();
    QVERIFY(!fixture.Child<QMenu>("mnuRecentAlbums").menuAction()->isEnabled());
    QStringList albums;
    for (int i = 1; i <= 9; ++i) albums << WriteAlbum(fixture, QStringLiteral("a%1.alb").arg(i));
    for (const QString& album : albums) Open(fixture, album);
    QCOMPARE(Texts(RecentEntries(fixture)), (QStringList{"&1 a9.alb", "&2 a8.alb", "&3 a7.alb", "&4 a6.alb",
                                                         "&5 a5.alb", "&6 a4.alb", "&7 a3.alb", "&8 a2.alb"}));
    QCOMPARE(RecentEntries(fixture).front()->toolTip(), albums[8]);

    // A saved album goes first; a missing one shows greyed until it is removed.
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("p.jpg"))});
    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("saved.alb"))};
    fixture.Trigger("itmSaveAs");
    QFile::remove(albums[7]);
    QList<QAction*> entries = RecentEntries(fixture);
    QCOMPARE(Texts(entries).mid(0, 3), (QStringList{"&1 saved.alb", "&2 a9.alb", "&3 a8.alb"}));
    QVERIFY(entries[1]->isEnabled());
    QVERIFY(!entries[2]->isEnabled());
    fixture.Trigger("itmRemoveMissingAlbums");
    QCOMPARE(Texts(RecentEntries(fixture)).mid(0, 3), (QStringList{"&1 saved.alb", "&2 a9.alb", "&3 a7.alb"}));
    QVERIFY(!fixture.Child<QAction>("itmRemoveMissingAlbums").isEnabled());

    // Opening one leaves unsaved work the way Open does.
    fixture.Child<QLineEdit>("edtTitle").setText(QStringLiteral("changed"));
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Cancel};
    RecentEntries(fixture)[2]->trigger();
    QCOMPARE(fixture.Window().Album().FileName,
             fixture.PhotoFolder.filePath(QStringLiteral("saved.alb")).toStdString());
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Discard};
    RecentEntries(fixture)[2]->trigger();
    QCOMPARE(fixture.Window().Album().FileName, albums[6].toStdString());
    QCOMPARE(fixture.Dialogs.Asked.size(), 2);

    // The list is kept in the settings file for the next start.
    fixture.Stop();
    QCOMPARE(fixture.Setting("RecentAlbums", "File1"), albums[6].toStdString());
    fixture.Start();
    QCOMPARE(Texts(RecentEntries(fixture)).mid(0, 2), (QStringList{"&1 a7.alb", "&2 saved.alb"}));
    fixture.Trigger("itmClearRecentAlbums");
    QVERIFY(RecentEntries(fixture).isEmpty());
    QVERIFY(!fixture.Child<QMenu>("mnuRecentAlbums").menuAction()->isEnabled());
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void fileDialogsStartInTheFolderLastUsedForTheirKind() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const QString pictures = home_.filePath(QStringLiteral("Pictures"));
    const QString photo = fixture.WriteJpeg(QStringLiteral("a.jpg"));
    fixture.AddPhotos({photo});
    fixture.Dialogs.Folders = {QString()};
    fixture.Trigger("itmAddFolderOfPhotos");
    // A new album is offered a name made from its title.
    window.Album().Title = "Holiday";
    fixture.Dialogs.FilesToSave = {QString()};
    fixture.Trigger("itmSaveAs");
    QCOMPARE(fixture.Dialogs.InitialPaths,
             (QStringList{pictures, fixture.PhotoFolder.path(), pictures + QStringLiteral("/Holiday.alb")}));

    QDir(fixture.PhotoFolder.path()).mkdir(QStringLiteral("albums"));
    const QString album = fixture.PhotoFolder.filePath(QStringLiteral("albums/trip.alb"));
    fixture.Dialogs.FilesToSave = {album};
    fixture.Trigger("itmSaveAs");
    fixture.Dialogs.InitialPaths.clear();
    fixture.Dialogs.FilesToOpen.push_back({});
    fixture.Trigger("itmOpen");
    fixture.Dialogs.FilesToSave = {QString()};
    fixture.Trigger("itmSaveAs");
    QCOMPARE(fixture.Dialogs.InitialPaths,
             (QStringList{fixture.PhotoFolder.filePath(QStringLiteral("albums")), album}));
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowFileTest)
#include "mainwindow_file_test.moc"
