// The desktop application: one main window on the album named by the first
// command-line argument, or on a new album.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/about.h"
#include "app/mainwindow.h"
#include "platform/memory.h"
#include "platform/programfolder.h"

int main(int argc, char* argv[]) {
  folivant::KeepFreedMemoryForReuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Folivant"));
  QApplication::setDesktopFileName(QStringLiteral("org.example.folivant"));
  // Every window, the About box's picture too, shows the program's own icon.
  QApplication::setWindowIcon(folivant::ApplicationIcon());
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  folivant::TfrmFolivant window(folivant::ProgramFolder(), arguments);
  window.show();
  // For the package test, which starts the installed application on an album:
  // with FOLIVANT_QUIT_AFTER_START set it says what it opened and ends once its
  // window is up.
  if (qEnvironmentVariableIsSet("FOLIVANT_QUIT_AFTER_START"))
    QTimer::singleShot(0, &window, [&window] {
      std::printf("%s: %d photographs\n", window.Album().FileName.c_str(), window.Album().Photographs.Count());
      QApplication::quit();
    });
  return QApplication::exec();
}
