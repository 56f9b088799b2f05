#include "app/shared/help.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "scripteddialogs.h"

namespace folivant::test {

namespace {

const QString kNoManual = QStringLiteral(
    "The help file for Folivant could not be found. Please re-install Folivant to correct this problem.");

void Touch(const QString& path) {
  QVERIFY(QDir().mkpath(QFileInfo(path).path()));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void manualIsFoundBesideTheProgramOrInstalled_data() {
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("opened");
    const QString build = QStringLiteral("bin/manual/");
    const QString installed = QStringLiteral("share/doc/folivant/manual/");
    const QString contents = QStringLiteral("index.html");
    const QString upload = QStringLiteral("upload.html");
    QTest::newRow("beside the program") << QStringList{build + contents} << contents << QString() << build + contents;
    QTest::newRow("installed layout") << QStringList{installed + contents} << contents << QString()
                                      << installed + contents;
    // An installation never reads beside its program.
    QTest::newRow("the installed before the one beside the program")
        << QStringList{installed + contents, build + contents} << contents << QString() << installed + contents;
    QTest::newRow("a page at a section") << QStringList{installed + contents, installed + upload} << upload
                                         << QStringLiteral("upload") << installed + upload;
    QTest::newRow("missing") << QStringList() << contents << QString() << QString();
    QTest::newRow("the page asked for missing")
        << QStringList{build + contents} << upload << QStringLiteral("upload") << QString();
    // A folder where the page belongs is no manual.
    QTest::newRow("a folder named index.html")
        << QStringList{build + contents + QStringLiteral("/x")} << contents << QString() << QString();
  }
  void manualIsFoundBesideTheProgramOrInstalled() {
    QFETCH(QStringList, pages);
    QFETCH(QString, page);
    QFETCH(QString, section);
    QFETCH(QString, opened);
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    for (const QString& file : pages) Touch(prefix.filePath(file));
    TScriptedDialogs dialogs;
    ShowManual(dialogs, prefix.filePath(QStringLiteral("bin/")).toStdString(), page.toStdString(),
               section.toStdString());
    if (opened.isEmpty()) {
      QCOMPARE(dialogs.Informed, QStringList{kNoManual});
      QVERIFY(dialogs.Opened.isEmpty());
      return;
    }
    QVERIFY(dialogs.Informed.isEmpty());
    QCOMPARE(dialogs.Opened.size(), 1);
    const QUrl url = dialogs.Opened.front();
    QCOMPARE(url.scheme(), QStringLiteral("file"));
    QCOMPARE(url.fragment(), section);
    QCOMPARE(QFileInfo(url.toLocalFile()).canonicalFilePath(), QFileInfo(prefix.filePath(opened)).canonicalFilePath());
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::HelpTest)
#include "help_test.moc"
