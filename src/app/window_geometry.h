#pragma once
// The main window's geometry rules: the designed layout of the button row,
// the cascade position of instances after the first, the minimum and default
// size, and the tracking of the normal-state bounds that the settings keep.

#include "base/modes.h"
#include "base/screen_point.h"
#include "settings/options.h"

namespace kestrum {

// The designed controls (pixels).
constexpr int kDesignMinHeight = 90;
constexpr int kDesignButtonHeight = 21;  // SpeedButtonStart
constexpr int kChannelButtonWidth = 41;
constexpr int ChannelButtonLeft(int channel) { return 408 + 44 * (channel - 1); }
// Client width that the whole button row needs: right edge of SpeedButtonChannel8.
constexpr int kButtonRowWidth = ChannelButtonLeft(8) + kChannelButtonWidth;

struct WindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// What the window measured at creation and keeps about its geometry.
struct WindowGeometry {
    int CaptionHeight = 0;
    int BorderWidth = 0;
    int CascadeOffset = 0;
    int DefaultWidth = 0;                       // no minimum width is designed
    int DefaultHeight = 3 * kDesignMinHeight;   // 270
    int MinimumWidth = 0;                       // whole window, borders included
    int MinimumHeight = kDesignMinHeight;
    bool Minimised = false;
    bool Maximised = false;
    WindowState RestoreState = WindowState::Normal;
    ScreenPoint DialogOrigin;
};

// ((instance − 1) mod (((screen width − designed width) div caption) + 1)) × caption.
// The master (and instance 0, which holds no number) sits at 0; so does every
// window when the screen is too narrow for a step, or the caption height is unknown.
int CascadeOffset(int instanceNumber, int screenWidth, int designedWindowWidth, int captionHeight);

// Left edge of SpeedButtonChannel8 + its width + 2 × border width.
int MinimumWindowWidth(int borderWidth);

// (Left + caption height, Top + caption height).
ScreenPoint DialogOriginOf(const Options& options, int captionHeight);

// Measures at creation: caption height, border width ((window width − client
// width) div 2), cascade offset, default size and minimum size.
void MeasureWindow(WindowGeometry& geometry, int captionHeight, int designedWindowWidth,
                   int designedClientWidth, int instanceNumber, int screenWidth);

// Places the window by the settings: a size key absent from the file takes the
// default; the master keeps WindowState, Left and Top from the settings,
// every other instance takes state normal and the cascade offset. Sets
// Minimised, Maximised, RestoreState and the dialog origin.
void PlaceWindow(Options& options, WindowGeometry& geometry, bool isMaster);

// FormMainOnCanResize: records the position (not while creating or closing).
void TrackCanResize(Options& options, WindowGeometry& geometry, ActivityMarker activity,
                    const WindowBounds& window);
// FormMainOnResize: records position and size (not while creating or closing).
void TrackResize(Options& options, WindowGeometry& geometry, ActivityMarker activity,
                 const WindowBounds& window);
// The application is minimised; `formState` is the form's state before.
void TrackMinimise(Options& options, WindowGeometry& geometry, ActivityMarker activity,
                   WindowState formState, const WindowBounds& window);
// The application is restored: returns the state to give the form; the
// window then takes Left, Width, Top, Height again.
WindowState TrackRestore(Options& options, WindowGeometry& geometry);

// WindowState as the settings file keeps it at exit: 1 while minimised,
// else the form's own state (0 or 2).
WindowState WindowStateToSave(const WindowGeometry& geometry, WindowState formState);

}  // namespace kestrum
