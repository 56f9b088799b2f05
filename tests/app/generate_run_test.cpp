#include <QCheckBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <chrono>
#include <vector>

#include "generation/generationrun.h"
#include "heartbeat.h"
#include "platform/fileidentity.h"
#include "platform/filesystem.h"
#include "wizardfixture.h"

namespace folivant::test {

namespace {

// Lets the wizard's timer tick until `done` holds; false after `limit_ms`.
template <typename Condition>
bool TickUntil(Condition done, int limit_ms = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limit_ms) return false;
    QTest::qWait(1);
  }
  return true;
}

QStringList FilesIn(const std::string& folder) {
  QStringList files = QDir(QString::fromStdString(folder)).entryList(QDir::Files);
  files.sort();
  return files;
}

bool Exists(const std::string& folder, const std::string& name) { return FileExists(JoinPath(folder, name)); }

void Click(const TWizardFixture& fixture, const char* button) { fixture.Child<QPushButton>(button).click(); }

QStringList ListRows(const QListWidget& list) {
  QStringList rows;
  for (int row = 0; row < list.count(); ++row) rows << list.item(row)->text();
  return rows;
}

// The access key of a control's text ("&&" is a plain "&"), or nothing.
QChar AccessKey(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toUpper();
    ++i;
  }
  return {};
}

// The controls shown on the wizard's current page and below it that share an access key.
QStringList SharedAccessKeys(const TfrmGenerate& wizard) {
  QMap<QChar, QStringList> owners;
  for (const QWidget* widget : wizard.findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->buddy()) text = label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
    if (const QChar key = AccessKey(text); !key.isNull()) owners[key] << widget->objectName();
  }
  QStringList shared;
  for (auto it = owners.cbegin(); it != owners.cend(); ++it)
    if (it->size() > 1) shared << QStringLiteral("%1: %2").arg(it.key(), it->join(QLatin1Char(' ')));
  return shared;
}

// The controls that take the keyboard and would act now.
QStringList ActiveControls(const TfrmGenerate& wizard) {
  QStringList active;
  for (const QWidget* widget : wizard.findChildren<QWidget*>())
    if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus))
      active << widget->objectName();
  active.sort();
  return active;
}

bool RenderingPhotograph(const TWizardFixture& fixture, int index) {
  const TRunState state = fixture.Wizard->RunState();
  return state.Step == TRunStep::RenderPhotographs && state.Index >= index;
}

// The files of a folder and their bytes.
QMap<QString, QByteArray> Contents(const std::string& folder) {
  QMap<QString, QByteArray> contents;
  for (const QString& name : FilesIn(folder)) {
    QFile file(QString::fromStdString(folder) + QLatin1Char('/') + name);
    if (file.open(QIODevice::ReadOnly)) contents[name] = file.readAll();
  }
  return contents;
}

// Photographs large enough that a run spends a while on each, so that the
// window can act while the run is among them.
constexpr int kSlowWidth = 2400;
constexpr int kSlowHeight = 1800;

}  // namespace

class GenerateRunTest : public QObject {
  Q_OBJECT

  QTemporaryDir noise_folder_;
  std::vector<std::string> noise_photographs_;

  // `count` photographs of noise, which costs a decoder what a photograph
  // costs it, made once for every test that needs them.
  const std::vector<std::string>& NoisePhotographs(size_t count) {
    while (noise_photographs_.size() < count) {
      QImage noise(3000, 2000, QImage::Format_RGB32);
      for (int y = 0; y < noise.height(); ++y)
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(noise.scanLine(y)), noise.width());
      const QString path = noise_folder_.filePath(QStringLiteral("noise%1.jpg").arg(noise_photographs_.size() + 1));
      if (!noise.save(path, "JPG", 90)) qFatal("cannot write %s", qPrintable(path));
      noise_photographs_.push_back(path.toStdString());
    }
    noise_photographs_.resize(count);
    return noise_photographs_;
  }

 private Q_SLOTS:
  void initTestCase() {
    qputenv("FOLIVANT_CONFIG_DIR", QDir::tempPath().toUtf8() + "/folivant-generate-run-test-config");
    qputenv("XDG_CACHE_HOME", QDir::tempPath().toUtf8() + "/folivant-generate-run-test-cache");
  }

  void aRunAgainKeepsTheImagesUpToDateAndPrunesWhenAsked() {
    TWizardFixture fixture;
    fixture.Album.Title = "Harbour";
    for (const char* name : {"boats.jpg", "gulls.jpg", "nets.jpg"}) fixture.AddPhotograph(QString::fromLatin1(name));
    fixture.Open();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QCOMPARE(fixture.Child<QLabel>("lblGenerateImage").text(), QStringLiteral("Preparing Photographs..."));

    fixture.Album.Photographs.Remove(&fixture.Album.Photographs[1]);
    fixture.Open();
    fixture.Dialogs.Answers = {true};  // into the existing folder
    fixture.Child<QCheckBox>("chkPrune").setChecked(true);
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QCOMPARE(fixture.Child<QLabel>("lblGenerateImage").text(),
             QStringLiteral("Preparing Photographs... (2 up to date)"));
    const QProgressBar& images = fixture.Child<QProgressBar>("pbImageProgress");
    QCOMPARE(images.maximum(), 4);
    QCOMPARE(images.value(), 4);
    const std::string folder = fixture.Album.Settings.OutputDirectory;
    for (const char* name : {"gulls.jpg", "gulls_small.jpg", "gulls.html"}) QVERIFY2(!Exists(folder, name), name);
    QVERIFY(Exists(folder, "nets_small.jpg"));
    QCOMPARE(fixture.Child<QLabel>("lblPhotographsWithoutImages").text(),
             QStringLiteral("Files of earlier runs removed: 3."));
  }

  void theAlbumCopyCanBeLeftOutAndTheAlbumKeepsThatChoice() {
    TWizardFixture fixture;
    fixture.Album.Title = "Harbour";
    fixture.AddPhotograph(QStringLiteral("boats.jpg"));
    fixture.Open();
    for (int page = 2; page <= 5; ++page) Click(fixture, "btnNext");
    QCheckBox& copy = fixture.Child<QCheckBox>("chkAlbumCopy");
    QVERIFY(copy.isChecked());
    fixture.Album.Saved = true;
    QTest::mouseClick(&copy, Qt::LeftButton, {}, QPoint(copy.height(), copy.height() / 2));  // on its box or label
    QVERIFY(!fixture.Album.Settings.AlbumCopy);
    QVERIFY(!fixture.Album.Saved);
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    const std::string folder = fixture.Album.Settings.OutputDirectory;
    QCOMPARE(FilesIn(folder), (QStringList{"boats.html", "boats.jpg", "boats_small.jpg", "index.html", "main.css"}));

    // A run that was killed left a temporary file, which the next run removes and names.
    QFile temporary(QString::fromStdString(folder + "boats.jpg.tmp-AbCdEf"));
    QVERIFY(temporary.open(QIODevice::WriteOnly));
    temporary.close();
    // The next run starts when the clock that stamps files has passed the kill.
    const auto killed = std::chrono::system_clock::now().time_since_epoch();
    QVERIFY(TickUntil([&] { return FileClockNowNs() > std::chrono::nanoseconds(killed).count(); }));
    fixture.Open();
    for (int page = 2; page <= 5; ++page) Click(fixture, "btnNext");
    QVERIFY(!fixture.Child<QCheckBox>("chkAlbumCopy").isChecked());
    fixture.Dialogs.Answers = {true};  // into the existing folder
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QCOMPARE(FilesIn(folder), (QStringList{"boats.html", "boats.jpg", "boats_small.jpg", "index.html", "main.css"}));
    QCOMPARE(fixture.Child<QLabel>("lblPhotographsWithoutImages").text(),
             QStringLiteral("Unfinished files of an interrupted run removed: 1."));
  }

  void aModernAlbumGetsItsOwnStylesheetTemplate() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("boats.jpg"));
    fixture.Album.Settings.PageStyle = TPageStyle::Modern;
    fixture.GlobalSettings().SetStylesheetTemplate({"/* classic */"}, TPageStyle::Classic);
    fixture.GlobalSettings().SetStylesheetTemplate({"/* modern */"}, TPageStyle::Modern);
    fixture.Open();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QFile css(QString::fromStdString(fixture.Album.Settings.OutputDirectory + "main.css"));
    QVERIFY(css.open(QIODevice::ReadOnly));
    QCOMPARE(css.readAll().trimmed(), QByteArray("/* modern */"));
  }

  void aWholeRunWritesTheAlbumAndEndsOnTheFinishedPage() {
    TWizardFixture fixture;
    fixture.Album.Title = "Harbour";
    for (const char* name : {"boats.jpg", "gulls.jpg", "nets.jpg"}) fixture.AddPhotograph(QString::fromLatin1(name));
    fixture.Open();
    Click(fixture, "btnFinish");
    QCOMPARE(fixture.Wizard->CurrentPage(), 6);
    QVERIFY(!fixture.Child<QPushButton>("btnFinish").isEnabled());
    QVERIFY(!fixture.Child<QPushButton>("btnPrevious").isEnabled());
    QVERIFY(!fixture.Child<QPushButton>("btnNext").isEnabled());
    QVERIFY(fixture.Wizard->RunTimerActive());

    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QCOMPARE(fixture.Child<QStackedWidget>("pnlPages").currentWidget()->objectName(),
             QStringLiteral("pnlFinishedPage"));
    QVERIFY(!fixture.Wizard->RunTimerActive());
    QVERIFY(!fixture.Child<QPushButton>("btnCancel").isEnabled());
    QVERIFY(!fixture.Child<QPushButton>("btnFinish").isEnabled());
    QVERIFY(!fixture.Child<QLabel>("lblPhotographsWithoutImages").isVisible());
    QVERIFY(!fixture.Child<QListWidget>("lstPhotographsWithoutImages").isVisible());
    const QProgressBar& images = fixture.Child<QProgressBar>("pbImageProgress");
    const QProgressBar& pages = fixture.Child<QProgressBar>("pbPageProgress");
    QCOMPARE(images.maximum(), 6);
    QCOMPARE(images.value(), 6);
    QCOMPARE(pages.maximum(), 4);
    QCOMPARE(pages.value(), 4);

    const std::string folder = fixture.Album.Settings.OutputDirectory;
    QCOMPARE(folder, JoinPath(fixture.DesktopFolder(), "Harbour") + "/");
    QCOMPARE(FilesIn(folder),
             (QStringList{"Harbour.alb", "boats.html", "boats.jpg", "boats_small.jpg", "gulls.html", "gulls.jpg",
                          "gulls_small.jpg", "index.html", "main.css", "nets.html", "nets.jpg", "nets_small.jpg"}));
    QVERIFY(fixture.Album.FileName.empty());  // the copy is not the album's own file
    QVERIFY(!fixture.Album.Saved);            // the output folder it settled is the album's to keep
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-7-finished-page"));

    Click(fixture, "Button1");
    QCOMPARE(fixture.Dialogs.Opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(folder + "index.html"))});
    QVERIFY(fixture.Wizard->isVisible());
    Click(fixture, "Button2");
    QVERIFY(!fixture.Wizard->isVisible());
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void everyPageHasItsOwnAccessKeysAndHeader() {
    TWizardFixture fixture;
    for (int i = 1; i <= 6; ++i) fixture.AddPhotograph(QStringLiteral("photo%1.jpg").arg(i), kSlowWidth, kSlowHeight);
    fixture.Open();
    QStringList helps;
    for (int page = 1; page <= 5; ++page) {
      if (page > 1) Click(fixture, "btnNext");
      QCOMPARE(fixture.Wizard->CurrentPage(), page);
      QCOMPARE(SharedAccessKeys(*fixture.Wizard), QStringList());
      QVERIFY(fixture.Child<QLabel>("lblStep").text().startsWith(QStringLiteral("Step %1 of 5: ").arg(page)));
      helps << fixture.Child<QLabel>("lblHeader").text();
    }
    helps.removeDuplicates();
    QCOMPARE(helps.size(), 5);

    Click(fixture, "btnFinish");
    QCOMPARE(fixture.Wizard->CurrentPage(), 6);
    QCOMPARE(fixture.Child<QLabel>("lblStep").text(), QStringLiteral("Generating the album"));
    QCOMPARE(SharedAccessKeys(*fixture.Wizard), QStringList());
    QCOMPARE(ActiveControls(*fixture.Wizard), (QStringList{"btnCancel", "lnkSkip"}));
    QVERIFY(!fixture.Child<QWidget>("pnlOutputPage").isEnabled());
    QVERIFY(TickUntil([&] { return RenderingPhotograph(fixture, 1); }));
    Click(fixture, "lnkSkip");

    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QCOMPARE(fixture.Child<QLabel>("lblStep").text(), QStringLiteral("The album is ready"));
    QCOMPARE(SharedAccessKeys(*fixture.Wizard), QStringList());
    QCOMPARE(ActiveControls(*fixture.Wizard), (QStringList{"Button1", "Button2", "lnkHowToUpload"}));
    QVERIFY(fixture.Child<QLabel>("lblPhotographsWithoutImages").isVisible());
    QVERIFY(fixture.Child<QLabel>("lblPhotographsWithoutImages").text().contains(QStringLiteral("skipped")));
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }

  void theUploadLinkOpensTheManualAtUploadingOrSaysItIsMissing() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("one.jpg"));
    fixture.Open();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    Click(fixture, "lnkHowToUpload");
    QCOMPARE(
        fixture.Dialogs.Informed,
        QStringList{QStringLiteral(
            "The help file for Folivant could not be found. Please re-install Folivant to correct this problem.")});
    QVERIFY(fixture.Dialogs.Opened.isEmpty());
    fixture.Folder(QStringLiteral("program/manual"));
    WriteFileAtomically(fixture.ProgramFolder() + "manual/index.html", "contents");
    const std::string page = fixture.ProgramFolder() + "manual/upload.html";
    WriteFileAtomically(page, "uploading");
    Click(fixture, "lnkHowToUpload");
    QUrl upload = QUrl::fromLocalFile(QString::fromStdString(page));
    upload.setFragment(QStringLiteral("upload"));
    QCOMPARE(fixture.Dialogs.Opened, QList<QUrl>{upload});
    QCOMPARE(fixture.Dialogs.Informed.size(), 1);
  }

  void skipEndsThePhotographsButEveryPageIsWritten() {
    TWizardFixture fixture;
    for (int i = 1; i <= 12; ++i) fixture.AddPhotograph(QStringLiteral("photo%1.jpg").arg(i), kSlowWidth, kSlowHeight);
    fixture.Open();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return RenderingPhotograph(fixture, 2); }));
    // The photograph being prepared, and once one is done the time the others will take.
    const QLabel& count = fixture.Child<QLabel>("lblPhotoCount");
    const QRegularExpression photo_and_time(QStringLiteral(
        "^Photo \\d+ of 12, (a few seconds|about \\d+ seconds|about a minute|about \\d+ minutes) left$"));
    QVERIFY2(TickUntil([&] { return photo_and_time.match(count.text()).hasMatch(); }), qPrintable(count.text()));
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-6-generating-page"));
    Click(fixture, "lnkSkip");
    QCOMPARE(count.text(), QString());
    const QPushButton& skip = fixture.Child<QPushButton>("lnkSkip");
    QCOMPARE(fixture.Child<QLabel>("lblGenerateImage").text(), QStringLiteral("Preparing Photographs... (Skipped)"));
    QVERIFY(!skip.isEnabled());
    QCOMPARE(skip.cursor().shape(), Qt::ArrowCursor);
    const QProgressBar& images = fixture.Child<QProgressBar>("pbImageProgress");
    QVERIFY(TickUntil([&] { return images.value() == images.maximum(); }));
    QVERIFY(fixture.Wizard->RunState().Step >= TRunStep::WritePhotoPages);
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-6-generating-page-skipped"));

    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    const std::string folder = fixture.Album.Settings.OutputDirectory;
    int rendered = 0;
    for (int i = 0; i < fixture.Album.Photographs.Count(); ++i) {
      const std::string web_name = fixture.Album.Photographs[i].WebName;
      QVERIFY(Exists(folder, web_name + ".html"));
      QCOMPARE(Exists(folder, web_name + "_small.jpg"), Exists(folder, web_name + ".jpg"));
      if (Exists(folder, web_name + ".jpg")) ++rendered;
    }
    QVERIFY(rendered >= 2);
    QVERIFY(rendered < 12);
    QVERIFY(Exists(folder, "index.html"));
  }

  void closingInAnyWayStopsTheRunBetweenTicks() {
    struct Row {
      const char* why;
      void (*close)(TWizardFixture&);
    };
    const Row rows[] = {
        {"Cancel", [](TWizardFixture& f) { Click(f, "btnCancel"); }},
        {"Esc", [](TWizardFixture& f) { QTest::keyClick(f.Wizard.get(), Qt::Key_Escape); }},
        {"the window's close button", [](TWizardFixture& f) { f.Wizard->close(); }},
    };
    for (const Row& row : rows) {
      TWizardFixture fixture;
      for (int i = 1; i <= 6; ++i) fixture.AddPhotograph(QStringLiteral("photo%1.jpg").arg(i), kSlowWidth, kSlowHeight);
      fixture.Open();
      Click(fixture, "btnFinish");
      QVERIFY2(TickUntil([&] { return RenderingPhotograph(fixture, 1); }), row.why);
      row.close(fixture);
      QVERIFY2(!fixture.Wizard->isVisible(), row.why);
      QVERIFY2(!fixture.Wizard->RunTimerActive(), row.why);
      const std::string folder = fixture.Album.Settings.OutputDirectory;
      const QStringList written = FilesIn(folder);
      const int index = fixture.Wizard->Run()->RunIndex();
      QTest::qWait(100);
      QCOMPARE(FilesIn(folder), written);
      QCOMPARE(fixture.Wizard->Run()->RunIndex(), index);
      QVERIFY2(written.contains(QStringLiteral("main.css")), row.why);
      QVERIFY2(!written.contains(QStringLiteral("index.html")), row.why);
    }
  }

  void theRunLeavesTheWindowFreeAndWritesWhatTheCommandLineWrites() {
    TWizardFixture fixture;
    fixture.Album.Title = "Harbour";
    for (const std::string& path : NoisePhotographs(4))
      fixture.Album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
    fixture.Album.FileName = fixture.Folder(QStringLiteral("photos")) + "/harbour.alb";
    fixture.Open();
    const THeartbeat heartbeat;
    QElapsedTimer clock;
    clock.start();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    // A photograph rendered on this thread would stop the heartbeat for all of its time.
    const qint64 per_photograph = clock.elapsed() / fixture.Album.Photographs.Count();
    QVERIFY2(
        heartbeat.LargestGapMs() < per_photograph / 2,
        qPrintable(QStringLiteral("%1 ms gap, %2 ms a photograph").arg(heartbeat.LargestGapMs()).arg(per_photograph)));

    const std::string folder = fixture.Album.Settings.OutputDirectory;
    const QMap<QString, QByteArray> wizard_files = Contents(folder);
    fixture.Album.SaveToFile();  // with the folder the wizard settled, where the command line writes again
    QVERIFY(QDir().rename(QString::fromStdString(folder), QString::fromStdString(folder).chopped(1) + "-wizard"));
    QProcess cli;
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/folivant-cli"),
              {QStringLiteral("generate"), QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("--force"),
               QString::fromStdString(fixture.Album.FileName)});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(Contents(folder).keys(), wizard_files.keys());
    QVERIFY(Contents(folder) == wizard_files);
  }

  void skipAndCancelActWhileAPhotographRenders() {
    const std::vector<std::string> photographs = NoisePhotographs(6);
    for (const char* button : {"lnkSkip", "btnCancel"}) {
      TWizardFixture fixture;
      for (const std::string& path : photographs)
        fixture.Album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
      fixture.Open();
      QElapsedTimer clock;
      clock.start();
      Click(fixture, "btnFinish");
      QVERIFY(TickUntil([&] { return RenderingPhotograph(fixture, 1); }));
      const qint64 first_photograph = clock.elapsed();  // the next ones are rendering now
      clock.restart();
      Click(fixture, button);
      // Skip: the run is on to the pages; Cancel: the wizard is closed and its run has ended.
      QVERIFY(TickUntil([&] {
        return fixture.Wizard->isVisible() ? fixture.Wizard->RunState().Step > TRunStep::RenderPhotographs
                                           : !fixture.Wizard->RunTimerActive();
      }));
      QVERIFY2(clock.elapsed() < first_photograph / 2,
               qPrintable(QStringLiteral("%1: %2 ms, %3 ms for the first photograph")
                              .arg(QLatin1String(button))
                              .arg(clock.elapsed())
                              .arg(first_photograph)));
    }
  }

  void finishWithoutPhotographsSaysSoAndCreatesNothing() {
    TWizardFixture fixture;
    fixture.Open().ShowPage(3);
    Click(fixture, "btnFinish");
    QCOMPARE(fixture.Dialogs.Informed,
             QStringList{QStringLiteral("There are no photographs in this album to generate.")});
    QCOMPARE(fixture.Wizard->CurrentPage(), 3);
    QCOMPARE(fixture.Child<QStackedWidget>("pnlPages").currentWidget()->objectName(), QStringLiteral("pnlIndexPage"));
    QVERIFY(fixture.Child<QPushButton>("btnFinish").isEnabled());
    QVERIFY(FilesIn(fixture.DesktopFolder()).isEmpty());
    QVERIFY(
        QDir(QString::fromStdString(fixture.DesktopFolder())).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(fixture.Album.Settings.OutputDirectory.empty());
  }

  void anExistingFolderAnsweredNoWritesNothing() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("one.jpg"));
    fixture.Open().ShowPage(5);
    const std::string folder = fixture.Folder(QStringLiteral("existing"));
    fixture.Child<QLineEdit>("edtOutputDirectory").setText(QString::fromStdString(folder));
    fixture.Dialogs.Answers.push_back(false);
    Click(fixture, "btnFinish");
    QCOMPARE(fixture.Dialogs.Asked, QStringList{QString::fromStdString(ExistingFolderQuestion(folder + "/"))});
    QCOMPARE(fixture.Dialogs.AskedDefaultNo, fixture.Dialogs.Asked);
    QCOMPARE(fixture.Wizard->CurrentPage(), 5);
    QCOMPARE(fixture.Child<QLineEdit>("edtOutputDirectory").text(), QString::fromStdString(folder + "/"));
    QCOMPARE(fixture.Album.Settings.OutputDirectory, folder + "/");
    QVERIFY(fixture.Wizard->Run() == nullptr);
    QTest::qWait(50);
    QVERIFY(FilesIn(folder).isEmpty());
  }

  void aFolderThatCannotBeMadeIsReportedAndFinishStaysAvailable() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("one.jpg"));
    const std::string blocker = JoinPath(fixture.Folder(QStringLiteral("out")), "file");
    WriteFileAtomically(blocker, "not a folder");
    fixture.Open().ShowPage(5);
    fixture.Child<QLineEdit>("edtOutputDirectory").setText(QString::fromStdString(blocker + "/album"));
    Click(fixture, "btnFinish");
    QCOMPARE(fixture.Dialogs.Errors,
             QStringList{QStringLiteral("Could not create directory \"%1/album/\". Not a directory.")
                             .arg(QString::fromStdString(blocker))});
    QCOMPARE(fixture.Wizard->CurrentPage(), 5);
    QVERIFY(fixture.Child<QPushButton>("btnFinish").isEnabled());
    QVERIFY(fixture.Wizard->Run() == nullptr);
  }

  void aFailingStepIsShownAndNoTickFollowsIt() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("good.jpg"));
    fixture.AddPhotograph(QStringLiteral("second.jpg"));
    // A folder in the place of the second photograph's image cannot be replaced by a file.
    WriteFileAtomically(JoinPath(fixture.Folder(QStringLiteral("desktop/UntitledAlbum/second.jpg")), "keep"), "");
    fixture.Dialogs.Answers = {true};
    fixture.Open();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return !fixture.Dialogs.Errors.isEmpty(); }));
    QCOMPARE(fixture.Dialogs.Errors.size(), 1);
    QVERIFY(!fixture.Wizard->RunTimerActive());
    const int position = fixture.Child<QProgressBar>("pbImageProgress").value();
    QCOMPARE(position, 2);  // the good photograph and its thumbnail
    QTest::qWait(100);
    QCOMPARE(fixture.Wizard->CurrentPage(), 6);
    QCOMPARE(fixture.Child<QLabel>("lblStep").text(), QStringLiteral("Generation stopped"));
    QCOMPARE(fixture.Dialogs.Errors.size(), 1);
    QCOMPARE(fixture.Child<QProgressBar>("pbImageProgress").value(), position);
    QVERIFY(fixture.Child<QPushButton>("btnCancel").isEnabled());
    QVERIFY(!Exists(fixture.Album.Settings.OutputDirectory, "index.html"));
  }

  void theFinishedPageNamesPhotographsThatGotNoImages() {
    TWizardFixture fixture;
    fixture.AddPhotograph(QStringLiteral("here.jpg"));
    TPhotograph& gone = fixture.Album.Photographs.Add(std::make_unique<TPhotograph>());
    gone.SetFileName(fixture.Folder(QStringLiteral("photos")) + "/gone.jpg");
    QVERIFY(gone.Missing());
    const std::string broken = fixture.Folder(QStringLiteral("photos")) + "/broken.jpg";
    WriteFileAtomically(broken, "this is not a JPEG file");
    fixture.Album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(broken);
    fixture.Open();
    Click(fixture, "btnFinish");
    QVERIFY(TickUntil([&] { return fixture.Wizard->CurrentPage() == 7; }));
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
    QCOMPARE(fixture.Child<QLabel>("lblCompleted").text(), QStringLiteral("Web Album Made Without Some Photographs"));
    const QLabel& label = fixture.Child<QLabel>("lblPhotographsWithoutImages");
    QVERIFY(label.isVisible());
    QCOMPARE(label.text(), QStringLiteral("These 2 photographs were left out: their pages are in the album, but "
                                          "without the pictures."));
    QCOMPARE(ListRows(fixture.Child<QListWidget>("lstPhotographsWithoutImages")),
             (QStringList{QString::fromStdString(gone.FileName) + " (file not found)",
                          QString::fromStdString(broken) + " (Not a JPEG file: starts with 0x74 0x68)"}));
    QVERIFY(Exists(fixture.Album.Settings.OutputDirectory, gone.WebName + ".html"));
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-7b-finished-page-missing-photographs"));
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::GenerateRunTest)
#include "generate_run_test.moc"
