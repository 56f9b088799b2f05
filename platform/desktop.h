#pragma once

#include <string>

namespace folivant {

/// The current user's desktop folder, without a trailing "/", as
/// `xdg-user-dir DESKTOP` reports it: XDG_DESKTOP_DIR from
/// $XDG_CONFIG_HOME/user-dirs.dirs or the environment, else $HOME/Desktop.
/// Empty when neither that nor $HOME is known. Never throws.
std::string DesktopFolder();

/// The current user's pictures folder, found the same way from
/// XDG_PICTURES_DIR, else $HOME/Pictures; it need not exist. Never throws.
std::string PicturesFolder();

}  // namespace folivant
