#include "app/shared/dialogfolders.h"

#include <QDir>

#include "app/shared/errordisplay.h"
#include "platform/desktop.h"
#include "platform/settingsstore.h"

namespace folivant {

QString DialogStartFolder(TSettingsStore& store, TFileKind kind) {
  return QString::fromStdString(StartFolder(store.Load(), kind, PicturesFolder(), QDir::homePath().toStdString()));
}

void RememberDialogFolder(TSettingsStore& store, TDialogs& dialogs, TFileKind kind, const QString& chosen) {
  RunCommand(dialogs, [&] {
    RememberFolder(store.Load(), kind, chosen.toStdString());
    store.Save();
  });
}

}  // namespace folivant
