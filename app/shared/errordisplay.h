#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "app/shared/dialogs.h"

namespace folivant {

/// The error box's text: the message, with "." appended when its last
/// character comes after "." in character order.
QString ErrorBoxText(const QString& message);

/// Runs one command of a window: an exception must never leave a Qt slot, so
/// every slot and timer tick runs its work through here. An error is shown in
/// the error box and the program goes on with the state the command left.
/// Returns false when the command failed.
template <typename Command>
bool RunCommand(TDialogs& dialogs, Command&& command) {
  try {
    std::forward<Command>(command)();
    return true;
  } catch (const std::exception& error) {
    dialogs.ShowError(ErrorBoxText(QString::fromStdString(error.what())));
  }
  return false;
}

}  // namespace folivant
