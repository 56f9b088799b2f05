#include "app/shared/help.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "scripteddialogs.h"

namespace folivant::test {

namespace {

const QString kNoHelpFile =
    QStringLiteral("The help file for could not be found. Please re-install Folivant to correct this problem.");

void Touch(const QString& path) {
  QVERIFY(QDir().mkpath(QFileInfo(path).path()));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void helpFileIsFoundBesideTheProgramOrInstalled_data() {
    QTest::addColumn<QString>("help_file");
    QTest::newRow("beside the program") << "bin/folivant.chm";
    QTest::newRow("installed layout") << "share/folivant/folivant.chm";
    QTest::newRow("missing") << QString();
  }
  void helpFileIsFoundBesideTheProgramOrInstalled() {
    QFETCH(QString, help_file);
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    if (!help_file.isEmpty()) Touch(prefix.filePath(help_file));
    TScriptedDialogs dialogs;
    ShowHelpFile(dialogs, prefix.filePath(QStringLiteral("bin/")).toStdString());
    if (help_file.isEmpty()) {
      QCOMPARE(dialogs.Informed, QStringList{kNoHelpFile});
      QVERIFY(dialogs.Opened.isEmpty());
    } else {
      QVERIFY(dialogs.Informed.isEmpty());
      QCOMPARE(dialogs.Opened.size(), 1);
      QCOMPARE(QFileInfo(dialogs.Opened.front().toLocalFile()).canonicalFilePath(),
               QFileInfo(prefix.filePath(help_file)).canonicalFilePath());
    }
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::HelpTest)
#include "help_test.moc"
