#pragma once
// The line record of each entry 0..8 (0 the user, 1..8 the channels): the
// buffers of the line being assembled and its writing state.

#include <array>
#include <cstddef>

#include "capture/fixed_text.h"
#include "platform/clock.h"

namespace kestrum {

constexpr std::size_t kLineTextCapacity = 255;
constexpr int kMaxHexLineByteCount = 255;
// HexLineWidth of the longest hex line (255 bytes): the hex column is wider
// than the other buffers so that every byte of such a line keeps its digits.
constexpr std::size_t kHexColumnCapacity =
    3 * kMaxHexLineByteCount + 2 * ((kMaxHexLineByteCount - 1) / 8) + 2;


struct LineRecord {
    FixedText<kLineTextCapacity> LineText;   // ASCII: prefix and received text
    FixedText<kLineTextCapacity> HexPrefix;  // hex: the line's prefix
    FixedText<kHexColumnCapacity> HexColumn; // hex: digit pairs at their positions
    FixedText<kLineTextCapacity> CharColumn; // hex: the bytes, below 32 as byte 1
    int HexByteCount = 0;
    double ByteTime = 0.0;        // protocol-clock seconds of the line's first byte
    DateTime LineDeadline = 0.0;  // when unwritten bytes are shown as an open line
    bool LineStarted = false;     // the buffers hold a begun line with its prefix
    bool Written = true;          // everything in the buffers is in the protocol
    bool LineClosed = true;       // false: the last protocol line of the entry is open
    // The display mode the buffers were filled in (LogMode::Ascii or
    // LogMode::Hex); WriteChannelLine writes that form. Set by the line starts;
    // code that fills entry 0 itself (manual send) sets it too.
    LogMode Mode = LogMode::Ascii;
};

constexpr int kLineRecordCount = 9;  // entries 0..8
using LineRecords = std::array<LineRecord, kLineRecordCount>;

}  // namespace kestrum
