#pragma once
// Text that comes from the system, as the program shows it. File names are
// kept as the system gives them, and its error texts come in its own
// encoding (UTF-8 on Linux); captions and message boxes take Windows-1252.

#include <string>
#include <string_view>

namespace kestrum {

// `text` as Windows-1252: every UTF-8 character that Windows-1252 has
// becomes its byte, any other character '?'. A byte that is not part of a
// valid UTF-8 sequence is kept as it is.
std::string SystemText(std::string_view text);

}  // namespace kestrum
