// The main window's help entries, web links, About box and stylesheet editor,
// driven through the menu entries, toolbar buttons and start-page links.

#include <QAbstractButton>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>

#include "mainwindowfixture.h"
#include "platform/product.h"

namespace folivant::test {
// How the user reaches a command: a menu entry, a toolbar button or a start-page link.
enum class TPlace { Menu, Toolbar, StartPage };
}  // namespace folivant::test

Q_DECLARE_METATYPE(folivant::test::TPlace)

namespace folivant::test {

namespace {

const QString kNoHelpFile = QStringLiteral(
    "The help file for Folivant could not be found. Please re-install Folivant to correct this problem.");

struct TModalSeen {
  QString ClassName;
  QWidget* Owner = nullptr;
};

}  // namespace

class MainWindowHelpTest : public QObject {
  Q_OBJECT

  // Does what the user does to reach `control` (an action or a start-page link) in `place`.
  static void Use(TMainWindowFixture& fixture, TPlace place, const char* control) {
    switch (place) {
      case TPlace::Menu: {
        auto& action = fixture.Child<QAction>(control);
        QVERIFY2(fixture.Child<QMenu>("mnuHelp").actions().contains(&action) ||
                     fixture.Child<QMenu>("mnuFile").actions().contains(&action),
                 control);
        action.trigger();
        break;
      }
      case TPlace::Toolbar: {
        QWidget* button = fixture.Child<QToolBar>("tbMain").widgetForAction(&fixture.Child<QAction>(control));
        QVERIFY2(button && button->isVisible(), control);
        QTest::mouseClick(button, Qt::LeftButton);
        break;
      }
      case TPlace::StartPage: {
        auto& link = fixture.Child<QAbstractButton>(control);
        QVERIFY2(link.isVisible(), control);
        QTest::mouseClick(&link, Qt::LeftButton);
        break;
      }
    }
  }

  // Runs `command`, which should show a modal dialog; `inside` runs while the
  // dialog is shown, then the dialog is closed through its title bar's button.
  // A command that shows nothing returns an empty class name instead of hanging.
  static TModalSeen ModalShownBy(
      const std::function<void()>& command, const std::function<void(QWidget&)>& inside = [](QWidget&) {}) {
    TModalSeen seen;
    QTimer closer;
    closer.setInterval(10);
    int ticks = 0;
    connect(&closer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal && modal->isVisible()) {
        seen = {QString::fromLatin1(modal->metaObject()->className()), modal->parentWidget()};
        inside(*modal);
        modal->close();
      } else if (++ticks > 500) {
        closer.stop();
      }
    });
    closer.start();
    command();
    closer.stop();
    return seen;
  }

  static void AddHelpRows() {
    QTest::addColumn<TPlace>("place");
    QTest::addColumn<QString>("control");
    QTest::newRow("menu Help Contents") << TPlace::Menu << "itmHelp";
    QTest::newRow("toolbar View the Help File") << TPlace::Toolbar << "itmHelp";
    QTest::newRow("start page Read the Folivant help file") << TPlace::StartPage << "lnkStartHelp";
  }

 private Q_SLOTS:
  void helpEntriesAreTheOnesTheUserSees() {
    TMainWindowFixture fixture;
    fixture.Start();
    QCOMPARE(fixture.Child<QAction>("itmHelp").text(), QStringLiteral("&Help Contents"));
    QCOMPARE(fixture.Child<QAction>("itmHelp").toolTip(), QStringLiteral("View the Help File"));
    QCOMPARE(fixture.Child<QAbstractButton>("lnkStartHelp").text(), QStringLiteral("Read the Folivant help file"));
    QCOMPARE(fixture.Child<QAction>("itmAbout").text(), QStringLiteral("&About..."));
    QCOMPARE(fixture.Child<QAction>("itmAbout").toolTip(), QStringLiteral("About Folivant"));
    QCOMPARE(fixture.Child<QAction>("itmStylesheetTemplate").text(), QStringLiteral("Edit Stylesheet &Template..."));
  }

  void helpWithoutTheHelpFileTellsItIsMissing_data() { AddHelpRows(); }
  void helpWithoutTheHelpFileTellsItIsMissing() {
    QFETCH(TPlace, place);
    QFETCH(QString, control);
    TMainWindowFixture fixture;
    fixture.Start();
    Use(fixture, place, control.toLatin1().constData());
    QCOMPARE(fixture.Dialogs.Informed, QStringList{kNoHelpFile});
    QVERIFY(fixture.Dialogs.Opened.isEmpty());
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }

  void helpOpensTheManualBesideTheProgram_data() { AddHelpRows(); }
  void helpOpensTheManualBesideTheProgram() {
    QFETCH(TPlace, place);
    QFETCH(QString, control);
    TMainWindowFixture fixture;
    QVERIFY(QDir(fixture.ProgramFolder.path()).mkpath(QStringLiteral("manual")));
    const QString page = fixture.ProgramFolder.filePath(QStringLiteral("manual/index.html"));
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    fixture.Start();
    Use(fixture, place, control.toLatin1().constData());
    QVERIFY(fixture.Dialogs.Informed.isEmpty());
    // The contents page itself, not a section of it.
    QCOMPARE(fixture.Dialogs.Opened, QList<QUrl>{QUrl::fromLocalFile(page)});
  }

  void webCommandsOpenTheirExactAddresses_data() {
    QTest::addColumn<TPlace>("place");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("path");
    QTest::newRow("product web site") << TPlace::Menu << "itmWebsite"
                                      << "&Visit Product Website"
                                      << "/";
    QTest::newRow("forums from the menu") << TPlace::Menu << "itmSupportForums"
                                          << "Visit the Online &Support Forums"
                                          << "/forums/";
    QTest::newRow("forums from the start page") << TPlace::StartPage << "lnkStartForums"
                                                << "Visit the online support forums"
                                                << "/forums/";
    QTest::newRow("donation") << TPlace::Menu << "itmDonation"
                              << "Make a &Donation"
                              << "/donations.html";
    QTest::newRow("version check") << TPlace::Menu << "itmUpdates"
                                   << "Check for &Newer Version"
                                   << "/software/folivant/versioncheck.php?version=1.8.1";
  }
  void webCommandsOpenTheirExactAddresses() {
    QFETCH(TPlace, place);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, path);
    TMainWindowFixture fixture;
    fixture.Start();
    const QByteArray name = control.toLatin1();
    QCOMPARE(place == TPlace::Menu ? fixture.Child<QAction>(name.constData()).text()
                                   : fixture.Child<QAbstractButton>(name.constData()).text(),
             text);
    Use(fixture, place, name.constData());
    QCOMPARE(fixture.Dialogs.Opened, QList<QUrl>{QUrl(QString::fromUtf8(kProductWebAddress) + path)});
    QVERIFY(fixture.Dialogs.Informed.isEmpty());
  }

  void aboutOpensTheAboutBoxOwnedByTheWindow_data() {
    QTest::addColumn<TPlace>("place");
    QTest::newRow("menu About...") << TPlace::Menu;
    QTest::newRow("toolbar About Folivant") << TPlace::Toolbar;
  }
  void aboutOpensTheAboutBoxOwnedByTheWindow() {
    QFETCH(TPlace, place);
    TMainWindowFixture fixture;
    TfrmFolivant& window = fixture.Start();
    const TModalSeen seen = ModalShownBy([&] { Use(fixture, place, "itmAbout"); });
    QCOMPARE(seen.ClassName, QStringLiteral("folivant::TfrmAbout"));
    QCOMPARE(seen.Owner, &window);
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }

  void editStylesheetTemplateOpensTheEditorOnTheWindowsTemplate() {
    TMainWindowFixture fixture;
    fixture.StoreSetting("Stylesheet Template", "LineCount", "1");
    fixture.StoreSetting("Stylesheet Template", "Line0", "h1 { margin: 0; }");
    TfrmFolivant& window = fixture.Start();
    QString shown;
    const TModalSeen seen = ModalShownBy([&] { Use(fixture, TPlace::Menu, "itmStylesheetTemplate"); },
                                         [&](QWidget& editor) {
                                           auto* memo =
                                               editor.findChild<QPlainTextEdit*>(QStringLiteral("mmoStylesheet"));
                                           shown = memo->toPlainText();
                                           memo->setPlainText(QStringLiteral("body { color: red; }"));
                                           editor.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
                                         });
    QCOMPARE(seen.ClassName, QStringLiteral("folivant::TfrmStylesheet"));
    QCOMPARE(seen.Owner, &window);
    // The editor showed the user's stored template, and its OK saved the edited one.
    QCOMPARE(shown, QStringLiteral("h1 { margin: 0; }\n"));
    QCOMPARE(fixture.Setting("Stylesheet Template", "LineCount"), "1");
    QCOMPARE(fixture.Setting("Stylesheet Template", "Line0"), "body { color: red; }");
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::MainWindowHelpTest)
#include "mainwindow_help_test.moc"
