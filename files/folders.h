#pragma once
// Where a desktop keeps a user's things, as the XDG base and user directories say.
#include <string>

// $XDG_CONFIG_HOME, or ~/.config where that is unset or not absolute; "" when neither gives a
// place (HOME unset).
std::string ConfigFolder();
// $XDG_PICTURES_DIR, else the folder the desktop's user-dirs.dirs names for pictures, else
// ~/Pictures; "" when HOME is unset.
std::string PicturesFolder();
