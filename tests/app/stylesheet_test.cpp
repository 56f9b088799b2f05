#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "app/stylesheeteditor.h"
#include "platform/filesystem.h"
#include "scripteddialogs.h"

namespace folivant::test {

namespace {

const QString kFilter = QStringLiteral("Cascading Style Sheets (*.css)|*.css|All Files (*.*)|*.*");

QStringList Lines(const TLineList& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  return list;
}

TLineList DefaultTemplate() {
  TSettingsStore nowhere(QDir::tempPath().toStdString() + "/folivant-no-such-settings-folder");
  TGlobalSettings settings("", nowhere);
  settings.RestoreDefaultStylesheet();
  return settings.StylesheetTemplate();
}

// One user's settings folder with the editor open on it.
struct TEditorFixture {
  QTemporaryDir folder;
  TSettingsStore store{folder.path().toStdString()};
  std::optional<TGlobalSettings> settings;
  TScriptedDialogs dialogs;
  std::optional<TfrmStylesheet> editor;

  explicit TEditorFixture(const std::optional<TLineList>& saved = std::nullopt) {
    if (saved) {
      TGlobalSettings writer("", store);
      writer.SetStylesheetTemplate(*saved);
      writer.SaveStylesheetTemplate();
    }
    settings.emplace("", store);
    editor.emplace(nullptr, *settings, dialogs);
    editor->show();
  }

  QPlainTextEdit& Memo() { return *editor->findChild<QPlainTextEdit*>(QStringLiteral("mmoStylesheet")); }
  void Click(const char* button) {
    QTest::mouseClick(editor->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
  }
  bool HasSettingsFile() const { return FileExists(store.FileName()); }
  // What the next start of the program would read.
  QStringList Stored() const {
    TSettingsStore fresh(folder.path().toStdString());
    return Lines(TGlobalSettings("", fresh).StylesheetTemplate());
  }
  QString File(const QString& name) const { return folder.filePath(name); }
};

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class StylesheetTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void okWithoutChangesRewritesTheSameLines_data() {
    QTest::addColumn<bool>("first_start");
    QTest::addColumn<QStringList>("saved");
    QTest::newRow("first start stores the default") << true << QStringList();
    QTest::newRow("tabs, blanks and a last empty line stay")
        << false << QStringList{"body {", "\tcolor: <%TextColor%>;  ", "", "}", ""};
    QTest::newRow("non-ASCII text") << false << QStringList{"/* Fotoalbum f\u00FCr Gro\u00DFeltern */"};
  }
  void okWithoutChangesRewritesTheSameLines() {
    QFETCH(bool, first_start);
    QFETCH(QStringList, saved);
    TLineList lines;
    for (const QString& line : saved) lines.push_back(line.toStdString());
    TEditorFixture fixture(first_start ? std::nullopt : std::optional(lines));
    const QStringList expected = first_start ? Lines(DefaultTemplate()) : saved;
    QCOMPARE(fixture.HasSettingsFile(), !first_start);
    QFile::remove(QString::fromStdString(fixture.store.FileName()));

    fixture.Click("btnOK");
    QVERIFY(!fixture.editor->isVisible());
    QVERIFY(fixture.HasSettingsFile());
    QCOMPARE(fixture.Stored(), expected);
    QVERIFY(fixture.dialogs.Asked.isEmpty());
    QVERIFY(fixture.dialogs.Errors.isEmpty());
  }

  void defaultAsksAndRestoresTheBuiltInTemplate_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes restores the default") << true;
    QTest::newRow("no changes nothing") << false;
  }
  void defaultAsksAndRestoresTheBuiltInTemplate() {
    QFETCH(bool, answer);
    const QStringList own{"body { color: red; }"};
    TEditorFixture fixture(TLineList{"body { color: red; }"});
    fixture.dialogs.Answers = {answer};
    fixture.Click("Button1");
    QCOMPARE(fixture.dialogs.Asked, QStringList{"This will reset the stylesheet to its default value."});
    const QStringList expected = answer ? Lines(DefaultTemplate()) : own;
    QCOMPARE(Lines(fixture.settings->StylesheetTemplate()), expected);
    QCOMPARE(fixture.Stored(), own);  // nothing is saved before the close
    fixture.Click("btnOK");
    QCOMPARE(fixture.Stored(), expected);
  }

  void onlyOkStoresTheEdits_data() {
    QTest::addColumn<QString>("close");
    QTest::newRow("OK") << "btnOK";
    QTest::newRow("Cancel") << "btnCancel";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("title bar") << "close";
  }
  void onlyOkStoresTheEdits() {
    QFETCH(QString, close);
    TEditorFixture fixture(TLineList{"old"});
    const QString path = fixture.File(QStringLiteral("mine.css"));
    WriteFile(path, "a {\r\n\tmargin: 0;\r}\n\nb { }");
    fixture.dialogs.FilesToOpen = {{path}};
    fixture.Click("Button2");
    QCOMPARE(fixture.dialogs.FileFilters, QStringList{kFilter});
    QCOMPARE(fixture.Memo().toPlainText(), QStringLiteral("a {\n\tmargin: 0;\n}\n\nb { }\n"));
    fixture.dialogs.Answers = {true};
    fixture.Click("Button1");  // "Default" changes the template in memory at once
    fixture.Memo().setPlainText(fixture.Memo().toPlainText() + QStringLiteral("/* mine */\n"));

    if (close == QLatin1String("Escape"))
      QTest::keyClick(&fixture.Memo(), Qt::Key_Escape);
    else if (close == QLatin1String("close"))
      QVERIFY(fixture.editor->close());
    else
      fixture.Click(close.toLatin1().constData());
    QVERIFY(!fixture.editor->isVisible());
    const QStringList expected =
        close == QLatin1String("btnOK") ? Lines(DefaultTemplate()) << "/* mine */" : QStringList{"old"};
    QCOMPARE(Lines(fixture.settings->StylesheetTemplate()), expected);
    QCOMPARE(fixture.Stored(), expected);
    QVERIFY(fixture.dialogs.Errors.isEmpty());
  }

  void editorUsesAFixedPitchFontTabsOfFourAndFitsTheScreen() {
    TEditorFixture fixture;
    QPlainTextEdit& memo = fixture.Memo();
    // Columns of CSS line up when every character is as wide as the next,
    // whether or not the font calls itself fixed-pitch (Noto Sans Mono does not).
    const QFontMetricsF metrics(memo.font());
    for (char16_t c = u' '; c <= u'~'; ++c) {
      QVERIFY2(metrics.horizontalAdvance(QChar(c)) == metrics.horizontalAdvance(QLatin1Char('M')),
               qPrintable(
                   QStringLiteral("'%1' is not as wide as 'M' in %2").arg(QChar(c), QFontInfo(memo.font()).family())));
    }
    QCOMPARE(memo.tabStopDistance(), 4 * metrics.horizontalAdvance(QLatin1Char(' ')));
    const QSize screen = fixture.editor->screen()->availableSize();
    QCOMPARE(fixture.editor->size(), QSize(800, 600).boundedTo(screen).expandedTo(fixture.editor->minimumSizeHint()));
  }

  void saveToFileAndOpenRoundTrip() {
    const TLineList lines{"/* caf\xC3\xA9 */", "\ta { }", "", "  "};
    TEditorFixture fixture(lines);
    const QString path = fixture.File(QStringLiteral("saved"));
    fixture.dialogs.FilesToSave = {path};
    fixture.Click("Button3");
    QCOMPARE(ReadFile(path), QByteArray("/* caf\xC3\xA9 */\r\n\ta { }\r\n\r\n  \r\n"));
    QVERIFY(!QFile::exists(path + QStringLiteral(".css")));

    fixture.Memo().setPlainText(QStringLiteral("something else"));
    fixture.dialogs.FilesToOpen = {{path}};
    fixture.Click("Button2");
    fixture.Click("btnOK");
    QCOMPARE(fixture.Stored(), Lines(lines));
    QVERIFY(fixture.dialogs.Errors.isEmpty());
  }

  void cancelledChoicesChangeNothing() {
    TEditorFixture fixture(TLineList{"kept"});
    fixture.Click("Button2");
    fixture.Click("Button3");
    QCOMPARE(fixture.dialogs.Unexpected, (QStringList{"ChooseFilesToOpen", "ChooseFileToSave"}));
    QCOMPARE(fixture.Memo().toPlainText(), QStringLiteral("kept\n"));
    QCOMPARE(QDir(fixture.folder.path()).entryList(QDir::Files), QStringList{"settings.json"});
  }

  void emptiedEditorStoresNoLines() {
    TEditorFixture fixture(TLineList{"a", "b"});
    fixture.Memo().clear();
    fixture.Click("btnOK");
    QCOMPARE(fixture.Stored(), QStringList());
    QCOMPARE(Lines(fixture.settings->StylesheetTemplate()), QStringList());
  }

  void fileFailuresKeepTheDialogOpenWithItsText() {
    TEditorFixture fixture(TLineList{"mine"});
    fixture.Memo().setPlainText(QStringLiteral("edited\n"));
    const QString missing = fixture.File(QStringLiteral("gone.css"));
    const QString no_folder = fixture.File(QStringLiteral("no/such/folder.css"));
    fixture.dialogs.FilesToOpen = {{missing}};
    fixture.dialogs.FilesToSave = {no_folder};
    fixture.Click("Button2");
    fixture.Click("Button3");
    QCOMPARE(fixture.dialogs.Errors,
             (QStringList{"Cannot open file \"" + missing + "\". No such file or directory.",
                          "Cannot create file \"" + no_folder + "\". No such file or directory."}));
    QVERIFY(fixture.editor->isVisible());
    QCOMPARE(fixture.Memo().toPlainText(), QStringLiteral("edited\n"));
    QCOMPARE(fixture.Stored(), QStringList{"mine"});
  }

  void saveFailureAtCloseIsShownAndTheTextStaysInMemory() {
    QTemporaryDir folder;
    const QString not_a_folder = folder.filePath(QStringLiteral("occupied"));
    WriteFile(not_a_folder, "a file where the settings folder belongs");
    TSettingsStore store(not_a_folder.toStdString());
    TGlobalSettings settings("", store);
    TScriptedDialogs dialogs;
    TfrmStylesheet editor(nullptr, settings, dialogs);
    editor.show();
    editor.findChild<QPlainTextEdit*>(QStringLiteral("mmoStylesheet"))->setPlainText(QStringLiteral("p { }\n"));
    QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    QCOMPARE(dialogs.Errors.size(), 1);
    QVERIFY2(dialogs.Errors.front().contains(not_a_folder), qPrintable(dialogs.Errors.front()));
    QVERIFY(!editor.isVisible());
    QCOMPARE(Lines(settings.StylesheetTemplate()), QStringList{"p { }"});
  }

  void tabTypesATabAndLeavingTheEditorChangesNothing() {
    TEditorFixture fixture(TLineList{"a"});
    fixture.editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&*fixture.editor));
    fixture.Memo().setFocus();
    fixture.Memo().moveCursor(QTextCursor::End);
    QTest::keyClick(&fixture.Memo(), Qt::Key_Tab);
    QTest::keyClicks(&fixture.Memo(), QStringLiteral("b"));
    QVERIFY(fixture.Memo().hasFocus());  // Tab typed a tab instead of moving on
    QCOMPARE(fixture.Memo().toPlainText(), QStringLiteral("a\n\tb"));
    fixture.editor->findChild<QPushButton*>(QStringLiteral("btnOK"))->setFocus();
    QCOMPARE(Lines(fixture.settings->StylesheetTemplate()), QStringList{"a"});
    QCOMPARE(fixture.Stored(), QStringList{"a"});
  }

  void aModernAlbumEditsTheModernTemplateOnly() {
    QTemporaryDir folder;
    TSettingsStore store(folder.path().toStdString());
    TGlobalSettings settings("", store);
    TGlobalSettings defaults("", store);
    TScriptedDialogs dialogs;
    TfrmStylesheet editor(nullptr, settings, dialogs, TPageStyle::Modern);
    editor.show();
    auto& memo = *editor.findChild<QPlainTextEdit*>(QStringLiteral("mmoStylesheet"));
    QCOMPARE(Lines(SplitLines(memo.toPlainText().toStdString())),
             Lines(defaults.StylesheetTemplate(TPageStyle::Modern)));
    QVERIFY(settings.StylesheetTemplate(TPageStyle::Modern) != settings.StylesheetTemplate());
    QCOMPARE(editor.windowTitle(), QStringLiteral("Stylesheet Template (modern)"));

    memo.setPlainText(QStringLiteral("body { }\n"));
    dialogs.Answers = {true};
    editor.findChild<QPushButton*>(QStringLiteral("Button1"))->click();  // "Default" restores the modern one
    QCOMPARE(Lines(SplitLines(memo.toPlainText().toStdString())),
             Lines(defaults.StylesheetTemplate(TPageStyle::Modern)));
    memo.setPlainText(QStringLiteral("main { }\n"));
    QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);

    TSettingsStore fresh(folder.path().toStdString());
    const TGlobalSettings stored("", fresh);
    QCOMPARE(Lines(stored.StylesheetTemplate(TPageStyle::Modern)), QStringList{"main { }"});
    QCOMPARE(Lines(stored.StylesheetTemplate()), Lines(defaults.StylesheetTemplate()));
  }

  void allFilesFilterShowsFilesWithoutExtension() {
    QCOMPARE(QtFileFilter(kFilter), QStringLiteral("Cascading Style Sheets (*.css);;All Files (*)"));
  }

  void screenshot() {
    TEditorFixture fixture;
    QCOMPARE(fixture.editor->windowTitle(), QStringLiteral("Stylesheet Template"));
    SaveScreenshot(*fixture.editor, QStringLiteral("stylesheet-editor"));
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::StylesheetTest)
#include "stylesheet_test.moc"
