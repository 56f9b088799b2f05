#include "app/about.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QtTest>

#include "platform/product.h"
#include "scripteddialogs.h"

namespace folivant::test {

class AboutTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() { QApplication::setWindowIcon(ApplicationIcon()); }

  void showsTheProductAndItsVersion() {
    TScriptedDialogs dialogs;
    TfrmAbout about(nullptr, dialogs);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Folivant"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Folivant 1.8.1 "));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("imgIcon"))->pixmap().isNull());
    about.show();
    SaveScreenshot(about, QStringLiteral("about"));
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
  }

  void linksOpenTheirAddresses_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QUrl>("address");
    const QString website = QString::fromUtf8(kProductWebAddress);
    QTest::newRow("contact") << "lnkEmail" << QUrl(QStringLiteral("mailto:" FOLIVANT_CONTACT_ADDRESS));
    QTest::newRow("web site") << "lnkWebsite" << QUrl(website);
    QTest::newRow("web page editor") << "lnkOtherProduct" << QUrl(website + QStringLiteral("/software/quillon/"));
  }
  void linksOpenTheirAddresses() {
    QFETCH(QString, link);
    QFETCH(QUrl, address);
    TScriptedDialogs dialogs;
    TfrmAbout about(nullptr, dialogs);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QLabel* label = about.findChild<QLabel*>(link);
    // Clicks on the link text itself, wherever it starts in the label.
    const int at = label->text().startsWith(QLatin1Char('<')) ? 0 : label->text().indexOf(QLatin1Char('<'));
    const QString before = QTextDocumentFragment::fromHtml(label->text().left(at)).toPlainText();
    const QPoint point(label->fontMetrics().horizontalAdvance(before) + 4, label->fontMetrics().height() / 2);
    QTest::mouseClick(label, Qt::LeftButton, {}, point);
    QCOMPARE(dialogs.Opened, QList<QUrl>{address});
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::AboutTest)
#include "about_test.moc"
