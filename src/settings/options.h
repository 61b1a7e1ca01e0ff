#pragma once
// Every program-wide option kept in the settings file, with its default.
// The field names are the settings keys.

#include <cstdint>
#include <string>

#include "base/colour.h"
#include "base/modes.h"

namespace kestrum {

// File handling of one mode (sections MonitorMode and SenderMode).
struct ModeFileOptions {
    std::string ProtocolDirectory;     // empty until StartDirectory is known
    bool ProtocolDirectoryPresent = false;  // key was found in the file
    int OpenDialogFilterIndex = 1;
    int SaveDialogFilterIndex = 1;
    bool operator==(const ModeFileOptions&) const = default;
};

struct Options {
    // [General]
    bool SaveSettings = true;
    bool MonitorMode = true;
    bool SenderMode = false;
    kestrum::LogMode LogMode = kestrum::LogMode::Ascii;
    bool TriggerOn = false;
    bool FontFixedPitchOnly = true;
    Colour BackgroundColor = kSystemWindowColour;
    bool AutoDetectDeviceChanges = true;
    bool LineWrap = false;
    bool ShowTriggerWords = true;
    bool ShowStartStopTime = true;
    bool ShowTimeTags = false;
    bool ShowChannelId = true;
    bool DumpOnCr = false;
    bool DumpOnLf = true;
    bool ShowCrChar = true;
    bool ShowLfChar = false;
    bool SendCrStrAsCrChar = true;
    bool SendLfStrAsLfChar = true;
    bool AppendCrChar = true;
    bool AppendLfChar = true;
    bool SenderModeAutoRepeat = true;
    bool HighlightInputLine = true;
    int InputLineMaxHistoryCount = 16;  // 0..64
    int HexLineByteCount = 16;          // 1..255
    int Language = 1;                   // 1 English, 2 German
    // Every recording also writes a capture file (pcapng) into
    // CaptureDirectory; an empty folder stands for the monitor-mode protocol folder.
    bool CaptureFile = false;
    std::string CaptureDirectory;

    // [MonitorMode], [SenderMode]
    ModeFileOptions Monitor;
    ModeFileOptions Sender;
    std::string CommentDelimiter = "//";
    int SenderChannel = -1;  // -1 or 1..8
    std::uint32_t TxTimeInterval = 1000;
    bool Synchronize = false;

    // [FormMain]
    kestrum::WindowState WindowState = kestrum::WindowState::Normal;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool WidthPresent = false;   // key was found in the file
    bool HeightPresent = false;

    // [Printer]
    int PrinterOrientation = 0;  // 0 portrait, 1 landscape
    int MarginTop = 10;
    int MarginBottom = 10;
    int MarginLeft = 15;
    int MarginRight = 10;

    bool operator==(const Options&) const = default;
};

constexpr int kMaxHistoryCount = 64;

}  // namespace kestrum
