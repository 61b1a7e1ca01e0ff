#pragma once
#include <string>

namespace kestrum {

// The help file of `language` beside the program: `exeDirectory` trimmed of
// blanks, a separator unless it already ends in one, "English" or "German"
// (2 German, anything else English) and ".HLP".
std::string HelpFilePath(const std::string& exeDirectory, int language);

}  // namespace kestrum
