#pragma once
// Which protocol files are Rich Text.

#include <string_view>

namespace kestrum {

// True when the extension of `path` (from the last '.' after the last '/' or
// '\') is ".RTF" in any letter case; every other file is plain text.
bool IsRtfFileName(std::string_view path);

}  // namespace kestrum
