#pragma once
// The program's modes and states, with the values the settings file stores.
// The settings codec converts at its edge; everything else compares names.

#include <cstdint>

namespace kestrum {

// How received bytes are shown (settings key LogMode).
enum class LogMode : int {
    Ascii = 1,  // text lines
    Hex = 2,    // hex dump lines: hex column and character column
};

// Parity of a channel's line settings (settings key Parity, written as a letter).
enum class Parity : std::uint8_t {
    None = 0,
    Odd = 1,
    Even = 2,
    Mark = 3,
    Space = 4,
};

// Stop bits of a channel's line settings (settings key StopBits).
enum class StopBits : std::uint8_t {
    One = 0,
    OneAndHalf = 1,
    Two = 2,
};

// What the main window is busy with.
enum class ActivityMarker : int {
    Idle = 0,
    Creating = 1,
    StartDown = 2,  // recording or sending
    Printing = 3,
    Loading = 4,
    Saving = 5,
    Closing = 6,
};

// The main window's state (settings key WindowState).
enum class WindowState : int {
    Normal = 0,
    Minimised = 1,
    Maximised = 2,
};

}  // namespace kestrum
