// The real message boxes behind TDialogs: their default buttons and the window they stand over.

#include "app/shared/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace folivant::test {

class DialogsTest : public QObject {
  Q_OBJECT

  struct TSeen {
    QWidget* Parent = nullptr;
    QMessageBox::StandardButton Default = QMessageBox::NoButton;
    QMessageBox::StandardButtons Buttons;
  };

  // Notes what the next message box looks like, then presses `press` (Return: the default button).
  static void PressWhenShown(TSeen& seen, std::function<void(QMessageBox&)> press) {
    QTimer::singleShot(0, [&seen, press = std::move(press)] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen.Parent = box->parentWidget();
      seen.Default = box->standardButton(box->defaultButton());
      seen.Buttons = box->standardButtons();
      press(*box);
    });
  }

  static void PressReturn(QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }
  static void PressEscape(QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }

 private Q_SLOTS:
  void leavingUnsavedWorkOffersSaveDiscardCancelWithSaveTheDefault() {
    QWidget window;
    window.show();
    TQtDialogs dialogs(&window);
    TSeen seen;
    PressWhenShown(seen, &PressReturn);
    QCOMPARE(dialogs.AskToSave(QStringLiteral("Save?")), TSaveAnswer::Save);
    QCOMPARE(seen.Buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(seen.Default, QMessageBox::Save);
    QCOMPARE(seen.Parent, &window);

    PressWhenShown(seen, &PressEscape);
    QCOMPARE(dialogs.AskToSave(QStringLiteral("Save?")), TSaveAnswer::Cancel);
    PressWhenShown(seen, [](QMessageBox& box) { box.button(QMessageBox::Discard)->click(); });
    QCOMPARE(dialogs.AskToSave(QStringLiteral("Save?")), TSaveAnswer::Discard);

    // Each button has an access key of its own, whatever the platform theme calls them.
    QStringList keys;
    PressWhenShown(seen, [&keys](QMessageBox& box) {
      for (QAbstractButton* button : box.buttons()) keys << QKeySequence::mnemonic(button->text()).toString();
      PressEscape(box);
    });
    dialogs.AskToSave(QStringLiteral("Save?"));
    keys.sort();
    QCOMPARE(keys, (QStringList{QStringLiteral("Alt+C"), QStringLiteral("Alt+D"), QStringLiteral("Alt+S")}));
  }

  void questionsDefaultToYesUnlessAskedOtherwise() {
    QWidget window;
    window.show();
    TQtDialogs dialogs(&window);
    TSeen seen;
    PressWhenShown(seen, &PressReturn);
    QVERIFY(dialogs.Ask(QStringLiteral("Go on?")));
    QCOMPARE(seen.Default, QMessageBox::Yes);
    PressWhenShown(seen, &PressReturn);
    QVERIFY(!dialogs.AskDefaultNo(QStringLiteral("Replace?")));
    QCOMPARE(seen.Default, QMessageBox::No);
    QCOMPARE(seen.Buttons, QMessageBox::Yes | QMessageBox::No);
  }

  void boxesStandOverTheModalDialogOpenAtTheTime() {
    QWidget window;
    window.show();
    TQtDialogs dialogs(&window);
    QDialog editor(&window);
    TSeen seen;
    QTimer::singleShot(0, [&] {
      PressWhenShown(seen, &PressReturn);
      dialogs.Inform(QStringLiteral("Done"));
      editor.accept();
    });
    editor.exec();
    QCOMPARE(seen.Parent, &editor);
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::DialogsTest)
#include "dialogs_test.moc"
