#include "app/shared/errordisplay.h"

#include <QtTest>

#include "platform/error.h"
#include "scripteddialogs.h"

namespace folivant::test {

class ErrorDisplayTest : public QObject {
  Q_OBJECT
 private slots:
  void appendsFullStopAfterLettersOnly() {
    QCOMPARE(ErrorBoxText(QStringLiteral("Can't convert to rotation")), QStringLiteral("Can't convert to rotation."));
    QCOMPARE(ErrorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
    QCOMPARE(ErrorBoxText(QStringLiteral("Really?")), QStringLiteral("Really?."));
    QCOMPARE(ErrorBoxText(QStringLiteral("Could not create directory \"/x/\"")),
             QStringLiteral("Could not create directory \"/x/\""));
    QCOMPARE(ErrorBoxText(QString()), QString());
  }

  void commandErrorsReachTheErrorBoxAndStopThere() {
    TScriptedDialogs dialogs;
    bool after_throw = false;
    QVERIFY(!RunCommand(dialogs, [&] {
      throw TError("Can't convert to photo size");
      after_throw = true;
    }));
    QVERIFY(!after_throw);
    QCOMPARE(dialogs.Errors, QStringList{QStringLiteral("Can't convert to photo size.")});
    QVERIFY(RunCommand(dialogs, [] {}));
    QCOMPARE(dialogs.Errors.size(), 1);
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::ErrorDisplayTest)
#include "errordisplay_test.moc"
