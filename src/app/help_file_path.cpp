#include "app/help_file_path.h"

#include <filesystem>

#include "settings/language_texts.h"

namespace kestrum {

std::string HelpFilePath(const std::string& exeDirectory, int language) {
    const std::size_t first = exeDirectory.find_first_not_of(' ');
    std::string path;
    if (first != std::string::npos)
        path = exeDirectory.substr(first, exeDirectory.find_last_not_of(' ') - first + 1);
    if (!path.empty() && path.back() != '/' && path.back() != '\\')
        path += static_cast<char>(std::filesystem::path::preferred_separator);
    return path + LanguageName(language) + ".HLP";
}

}  // namespace kestrum
