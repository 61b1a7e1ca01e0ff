#pragma once
// Protocol files on disk: read into a document, written from one. The file's
// extension decides the format: Rich Text for ".RTF" in any letter case,
// plain single-byte text for every other name.

#include <cstddef>
#include <string>

#include "base/atomic_file.h"
#include "document/protocol_document.h"
#include "document/rtf_reader.h"

namespace kestrum {

enum class ProtocolFileFailure : int {
    None = 0,
    System = 1,    // a system call failed: ErrorCode holds its errno
    Rtf = 2,       // the Rich Text reader stopped: Rtf holds why and where
    TooLarge = 3,  // the file or its text exceeds the limits given
};

struct ProtocolFileResult {
    ProtocolFileFailure Failure = ProtocolFileFailure::None;
    int ErrorCode = 0;    // errno of the failing call, taken right after it
    RtfReadResult Rtf;
    bool Ok() const { return Failure == ProtocolFileFailure::None; }
};

// How much a loaded protocol may hold (the protocol field's capacity);
// zero: no limit.
struct ProtocolLimits {
    std::size_t Lines = 0;
    std::size_t Characters = 0;  // text and one per line end
};

// Reads the file at `path` into `document` (cleared first). Plain text lines
// take `plainAttributes`. A file whose size alone shows that its text cannot
// fit `limits` is not read; a text with more lines or characters than
// `limits` fails after reading. On failure `document` is to be thrown away.
ProtocolFileResult ReadProtocolFile(const std::string& path, const TextAttributes& plainAttributes,
                                    const ProtocolLimits& limits, ProtocolDocument& document);

// The bytes of `document` in the format `path` names.
std::string EncodeProtocolFile(const std::string& path, const ProtocolDocument& document);

// Writes `bytes` to `path` through a new file in the same folder that is
// flushed with `sync` and renamed over it: on failure the old file is
// untouched.
ProtocolFileResult WriteProtocolFile(const std::string& path, const std::string& bytes, SyncToDiskFunction sync);

}  // namespace kestrum
