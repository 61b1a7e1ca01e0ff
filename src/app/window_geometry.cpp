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
        options.WindowState = WindowState::Normal;
        options.Left = geometry.CascadeOffset;
        options.Top = geometry.CascadeOffset;
    }
    if (options.WindowState != WindowState::Minimised && options.WindowState != WindowState::Maximised)
        options.WindowState = WindowState::Normal;
    geometry.Minimised = options.WindowState == WindowState::Minimised;
    geometry.Maximised = options.WindowState == WindowState::Maximised;
    geometry.RestoreState = geometry.Minimised ? WindowState::Normal : options.WindowState;
    geometry.DialogOrigin = DialogOriginOf(options, geometry.CaptionHeight);
}

namespace {
bool Recording(ActivityMarker activity) {
    return activity != ActivityMarker::Creating && activity != ActivityMarker::Closing;
}
}  // namespace

void TrackCanResize(Options& options, WindowGeometry& geometry, ActivityMarker activity,
                    const WindowBounds& window) {
    if (!Recording(activity)) return;
    options.Left = window.Left;
    options.Top = window.Top;
    geometry.DialogOrigin = DialogOriginOf(options, geometry.CaptionHeight);
}

void TrackResize(Options& options, WindowGeometry& geometry, ActivityMarker activity,
                 const WindowBounds& window) {
    if (!Recording(activity)) return;
    options.Left = window.Left;
    options.Top = window.Top;
    options.Width = window.Width;
    options.Height = window.Height;
    geometry.DialogOrigin = DialogOriginOf(options, geometry.CaptionHeight);
}

void TrackMinimise(Options& options, WindowGeometry& geometry, ActivityMarker activity,
                   WindowState formState, const WindowBounds& window) {
    geometry.RestoreState = formState;
    if (activity != ActivityMarker::Creating) {
        options.Left = window.Left;
        options.Width = window.Width;
        options.Top = window.Top;
        options.Height = window.Height;
    }
    geometry.Minimised = true;
    geometry.Maximised = false;
}

WindowState TrackRestore(Options& options, WindowGeometry& geometry) {
    if (geometry.RestoreState == WindowState::Minimised) geometry.RestoreState = WindowState::Normal;
    options.WindowState = geometry.RestoreState;
    geometry.Minimised = options.WindowState == WindowState::Minimised;
    geometry.Maximised = options.WindowState == WindowState::Maximised;
    return geometry.RestoreState;
}

WindowState WindowStateToSave(const WindowGeometry& geometry, WindowState formState) {
    if (geometry.Minimised) return WindowState::Minimised;
    return formState == WindowState::Maximised ? WindowState::Maximised : WindowState::Normal;
}

}  // namespace kestrum
