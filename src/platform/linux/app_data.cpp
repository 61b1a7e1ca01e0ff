#include "platform/app_data.h"

#include <cstdlib>

namespace kestrum {

std::string ApplicationDataFolder() {
    // A relative or empty XDG_CONFIG_HOME is invalid and ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return config;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    std::string folder = home;
    if (folder.back() != '/') folder += '/';
    return folder + ".config";
}

}  // namespace kestrum
