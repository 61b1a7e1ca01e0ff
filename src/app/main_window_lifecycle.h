#pragma once
// The main window's creation and close sequences, its key handler and the
// switch of its language, as far as they are the program's rules. The
// window does the widget steps in between: it measures itself, takes its
// geometry, shows itself and lets messages through.

#include <string>
#include <vector>

#include "app/app_wiring.h"
#include "base/modes.h"

namespace kestrum {

// What the window measured of itself before anything is placed.
struct WindowMeasures {
    int CaptionHeight = 0;   // height of a window caption
    int BorderWidth = 0;     // (window width - client width) div 2
    int ScreenWidth = 1024;
};

// The creation steps before the window is shown: activity marker 1, the
// printer presence test, button captions, the sync event created or opened,
// an empty protocol with Select
// All/Find/Replace off, option ranges and the protocol folders
// (`startDirectory`), the search dialogs' placement forgotten, window
// measures, background, protocol clock, the sender's timer and interval
// controls, channel table with the protocol's default and typing
// attributes, both modes' default protocol files, placement by the
// settings, mode and display controls, the printer's orientation
// remembered, and the language with every caption and hint.
void PrepareMainWindow(AppWiring& wiring, const WindowMeasures& measures, const std::string& startDirectory);

// The creation steps once the window is shown: the message position, the
// devices of channels without one (and the watcher following the folders of
// every channel's device), the ports tested and opened with their
// buttons, the hex line width and line length, nothing running, the
// protocol file named on the command line (`arguments`, the program first)
// loaded, and activity marker 0.
void FinishMainWindowCreation(AppWiring& wiring, const std::vector<std::string>& arguments = {});

// The close sequence up to letting messages through: activity marker 6, a
// recording or sending ends.
void BeginClosingMainWindow(AppWiring& wiring);
// The rest before the settings are written: the capture file closed,
// complete; every open port closed with its own settings put back; the
// printer given back the orientation it had at the window's creation; the
// sync event closed; and
// the window state to save (`formState` is the window's own state, normal
// or maximised).
void FinishClosingMainWindow(AppWiring& wiring, WindowState formState);

// FormMainOnKeyDown after messages were let through: the channel whose
// manual send Ctrl+digit opens (0: none), and Select All, Find and Replace
// enabled by their rule. `ctrlOnly`: Ctrl is the only modifier; `digit`:
// the digit of the main keyboard, or -1.
int FormMainOnKeyDown(AppWiring& wiring, bool ctrlOnly, int digit);

// Every text of the window in the language of the options (captions, hints,
// window caption, help file).
void ApplyLanguageToWindow(AppState& state);

}  // namespace kestrum
