#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/wizard/generate.h"
#include "mainwindowfixture.h"
#include "platform/filesystem.h"

namespace folivant::test {

namespace {

// Runs `step` on the wizard once it is the modal window; the wizard's own event
// loop keeps running meanwhile, so its timer ticks between the polls.
void WhenWizardShows(const std::function<void(TfrmGenerate&)>& step) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
    auto* wizard = qobject_cast<TfrmGenerate*>(QApplication::activeModalWidget());
    if (!wizard) return;
    poll->deleteLater();
    poll->stop();
    step(*wizard);
  });
  poll->start(10);
}

// Clicks "Close This Window" once the run has reached the finished page.
void CloseWhenFinished(TfrmGenerate& wizard) {
  auto* poll = new QTimer(&wizard);
  QObject::connect(poll, &QTimer::timeout, &wizard, [poll, &wizard] {
    if (wizard.CurrentPage() != 7) return;
    poll->stop();
    wizard.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
  });
  poll->start(10);
}

}  // namespace

class MainWindowGenerateTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void generateMakesTheAlbumThroughTheWizardWithANewWizardEachTime() {
    TMainWindowFixture fixture;
    QTemporaryDir home;
    // The album goes onto this desktop, never the user's own.
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_DESKTOP_DIR", (home.path() + QStringLiteral("/Desktop")).toLocal8Bit());
    fixture.Start();
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("quay.jpg")), fixture.WriteJpeg(QStringLiteral("pier.jpg"))});
    fixture.Window().Album().Title = "Seaside";

    const TfrmGenerate* first = nullptr;
    WhenWizardShows([&](TfrmGenerate& wizard) {
      first = &wizard;
      QCOMPARE(wizard.CurrentPage(), 1);
      QCOMPARE(wizard.findChild<QLineEdit*>(QStringLiteral("edtTitle"))->text(), QStringLiteral("Seaside"));
      wizard.findChild<QPushButton*>(QStringLiteral("btnFinish"))->click();
      CloseWhenFinished(wizard);
    });
    fixture.Trigger("itmGenerate");
    QVERIFY(first != nullptr);
    const std::string folder = home.path().toStdString() + "/Desktop/Seaside/";
    QCOMPARE(fixture.Window().Album().Settings.OutputDirectory, folder);
    for (const char* name : {"index.html", "main.css", "Seaside.alb", "quay.jpg", "quay_small.jpg", "quay.html",
                             "pier.jpg", "pier_small.jpg", "pier.html"})
      QVERIFY2(FileExists(folder + name), name);
    QVERIFY(fixture.Window().Album().FileName.empty());  // Save still asks for the album's own file

    bool opened_again = false;
    WhenWizardShows([&](TfrmGenerate& wizard) {
      opened_again = true;
      QCOMPARE(wizard.CurrentPage(), 1);
      QVERIFY(wizard.Run() == nullptr);
      QCOMPARE(wizard.findChild<QLineEdit*>(QStringLiteral("edtTitle"))->text(), QStringLiteral("Seaside"));
      wizard.reject();
    });
    fixture.Trigger("itmGenerate");
    QVERIFY(opened_again);
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void cancelGivesBackTheSettingsAndFinishKeepsThemAsOneStep() {
    TMainWindowFixture fixture;
    QTemporaryDir home;
    qputenv("XDG_DESKTOP_DIR", (home.path() + QStringLiteral("/Desktop")).toLocal8Bit());
    fixture.Start();
    fixture.AddPhotos({fixture.WriteJpeg(QStringLiteral("quay.jpg"))});
    fixture.Dialogs.FilesToSave = {fixture.PhotoFolder.filePath(QStringLiteral("trip.alb"))};
    fixture.Trigger("itmSave");
    TAlbum& album = fixture.Window().Album();
    const std::string title = album.Title;
    const auto retitle = [](TfrmGenerate& wizard) {
      wizard.findChild<QLineEdit*>(QStringLiteral("edtTitle"))->setText(QStringLiteral("Seaside"));
    };

    WhenWizardShows([&](TfrmGenerate& wizard) {
      retitle(wizard);
      wizard.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    fixture.Trigger("itmGenerate");
    QCOMPARE(album.Title, title);
    QVERIFY(album.Saved);
    QCOMPARE(fixture.Child<QAction>("itmUndo").text(), QStringLiteral("&Undo Add Photo"));

    WhenWizardShows([&](TfrmGenerate& wizard) {
      retitle(wizard);
      wizard.findChild<QPushButton*>(QStringLiteral("btnFinish"))->click();
      CloseWhenFinished(wizard);
    });
    fixture.Trigger("itmGenerate");
    QCOMPARE(album.Title, std::string("Seaside"));
    QVERIFY(!album.Saved);
    QCOMPARE(fixture.Child<QAction>("itmUndo").text(), QStringLiteral("&Undo Album Settings"));
    fixture.Trigger("itmUndo");
    QCOMPARE(album.Title, title);
    QVERIFY(album.Settings.OutputDirectory.empty());
    QVERIFY(album.Saved);
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowGenerateTest)
#include "mainwindow_generate_test.moc"
