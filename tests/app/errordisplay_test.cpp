#include "app/shared/errordisplay.h"

#include <QLineEdit>
#include <QtTest>
#include <new>
#include <stdexcept>

#include "platform/error.h"
#include "scripteddialogs.h"

namespace folivant::test {

class ErrorDisplayTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
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

  void errorsThatAreNotTheProgramsOwnGetItsSentenceWithTheDetailAfterIt() {
    TScriptedDialogs dialogs;
    QVERIFY(!RunCommand(dialogs, [] { throw std::out_of_range("not a photograph rendered ahead"); }));
    QVERIFY(!RunCommand(dialogs, [] { throw std::bad_alloc(); }));
    const QString sentence = QStringLiteral("An unexpected error inside Folivant stopped this operation. Details: ");
    QCOMPARE(dialogs.Errors, (QStringList{sentence + QStringLiteral("not a photograph rendered ahead."),
                                          sentence + QStringLiteral("std::bad_alloc.")}));
  }

  void connectedCommandsGetTheSignalsArgumentsAndKeepTheirErrors() {
    struct TReceiver {
      QString Text;
      void Take(const QString& text) {
        Text = text;
        throw TError("Can't take " + text.toStdString());
      }
    } receiver;
    TScriptedDialogs dialogs;
    QLineEdit field;
    QObject::connect(&field, &QLineEdit::textChanged, &field, CommandSlot(dialogs, &receiver, &TReceiver::Take));
    int count = 0;
    QObject::connect(&field, &QLineEdit::textChanged, &field, CommandSlot(dialogs, [&] {
      ++count;
      throw TError("Can't count");
    }));
    field.setText(QStringLiteral("it"));
    QCOMPARE(receiver.Text, QStringLiteral("it"));
    QCOMPARE(count, 1);
    QCOMPARE(dialogs.Errors, (QStringList{QStringLiteral("Can't take it."), QStringLiteral("Can't count.")}));
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::ErrorDisplayTest)
#include "errordisplay_test.moc"
