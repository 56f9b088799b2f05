// folivant-manual-screenshots FOLDER: pictures of the application's own windows
// for the user manual, on a sample album, drawn on the offscreen platform so that
// the build makes them without a display and they look the same everywhere.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListView>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <fstream>
#include <memory>

#include "app/about.h"
#include "app/mainwindow.h"
#include "app/shared/dialogs.h"
#include "app/stylesheeteditor.h"
#include "app/wizard/generate.h"
#include "model/albumclasses.h"
#include "model/globalsettings.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"
#include "samplephotos.h"

namespace folivant {
namespace {

// Nothing on the way to a picture should ask or tell anything: every such call
// is printed and fails the run instead of waiting for an answer nobody gives.
class TRefusingDialogs : public TDialogs {
 public:
  bool Failed = false;

  bool Ask(const QString& question) override {
    Refuse("question", question);
    return false;
  }
  bool AskDefaultNo(const QString& question) override { return Ask(question); }
  TSaveAnswer AskToSave(const QString& question) override {
    Refuse("question", question);
    return TSaveAnswer::Cancel;
  }
  void Inform(const QString& message) override { Refuse("message", message); }
  void Message(const QString& message) override { Refuse("message", message); }
  void ShowError(const QString& message) override { Refuse("error", message); }
  QStringList ChooseFilesToOpen(const QString&, bool, const QString&) override {
    Refuse("file choice");
    return {};
  }
  QString ChooseFileToSave(const QString&, bool, const QString&) override {
    Refuse("file choice");
    return {};
  }
  QString ChooseFolder(const QString&, const QString&) override {
    Refuse("folder choice");
    return {};
  }
  QColor ChooseColor(const QColor&) override {
    Refuse("colour choice");
    return {};
  }
  void Open(const QUrl& url) override { Refuse("open", url.toString()); }

 private:
  void Refuse(const char* what, const QString& text = {}) {
    std::fprintf(stderr, "folivant-manual-screenshots: unexpected %s %s\n", what, qPrintable(text));
    Failed = true;
  }
};

class TScreenshots {
 public:
  // The folder is the program's own: pictures of an earlier build go, so that none outlives its window.
  explicit TScreenshots(QString folder) : folder_(std::move(folder)) {
    QDir(folder_).removeRecursively();
    QDir().mkpath(folder_);
  }

  // Lets layouts, the preview and queued work settle for a moment, then saves a picture of `window`.
  void Take(QWidget& window, const QString& name) {
    window.show();
    QEventLoop settle;
    QTimer::singleShot(200, &settle, &QEventLoop::quit);
    settle.exec();
    const QString path = folder_ + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!window.grab().save(path)) throw std::runtime_error("cannot write " + path.toStdString());
  }

 private:
  QString folder_;
};

// Writes the sample pictures into `folder` and an album of them, in date order, as `album_file`.
void WriteSampleAlbum(const std::string& folder, const std::string& album_file) {
  QDir().mkpath(QString::fromStdString(folder));
  TAlbum album;
  album.Title = "A Week in the Hills";
  album.Description = "Seven days of walking, from the first light over the valley to the moon over the ridge.";
  for (const samples::TSamplePicture& picture : samples::SamplePictures()) {
    const std::string path = folder + "/" + picture.FileName;
    std::ofstream(path, std::ios::binary)
        << samples::MakeSamplePhoto(picture.Scene, picture.Width, picture.Height, picture.Metadata);
    album.Photographs.Add(std::make_unique<TPhotograph>()).SetFileName(path);
  }
  album.SortByDate();
  album.FileName = album_file;
  album.SaveToFile();
}

void ShootMainWindow(TScreenshots& shots, TDialogs& dialogs, const std::string& program_folder,
                     const QString& album_file, TGlobalSettings& global_settings) {
  {
    TfrmFolivant empty(program_folder, {}, &dialogs);
    shots.Take(empty, QStringLiteral("start-page"));
  }
  TfrmFolivant window(program_folder, {album_file}, &dialogs);
  auto* list = window.findChild<QListView*>(QStringLiteral("lstPhotos"));
  list->setCurrentIndex(list->model()->index(2, 0));
  shots.Take(window, QStringLiteral("main-window"));

  TfrmStylesheet editor(&window, global_settings, dialogs);
  shots.Take(editor, QStringLiteral("stylesheet-editor"));
  editor.hide();
  TfrmAbout about(&window, dialogs);
  shots.Take(about, QStringLiteral("about"));
  about.hide();
  window.Album().Saved = true;  // closing asks nothing
}

void ShootWizard(TScreenshots& shots, TDialogs& dialogs, const std::string& program_folder,
                 const std::string& desktop_folder, const std::string& album_file, TSettingsStore& store,
                 const TGlobalSettings& global_settings) {
  const std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(album_file);
  TfrmGenerate wizard(&dialogs, store, program_folder, desktop_folder);
  wizard.Prepare(*album, global_settings);
  const char* const pages[] = {"wizard", "wizard-colours", "wizard-index", "wizard-photos", "wizard-output"};
  for (int page = 1; page <= 5; ++page) {
    wizard.ShowPage(page);
    shots.Take(wizard, QString::fromLatin1(pages[page - 1]));
  }
  wizard.findChild<QAbstractButton*>(QStringLiteral("btnFinish"))->click();
  QElapsedTimer running;
  running.start();
  while (wizard.CurrentPage() != 7) {
    if (running.elapsed() > 120000) throw std::runtime_error("the album was not generated within two minutes");
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  shots.Take(wizard, QStringLiteral("wizard-finished"));
  wizard.hide();
}

}  // namespace
}  // namespace folivant

int main(int argc, char* argv[]) {
  using namespace folivant;
  if (argc != 2) {
    std::fprintf(stderr, "usage: folivant-manual-screenshots FOLDER\n");
    return 2;
  }
  // The same pictures on every machine, with or without a display, and never the user's own settings.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir work;
  const QString config = work.filePath(QStringLiteral("config"));
  qputenv("FOLIVANT_CONFIG_DIR", config.toLocal8Bit());
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Folivant"));
  QApplication::setWindowIcon(ApplicationIcon());
  try {
    const std::string temp = work.path().toStdString();
    const std::string album_file = temp + "/hills.alb";
    WriteSampleAlbum(temp + "/photos", album_file);
    QDir().mkpath(work.filePath(QStringLiteral("desktop")));
    // The program's folder holds the shipped tips.ini and schemes.ini (the build's bin/).
    const std::string program_folder = ProgramFolder();
    TSettingsStore store(config.toStdString());
    TGlobalSettings global_settings(program_folder, store);
    TRefusingDialogs dialogs;
    TScreenshots shots(QString::fromLocal8Bit(argv[1]));
    ShootMainWindow(shots, dialogs, program_folder, QString::fromStdString(album_file), global_settings);
    ShootWizard(shots, dialogs, program_folder, temp + "/desktop", album_file, store, global_settings);
    return dialogs.Failed ? 1 : 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "folivant-manual-screenshots: %s\n", error.what());
    return 1;
  }
}
