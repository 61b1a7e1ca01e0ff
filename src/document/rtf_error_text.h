#pragma once
// The message texts of the Rich Text reader's errors.

#include <string>

#include "document/rtf_reader.h"

namespace kestrum {

// One sentence telling what is wrong with the file and at which byte, in
// English (language 1, and any unknown language) or German (language 2),
// as Windows-1252 text. Empty for RtfError::None.
std::string RtfErrorText(const RtfReadResult& result, int language);

}  // namespace kestrum
