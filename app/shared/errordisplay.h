#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "app/shared/dialogs.h"
#include "platform/error.h"

namespace folivant {

/// The error box's text: the message, with "." appended when its last
/// character comes after "." in character order.
QString ErrorBoxText(const QString& message);

/// Runs one command of a window: an exception must never leave a Qt slot, so
/// every slot (connected through CommandSlot) and timer tick runs its work
/// through here. An error is shown in the error box (as ErrorMessage words
/// it) and the program goes on with the state the command left. Returns false
/// when the command failed.
template <typename Command>
bool RunCommand(TDialogs& dialogs, Command&& command) {
  try {
    std::forward<Command>(command)();
    return true;
  } catch (const std::exception& error) {
    dialogs.ShowError(ErrorBoxText(QString::fromStdString(ErrorMessage(error))));
  }
  return false;
}

/// A slot for `connect` that runs `window`'s `command` through RunCommand, so
/// that no exception leaves Qt. Every window connects its commands this way.
template <typename Window, typename... Args>
auto CommandSlot(TDialogs& dialogs, Window* window, void (Window::*command)(Args...)) {
  return [&dialogs, window, command](Args... args) { RunCommand(dialogs, [&] { (window->*command)(args...); }); };
}

/// A slot for `connect` that runs `command`, which takes no arguments, through RunCommand.
template <typename Command>
auto CommandSlot(TDialogs& dialogs, Command command) {
  return [&dialogs, command = std::move(command)] { RunCommand(dialogs, command); };
}

}  // namespace folivant
