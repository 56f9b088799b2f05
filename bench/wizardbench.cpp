// folivant-wizardbench ALBUM.alb OUTPUT: generates the album into the folder
// OUTPUT (which must not exist) with the generation wizard, offscreen, as a
// user's Finish does, and reports how long the run took and the longest
// stall of the GUI thread during it. Timed against `folivant-cli generate`
// with farm-bench (bench/README.md).

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/wizard/generate.h"
#include "heartbeat.h"
#include "model/albumclasses.h"
#include "model/globalsettings.h"
#include "platform/memory.h"
#include "platform/programfolder.h"
#include "platform/settingsstore.h"

namespace {

namespace fs = std::filesystem;
using namespace folivant;

constexpr int kFinishedPage = 7;

}  // namespace

int main(int argc, char** argv) {
  folivant::KeepFreedMemoryForReuse();  // as the application does
  if (argc != 3) {
    std::fprintf(stderr, "usage: folivant-wizardbench ALBUM.alb OUTPUT\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  // Never the user's own settings.
  const fs::path config = fs::temp_directory_path() / "folivant-wizardbench-config";
  fs::create_directories(config);
  QApplication application(argc, argv);
  std::unique_ptr<TAlbum> album = TAlbum::LoadFromFile(argv[1]);
  TSettingsStore store(config.string());
  const TGlobalSettings global_settings(ProgramFolder(), store);

  TfrmGenerate wizard(nullptr, store, ProgramFolder(), fs::temp_directory_path().string());
  wizard.Prepare(*album, global_settings);
  wizard.show();
  wizard.ShowPage(5);
  wizard.findChild<QLineEdit*>(QStringLiteral("edtOutputDirectory"))->setText(QString::fromLocal8Bit(argv[2]));
  QCoreApplication::processEvents();

  const THeartbeat heartbeat;
  QElapsedTimer clock;
  clock.start();
  QTimer::singleShot(0, [&wizard] { wizard.findChild<QPushButton*>(QStringLiteral("btnFinish"))->click(); });
  QTimer done;
  QObject::connect(&done, &QTimer::timeout, [&wizard] {
    if (wizard.CurrentPage() == kFinishedPage || (wizard.Run() && !wizard.RunTimerActive())) QCoreApplication::quit();
  });
  done.start(5);
  QApplication::exec();
  std::printf("run                     %6lld ms\n", static_cast<long long>(clock.elapsed()));
  std::printf("longest GUI-thread stall %5lld ms (5 ms heartbeat)\n", static_cast<long long>(heartbeat.LargestGapMs()));
  return wizard.CurrentPage() == kFinishedPage ? 0 : 1;
}
