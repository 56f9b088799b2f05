// folivant-thumbnailbench [FOLDER [COUNT [WIDTH HEIGHT]]]: opens an album of
// COUNT (2,000) photographs in the main window, offscreen, and reports how
// long the photo list takes to appear, how long until every thumbnail has
// arrived while the list is scrolled, and the longest stall of the GUI thread.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "app/mainwindow.h"
#include "app/shared/thumbnailloader.h"
#include "heartbeat.h"
#include "model/albumclasses.h"
#include "samplephotos.h"

namespace {

namespace fs = std::filesystem;
using namespace folivant;

// A few distinct photographs, linked under COUNT names: every name is decoded on its own.
std::string MakeAlbum(const fs::path& folder, int count, int width, int height) {
  constexpr int kDistinct = 8;
  fs::create_directories(folder / "photos");
  std::vector<fs::path> originals;
  for (int i = 0; i < kDistinct; ++i) {
    const fs::path path = folder / ("original" + std::to_string(i) + ".jpg");
    std::ofstream(path, std::ios::binary) << samples::MakeSamplePhoto(i, width, height, {}, 90);
    originals.push_back(path);
  }
  TAlbum album;
  for (int i = 0; i < count; ++i) {
    const fs::path path = folder / "photos" / ("photo" + std::to_string(10000 + i) + ".jpg");
    fs::remove(path);
    fs::create_hard_link(originals[static_cast<size_t>(i % kDistinct)], path);
    auto photo = std::make_unique<TPhotograph>();
    photo->SetFileName(path.string());
    album.Photographs.Add(std::move(photo));
  }
  album.FileName = (folder / "bench.alb").string();
  album.SaveToFile();
  return album.FileName;
}

// Processor time of the whole process, GUI thread and workers, in milliseconds:
// on a busy machine it tells what the work costs better than the wall clock.
double ProcessCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "folivant-thumbnailbench";
  const int count = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int width = argc > 4 ? std::atoi(argv[3]) : 1600;
  const int height = argc > 4 ? std::atoi(argv[4]) : 1200;
  // Never the user's own settings.
  fs::create_directories(folder / "config");
  qputenv("FOLIVANT_CONFIG_DIR", QByteArray::fromStdString((folder / "config").string()));
  QApplication application(argc, argv);

  std::printf("making %d photographs of %d x %d in %s\n", count, width, height, folder.c_str());
  const std::string album = MakeAlbum(folder, count, width, height);

  QElapsedTimer clock;
  clock.start();
  TfrmFolivant window((folder / "").string(), {QString::fromStdString(album)});
  window.show();
  auto* list = window.findChild<QListView*>(QStringLiteral("lstPhotos"));
  auto* thumbnails = list->findChild<TPhotoListThumbnails*>();
  QCoreApplication::processEvents();
  const qint64 listed = clock.elapsed();
  std::printf("list of %d rows shown after   %6lld ms\n", list->model()->rowCount(), static_cast<long long>(listed));

  // Scroll a page every 100 ms, as a user paging down would, until every thumbnail is there.
  THeartbeat heartbeat;
  QTimer scroll;
  QObject::connect(&scroll, &QTimer::timeout, [list] {
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(bar->value() + bar->pageStep());
  });
  scroll.start(100);
  const double cpu_before = ProcessCpuMs();
  qint64 all = -1;
  QTimer done;
  QObject::connect(&done, &QTimer::timeout, [&] {
    if (!thumbnails->AllArrived()) return;
    all = clock.elapsed();
    QCoreApplication::quit();
  });
  done.start(10);
  QApplication::exec();
  std::printf("all thumbnails after          %6lld ms (%.0f a second after the list)\n", static_cast<long long>(all),
              count * 1000.0 / std::max<qint64>(1, all - listed));
  const double cpu = ProcessCpuMs() - cpu_before;
  std::printf("processor time for them       %6.0f ms (%.2f ms a thumbnail, %d workers)\n", cpu, cpu / count,
              TThumbnailStore::Shared().Threads());
  std::printf("longest GUI-thread stall      %6lld ms (5 ms heartbeat)\n",
              static_cast<long long>(heartbeat.LargestGapMs()));
  return all < 0 ? 1 : 0;
}
