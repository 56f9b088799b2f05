// The desktop application: one main window on the album named by the first
// command-line argument, or on a new album.

#include <QApplication>

#include "app/about.h"
#include "app/mainwindow.h"
#include "platform/programfolder.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Folivant"));
  QApplication::setDesktopFileName(QStringLiteral("folivant"));
  // Every window, the About box's picture too, shows the program's own icon.
  QApplication::setWindowIcon(folivant::ApplicationIcon());
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  folivant::TfrmFolivant window(folivant::ProgramFolder(), arguments);
  window.show();
  return QApplication::exec();
}
