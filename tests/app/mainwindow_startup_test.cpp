// The main window's start-up, tip of the day, placement and close question.

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QScreen>
#include <QtTest>
#include <fstream>

#include "mainwindowfixture.h"

namespace folivant::test {

class MainWindowStartupTest : public QObject {
  Q_OBJECT

  // Top 30, left 40, width 640 and the height given.
  static void StorePlacement(TMainWindowFixture& fixture, const std::string& height) {
    for (const auto& [value, text] :
         {std::pair<const char*, std::string>{"Top", "30"}, {"Left", "40"}, {"Width", "640"}, {"Height", height}})
      fixture.StoreSetting("WindowPos", value, text);
  }

 private Q_SLOTS:
  void firstRunIsCentredOnTheStartPageWithTipZero() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.size(), QSize(TfrmFolivant::kDesignWidth, TfrmFolivant::kDesignHeight));
    QCOMPARE(window.pos(), QPoint((screen.width() - TfrmFolivant::kDesignWidth) / 2,
                                  (screen.height() - TfrmFolivant::kDesignHeight) / 2));
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.windowTitle(), QStringLiteral("Untitled[*] \u2014 Folivant"));
    QVERIFY(!window.isWindowModified());
    QVERIFY(fixture.Child<QWidget>("pnlStart").isVisible());
    QVERIFY(!fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
    QVERIFY(!fixture.Child<QWidget>("pnlError").isVisible());
    QCOMPARE(fixture.Child<QLabel>("lblTip").text(), QStringLiteral("Tip number 0"));
    for (const char* command : {"itmRemovePhoto", "itmMoveUp", "itmMoveDown", "itmNextPhoto", "itmPrevPhoto"}) {
      QVERIFY2(!fixture.Child<QAction>(command).isEnabled(), command);
    }
    QVERIFY(window.Album().Saved);
    QVERIFY(window.Album().Photographs.Empty());
    QVERIFY(fixture.Dialogs.Asked.isEmpty());
    SaveScreenshot(window, QStringLiteral("start-page"));

    fixture.Stop();
    QCOMPARE(fixture.Setting("Settings", "CurrentTip"), "0");
    QCOMPARE(fixture.Setting("Settings", "Maximized"), "0");
    QCOMPARE(fixture.Setting("WindowPos", "Width"), std::to_string(TfrmFolivant::kDesignWidth));
  }

  void nextTipWrapsAround() {
    TMainWindowFixture fixture;
    fixture.StoreSetting("Settings", "CurrentTip", "1");
    fixture.Start();
    auto& tip = fixture.Child<QLabel>("lblTip");
    QCOMPARE(tip.text(), QStringLiteral("Tip number 2"));
    Q_EMIT fixture.Child<QLabel>("lblNextTip").linkActivated(QStringLiteral("next"));
    QCOMPARE(tip.text(), QStringLiteral("Tip number 0"));
    fixture.Stop();
    QCOMPARE(fixture.Setting("Settings", "CurrentTip"), "0");
  }

  void tipBoxFollowsTheCheckBoxAndTheTipsFile() {
    TMainWindowFixture fixture;
    fixture.Start();
    QVERIFY(fixture.Child<QWidget>("pnlTip").isVisible());
    auto& show_tips = fixture.Child<QCheckBox>("chkShowTips");
    QVERIFY(show_tips.isChecked());
    show_tips.click();
    fixture.Stop();
    QCOMPARE(fixture.Setting("Settings", "ShowTips"), "0");
    QCOMPARE(fixture.Setting("Settings", "CurrentTip"), "0");

    // Turned off: no box, and the tip index waits for the day tips are back on.
    fixture.Start();
    QVERIFY(!fixture.Child<QWidget>("pnlTip").isVisible());
    QVERIFY(fixture.Child<QWidget>("pnlStart").isVisible());
    fixture.Stop();
    QCOMPARE(fixture.Setting("Settings", "ShowTips"), "0");
    QCOMPARE(fixture.Setting("Settings", "CurrentTip"), "0");

    fixture.StoreSetting("Settings", "ShowTips", "1");
    fixture.Start();
    QVERIFY(fixture.Child<QWidget>("pnlTip").isVisible());
    QCOMPARE(fixture.Child<QLabel>("lblTip").text(), QStringLiteral("Tip number 1"));
    fixture.Stop();

    // No tips file: no box and no error text, whatever the check box says.
    QVERIFY(QFile::remove(fixture.ProgramFolder.filePath(QStringLiteral("tips.ini"))));
    fixture.Start();
    QVERIFY(!fixture.Child<QWidget>("pnlTip").isVisible());
    QVERIFY(fixture.Child<QLabel>("lblTip").text() != QStringLiteral("Error loading tips."));
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }

  void storedPlacementIsRestoredAndMaximizedKeepsIt() {
    TMainWindowFixture fixture;
    StorePlacement(fixture, "not a number");
    fixture.StoreSetting("Settings", "Maximized", "1");
    TfrmFolivant& window = fixture.Start();
    QVERIFY(window.windowState() & Qt::WindowMaximized);
    QCOMPARE(window.normalGeometry().size(), QSize(640, TfrmFolivant::kDesignHeight));
    fixture.Stop();
    QCOMPARE(fixture.Setting("Settings", "Maximized"), "1");
    QCOMPARE(fixture.Setting("WindowPos", "Top"), "30");
    QCOMPARE(fixture.Setting("WindowPos", "Width"), "640");
    QCOMPARE(fixture.Setting("WindowPos", "Height"), "not a number");
  }

  void storedPlacementIsWrittenBackWhenNotMaximized() {
    TMainWindowFixture fixture;
    StorePlacement(fixture, "480");
    TfrmFolivant& window = fixture.Start();
    QCOMPARE(window.geometry().size(), QSize(640, 480));
    window.move(50, 60);
    fixture.Stop();
    QCOMPARE(fixture.Setting("WindowPos", "Left"), "50");
    QCOMPARE(fixture.Setting("WindowPos", "Top"), "60");
    QCOMPARE(fixture.Setting("WindowPos", "Height"), "480");
  }

  void albumNamedOnTheCommandLineIsOpened() {
    TMainWindowFixture fixture;
    const QString album_path = fixture.PhotoFolder.filePath(QStringLiteral("trip.alb"));
    {
      TAlbum album;
      for (const char* name : {"one.jpg", "two.jpg"}) {
        auto photo = std::make_unique<TPhotograph>();
        photo->SetFileName(fixture.WriteJpeg(QString::fromLatin1(name)).toStdString());
        album.Photographs.Add(std::move(photo));
      }
      album.FileName = album_path.toStdString();
      album.SaveToFile();
    }
    TfrmFolivant& window = fixture.Start({album_path, QStringLiteral("ignored")});
    QCOMPARE(fixture.Rows(), (QStringList{QStringLiteral("one.jpg"), QStringLiteral("two.jpg")}));
    QCOMPARE(fixture.CurrentRow(), 0);
    QVERIFY(fixture.Child<QWidget>("pnlPhotoEdit").isVisible());
    QVERIFY(!fixture.Child<QWidget>("pnlStart").isVisible());
    QVERIFY(fixture.Child<QAction>("itmRemovePhoto").isEnabled());
    // There is another photograph to go to.
    QVERIFY(fixture.Child<QAction>("itmNextPhoto").isEnabled());
    QVERIFY(fixture.Child<QAction>("itmPrevPhoto").isEnabled());
    QVERIFY(window.Album().Saved);
    QCOMPARE(window.Album().FileName, album_path.toStdString());
  }

  void missingCommandLineAlbumIsIgnored() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start({fixture.PhotoFolder.filePath(QStringLiteral("gone.alb"))});
    QVERIFY(fixture.Child<QWidget>("pnlStart").isVisible());
    QVERIFY(window.Album().FileName.empty());
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }

  void albumThatFailsToOpenLeavesANewEmptyAlbum() {
    TMainWindowFixture fixture;
    const QString broken = fixture.PhotoFolder.filePath(QStringLiteral("broken.alb"));
    std::ofstream(broken.toStdString()) << "<folivant version=\"1.8\"><photos><photo";
    TfrmFolivant& window = fixture.Start({broken});
    QCOMPARE(fixture.Dialogs.Errors.size(), 1);
    QVERIFY(window.Album().FileName.empty());
    QVERIFY(window.Album().Photographs.Empty());
    QVERIFY(fixture.Child<QWidget>("pnlStart").isVisible());

    // Save then asks for a new name instead of writing over the broken file.
    fixture.Trigger("itmSave");
    QCOMPARE(fixture.Dialogs.Unexpected, QStringList{QStringLiteral("ChooseFileToSave")});
  }

  void closingAModifiedAlbumAsksSaveDiscardOrCancel() {
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    QVERIFY(window.close());
    QVERIFY(fixture.Dialogs.Asked.isEmpty());

    window.show();
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("a.jpg"))});
    QVERIFY(!window.Album().Saved);
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Cancel};
    QVERIFY(!window.close());
    QCOMPARE(fixture.Dialogs.Asked,
             QStringList{QStringLiteral("The current album has not been saved. Do you want to save your changes?")});
    QVERIFY(window.isVisible());
    QVERIFY(!window.Album().Saved);
    QCOMPARE(fixture.Rows(), QStringList{QStringLiteral("a.jpg")});

    // Save on a new album asks for its name; cancelling that cancels the close too.
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Save};
    fixture.Dialogs.FilesToSave = {QString()};
    QVERIFY(!window.close());
    // A save that fails keeps the window open, with the error shown.
    window.Album().FileName = fixture.PhotoFolder.filePath(QStringLiteral("no-folder/a.alb")).toStdString();
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Save};
    QVERIFY(!window.close());
    QCOMPARE(fixture.Dialogs.Errors.size(), 1);
    QVERIFY(window.isVisible());

    const QString path = fixture.PhotoFolder.filePath(QStringLiteral("a.alb"));
    window.Album().FileName = path.toStdString();
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Save};
    QVERIFY(window.close());
    QVERIFY(QFile::exists(path));
    QVERIFY(window.Album().Saved);
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());

    window.show();
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("b.jpg"))});
    fixture.Dialogs.SaveAnswers = {TSaveAnswer::Discard};
    QVERIFY(window.close());
    QCOMPARE(TAlbum::LoadFromFile(path.toStdString())->Photographs.Count(), 1);
  }

  void placementOffEveryScreenIsBroughtBack() {
    TMainWindowFixture fixture;
    for (const auto& [value, text] :
         {std::pair<const char*, const char*>{"Top", "-3000"}, {"Left", "5000"}, {"Width", "4000"}, {"Height", "480"}})
      fixture.StoreSetting("WindowPos", value, text);
    TfrmFolivant& window = fixture.Start();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window.geometry().size(), QSize(available.width(), 480));
    QCOMPARE(window.pos(), QPoint(available.x(), available.y()));
  }

  void menuCaptionsShowTheListKeys() {
    TMainWindowFixture fixture;
    fixture.Start();
    QCOMPARE(fixture.Child<QAction>("itmAddPhoto").text(), QStringLiteral("&Add Photo...\tIns"));
    QCOMPARE(fixture.Child<QAction>("itmRemovePhoto").text(), QStringLiteral("&Remove Photo\tDel"));
    QCOMPARE(fixture.Child<QAction>("itmMoveUp").shortcut(), QKeySequence(QStringLiteral("Alt+Up")));
    QCOMPARE(fixture.Child<QAction>("itmPrevPhoto").shortcut(), QKeySequence(QStringLiteral("Ctrl+Left")));
    // The offscreen platform's theme, as some desktops' themes, has no keys for Save As and Quit.
    QVERIFY(QKeySequence::keyBindings(QKeySequence::SaveAs).isEmpty());
    QVERIFY(QKeySequence::keyBindings(QKeySequence::Quit).isEmpty());
    QCOMPARE(fixture.Child<QAction>("itmSaveAs").shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    QCOMPARE(fixture.Child<QAction>("itmExit").shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCOMPARE(fixture.Child<QAction>("itmHelp").shortcut(), QKeySequence(QStringLiteral("F1")));
    QCOMPARE(fixture.Child<QAction>("itmUndo").shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowStartupTest)
#include "mainwindow_startup_test.moc"
