#pragma once
// Turning a protocol line into what sender mode sends: the comment cut off,
// then in ASCII the <CR>/<LF> tokens and the appended line end, in hex the
// clean-up before the hex conversion.

#include <string>
#include <string_view>

#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

// The line up to the first occurrence of `delimiter` (case-sensitive); `cut`
// tells whether it occurred. An empty delimiter never occurs.
std::string_view StripComment(std::string_view line, std::string_view delimiter, bool& cut);

// The bytes of an ASCII line:
// - with SendCrStrAsCrChar every "<CR>" becomes byte 13, then with
//   SendLfStrAsLfChar every "<LF>" byte 10 (the token whose flag is off stays
//   literal text);
// - with neither flag, "<CR>" and "<LF>" at the end of the line are removed
//   as long as there are some; tokens elsewhere stay;
// - then byte 13 with AppendCrChar, byte 10 with AppendLfChar.
std::string AsciiSendBytes(std::string_view line, const Options& options);

// The text of a hex line that goes to the hex conversion: everything up to
// and including the first ':' removed, blanks and control characters
// trimmed at both ends, and the rest cut at its first two blanks in a row
// (what follows is a hex dump line's character column).
std::string HexSendText(std::string_view line);

// Blanks and control characters (bytes up to 32) trimmed at both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

// Writes all of `bytes` to the port in one call; false when the write
// failed or took only part of them.
bool WriteWhole(SerialPorts& ports, PortHandle port, const std::string& bytes);

}  // namespace kestrum
