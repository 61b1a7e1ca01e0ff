#pragma once
// The channel table: entries 0..9 (0 user, 1..8 serial channels, 9 master)
// with their fonts and IDs, and the per-channel record of channels 1..8.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/channel_index.h"
#include "base/colour.h"
#include "base/comm_config.h"
#include "base/modes.h"

namespace kestrum {

constexpr std::size_t kMaxTriggerLength = 16;

enum FontStyleBits : std::uint8_t {
    kStyleBold = 1,
    kStyleItalic = 2,
    kStyleUnderline = 4,
    kStyleStrikeOut = 8,
};

struct FontEntry {
    std::string FontName = "FixedSys";
    int FontSize = 11;
    Colour FontColor = 0x000000;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikeOut = false;
    std::uint8_t FontStyle = 0;  // derived from the four flags
    bool operator==(const FontEntry&) const = default;
};

struct ChannelRecord {
    std::string PortName;   // "COM1".."COM8", fixed
    std::string Device;     // device the port name is mapped to (settings key Device)
    std::string ChannelID;  // as typed; empty after trimming means PortName
    bool MonitorChannel = false;
    bool Active = false;
    bool Installed = false;
    bool Available = false;
    bool Open = false;
    PortHandle Handle = kInvalidPortHandle;  // PortHandle
    OpenFailure LastOpenFailure = OpenFailure::None;
    std::string LastOpenError;  // the system's text for a failed open, when it gave one
    CommConfig Config;          // CommConfig
    CommConfig DefaultConfig;   // DefaultCommConfig
    CommConfig SavedConfig;     // SavedCommConfig
    CommTimeouts SavedTimeouts; // SavedCommTimeouts
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    kestrum::Parity Parity = kestrum::Parity::None;
    kestrum::StopBits StopBits = kestrum::StopBits::One;
    std::string HintSuffix;
    bool TriggerEnabled = false;
    bool TriggerOneShot = false;
    std::string TriggerWord;          // hex text form
    std::string TriggerBytes;         // 0..16 bytes
    int TriggerLength = 0;
    std::string TriggerDisplayText;
    std::string TriggerHexColumnText;
    std::vector<std::string> InputHistory;  // entry 1 first, up to 64
};

struct ChannelTable {
    std::array<FontEntry, kEntryCount> Fonts;
    std::string UserName = "User";                   // ID of entry 0
    std::array<std::string, kEntryCount> IdPadding;  // used for 0..8
    std::array<ChannelRecord, kEntryCount> Channels; // only 1..8 are used
    ChannelTable();

    // Record of channel 1..8 and font entry 0..9; other numbers throw
    // std::out_of_range.
    ChannelRecord& Channel(int n);
    const ChannelRecord& Channel(int n) const;
    FontEntry& Font(int entry) { return At(Fonts, entry); }
    const FontEntry& Font(int entry) const { return At(Fonts, entry); }

    // ID of entry 0..9: the user name, a channel's ChannelID, "MasterFont".
    const std::string& EntryId(int entry) const;
};

}  // namespace kestrum
