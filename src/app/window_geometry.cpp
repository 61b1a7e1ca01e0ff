#include "app/window_geometry.h"

namespace kestrum {

int CascadeOffset(int instanceNumber, int screenWidth, int designedWindowWidth, int captionHeight) {
    if (instanceNumber <= 1 || captionHeight <= 0) return 0;
    const int steps = (screenWidth - designedWindowWidth) / captionHeight + 1;
    if (steps <= 0) return 0;
    return ((instanceNumber - 1) % steps) * captionHeight;
}

int MinimumWindowWidth(int borderWidth) { return kButtonRowWidth + 2 * borderWidth; }

ScreenPoint DialogOriginOf(const Options& options, int captionHeight) {
    return {options.Left + captionHeight, options.Top + captionHeight};
}

void MeasureWindow(WindowGeometry& geometry, int captionHeight, int designedWindowWidth,
                   int designedClientWidth, int instanceNumber, int screenWidth) {
    geometry.CaptionHeight = captionHeight;
    geometry.BorderWidth = (designedWindowWidth - designedClientWidth) / 2;
    geometry.CascadeOffset = CascadeOffset(instanceNumber, screenWidth, designedWindowWidth, captionHeight);
    geometry.DefaultWidth = 0;
    geometry.DefaultHeight = 3 * kDesignMinHeight;
    geometry.MinimumWidth = MinimumWindowWidth(geometry.BorderWidth);
    geometry.MinimumHeight = kDesignMinHeight;
}

void PlaceWindow(Options& options, WindowGeometry& geometry, bool isMaster) {
    if (!options.WidthPresent) options.Width = geometry.DefaultWidth;
    if (!options.HeightPresent) options.Height = geometry.DefaultHeight;
    if (!isMaster) {
        options.WindowState = kWindowNormal;
        options.Left = geometry.CascadeOffset;
        options.Top = geometry.CascadeOffset;
    }
    if (options.WindowState < kWindowNormal || options.WindowState > kWindowMaximised)
        options.WindowState = kWindowNormal;
    geometry.Minimised = options.WindowState == kWindowMinimised;
    geometry.Maximised = options.WindowState == kWindowMaximised;
    geometry.RestoreState = geometry.Minimised ? kWindowNormal : options.WindowState;
    geometry.DialogOrigin = DialogOriginOf(options, geometry.CaptionHeight);
}

namespace {
bool Recording(int activityMarker) {
    return activityMarker != kActivityCreating && activityMarker != kActivityClosing;
}
}  // namespace

void TrackCanResize(Options& options, WindowGeometry& geometry, int activityMarker,
                    const WindowBounds& window) {
    if (!Recording(activityMarker)) return;
    options.Left = window.Left;
    options.Top = window.Top;
    geometry.DialogOrigin = DialogOriginOf(options, geometry.CaptionHeight);
}

void TrackResize(Options& options, WindowGeometry& geometry, int activityMarker,
                 const WindowBounds& window) {
    if (!Recording(activityMarker)) return;
    options.Left = window.Left;
    options.Top = window.Top;
    options.Width = window.Width;
    options.Height = window.Height;
    geometry.DialogOrigin = DialogOriginOf(options, geometry.CaptionHeight);
}

void TrackMinimise(Options& options, WindowGeometry& geometry, int activityMarker,
                   int formState, const WindowBounds& window) {
    geometry.RestoreState = formState;
    if (activityMarker != kActivityCreating) {
        options.Left = window.Left;
        options.Width = window.Width;
        options.Top = window.Top;
        options.Height = window.Height;
    }
    geometry.Minimised = true;
    geometry.Maximised = false;
}

int TrackRestore(Options& options, WindowGeometry& geometry) {
    if (geometry.RestoreState == kWindowMinimised) geometry.RestoreState = kWindowNormal;
    options.WindowState = geometry.RestoreState;
    geometry.Minimised = options.WindowState == kWindowMinimised;
    geometry.Maximised = options.WindowState == kWindowMaximised;
    return geometry.RestoreState;
}

int WindowStateToSave(const WindowGeometry& geometry, int formState) {
    if (geometry.Minimised) return kWindowMinimised;
    return formState == kWindowMaximised ? kWindowMaximised : kWindowNormal;
}

}  // namespace kestrum
