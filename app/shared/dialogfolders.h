#pragma once

#include <QString>

#include "editor/startfolder.h"

namespace folivant {

class TDialogs;
class TSettingsStore;

/// The folder a file dialog for `kind` starts in: StartFolder with the
/// desktop's pictures folder and the home folder, read afresh from `store`.
QString DialogStartFolder(TSettingsStore& store, TFileKind kind);

/// Remembers the folder of `chosen` (a file or a folder) for `kind`. A
/// settings file that cannot be written is shown through `dialogs`, never
/// thrown: the command that chose the file has done its work.
void RememberDialogFolder(TSettingsStore& store, TDialogs& dialogs, TFileKind kind, const QString& chosen);

}  // namespace folivant
