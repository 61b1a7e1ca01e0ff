#pragma once
// The channel table: entries 0..9 (0 user, 1..8 serial channels, 9 master)
// with their fonts and IDs, and the per-channel record of channels 1..8.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "settings/options.h"

namespace kestrum {

constexpr int kUserEntry = 0;
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 8;
constexpr int kMasterEntry = 9;
constexpr int kEntryCount = 10;
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
    CommConfig Config;          // CommConfig
    CommConfig DefaultConfig;   // DefaultCommConfig
    CommConfig SavedConfig;     // SavedCommConfig
    CommTimeouts SavedTimeouts; // SavedCommTimeouts
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
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

    // ID of entry 0..9: the user name, a channel's ChannelID, "MasterFont".
    const std::string& EntryId(int entry) const;
};

}  // namespace kestrum
