#pragma once
#include <string>

namespace kestrum {

// The user's folder for application settings (Windows: the APPDATA
// variable; Linux: $XDG_CONFIG_HOME, else $HOME/.config). Empty when the
// environment names none.
std::string ApplicationDataFolder();

}  // namespace kestrum
