// Placement, minimum size and bounds tracking of the main window.
#include <gtest/gtest.h>

#include "app/window_geometry.h"

namespace kestrum {
namespace {

TEST(WindowGeometry, CascadeOffsetSteps) {
    struct Case {
        const char* Name;
        int Instance, ScreenWidth, DesignedWidth, Caption, Expected;
    };
    const Case cases[] = {
        {"master at the corner", 1, 1920, 800, 18, 0},
        {"second one caption down", 2, 1920, 800, 18, 18},
        {"third two captions down", 3, 1920, 800, 18, 36},
        // (1024 - 800) div 18 + 1 = 13 steps: instance 14 starts again at 0.
        {"last step before the edge", 13, 1024, 800, 18, 12 * 18},
        {"series starts again", 14, 1024, 800, 18, 0},
        {"one step only", 2, 810, 800, 18, 0},
        {"screen narrower than one caption", 2, 790, 800, 18, 0},
        {"screen much narrower", 5, 640, 800, 18, 0},
        {"instance without number", 0, 1920, 800, 18, 0},
        {"no caption height", 3, 1920, 800, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CascadeOffset(c.Instance, c.ScreenWidth, c.DesignedWidth, c.Caption), c.Expected) << c.Name;
}

TEST(WindowGeometry, MinimumWidthHoldsTheWholeButtonRow) {
    EXPECT_EQ(kButtonRowWidth, 408 + 7 * 44 + 41);
    EXPECT_EQ(MinimumWindowWidth(0), kButtonRowWidth);
    EXPECT_EQ(MinimumWindowWidth(4), kButtonRowWidth + 8);
    WindowGeometry geometry;
    MeasureWindow(geometry, 18, 800, 792, 1, 1920);
    EXPECT_EQ(geometry.BorderWidth, 4);
    EXPECT_EQ(geometry.MinimumWidth, kButtonRowWidth + 8);
    EXPECT_EQ(geometry.MinimumHeight, 90);
    EXPECT_EQ(geometry.DefaultWidth, 0);
    EXPECT_EQ(geometry.DefaultHeight, 270);
}

TEST(WindowGeometry, FirstStartWithoutSettings) {
    Options options;  // no FormMain keys were read
    WindowGeometry geometry;
    MeasureWindow(geometry, 18, 800, 800, 1, 1920);
    PlaceWindow(options, geometry, true);
    EXPECT_EQ(options.Left, 0);
    EXPECT_EQ(options.Top, 0);
    EXPECT_EQ(options.Width, 0);  // the minimum width applies
    EXPECT_EQ(options.Height, 270);
    EXPECT_EQ(options.WindowState, WindowState::Normal);
    EXPECT_EQ(geometry.DialogOrigin, (ScreenPoint{18, 18}));
}

TEST(WindowGeometry, SecondInstanceCascadesWhateverTheFileHolds) {
    Options options;
    options.Left = 500;
    options.Top = 400;
    options.WindowState = WindowState::Maximised;
    options.Width = 900;
    options.Height = 300;
    options.WidthPresent = options.HeightPresent = true;
    WindowGeometry geometry;
    MeasureWindow(geometry, 18, 800, 800, 2, 1920);
    PlaceWindow(options, geometry, false);
    EXPECT_EQ(options.Left, 18);
    EXPECT_EQ(options.Top, 18);
    EXPECT_EQ(options.Width, 900);
    EXPECT_EQ(options.Height, 300);
    EXPECT_EQ(options.WindowState, WindowState::Normal);
    EXPECT_FALSE(geometry.Maximised);
    EXPECT_EQ(geometry.DialogOrigin, (ScreenPoint{36, 36}));
}

TEST(WindowGeometry, MasterKeepsItsSavedPlaceAndState) {
    Options options;
    options.Left = 120;
    options.Top = 80;
    options.WindowState = WindowState::Minimised;
    WindowGeometry geometry;
    MeasureWindow(geometry, 20, 800, 800, 1, 1920);
    PlaceWindow(options, geometry, true);
    EXPECT_EQ(options.Left, 120);
    EXPECT_TRUE(geometry.Minimised);
    EXPECT_FALSE(geometry.Maximised);
    EXPECT_EQ(geometry.RestoreState, WindowState::Normal);  // a minimised value is stored as normal

    options.WindowState = static_cast<WindowState>(7);  // out of range
    PlaceWindow(options, geometry, true);
    EXPECT_EQ(options.WindowState, WindowState::Normal);
    EXPECT_FALSE(geometry.Minimised);
}

TEST(WindowGeometry, BoundsAreNotRecordedWhileCreatingOrClosing) {
    for (ActivityMarker marker : {ActivityMarker::Creating, ActivityMarker::Closing}) {
        Options options;
        WindowGeometry geometry;
        geometry.CaptionHeight = 18;
        TrackResize(options, geometry, marker, {10, 20, 800, 300});
        TrackCanResize(options, geometry, marker, {10, 20, 800, 300});
        EXPECT_EQ(options.Left, 0) << static_cast<int>(marker);
        EXPECT_EQ(options.Width, 0) << static_cast<int>(marker);
    }
    for (ActivityMarker marker : {ActivityMarker::Idle, ActivityMarker::StartDown, ActivityMarker::Loading}) {
        Options options;
        WindowGeometry geometry;
        geometry.CaptionHeight = 18;
        TrackCanResize(options, geometry, marker, {5, 6, 999, 999});
        EXPECT_EQ(options.Left, 5);
        EXPECT_EQ(options.Width, 0);  // a resize request records the position only
        TrackResize(options, geometry, marker, {10, 20, 800, 300});
        EXPECT_EQ(options.Left, 10);
        EXPECT_EQ(options.Top, 20);
        EXPECT_EQ(options.Width, 800);
        EXPECT_EQ(options.Height, 300);
        EXPECT_EQ(geometry.DialogOrigin, (ScreenPoint{28, 38}));
    }
}

TEST(WindowGeometry, MinimiseAndRestore) {
    Options options;
    WindowGeometry geometry;
    TrackMinimise(options, geometry, ActivityMarker::Idle, WindowState::Maximised, {1, 2, 800, 400});
    EXPECT_TRUE(geometry.Minimised);
    EXPECT_FALSE(geometry.Maximised);
    EXPECT_EQ(options.Width, 800);
    EXPECT_EQ(WindowStateToSave(geometry, WindowState::Maximised), WindowState::Minimised);
    EXPECT_EQ(TrackRestore(options, geometry), WindowState::Maximised);
    EXPECT_EQ(options.WindowState, WindowState::Maximised);
    EXPECT_TRUE(geometry.Maximised);
    EXPECT_FALSE(geometry.Minimised);
    EXPECT_EQ(WindowStateToSave(geometry, WindowState::Maximised), WindowState::Maximised);

    // Started minimised: the restore brings the normal state back.
    Options saved;
    saved.WindowState = WindowState::Minimised;
    WindowGeometry started;
    PlaceWindow(saved, started, true);
    TrackMinimise(saved, started, ActivityMarker::Creating, WindowState::Minimised, {0, 0, 1, 1});
    EXPECT_EQ(saved.Width, 0);  // not recorded while creating
    EXPECT_EQ(TrackRestore(saved, started), WindowState::Normal);
    EXPECT_EQ(saved.WindowState, WindowState::Normal);
    EXPECT_EQ(WindowStateToSave(started, WindowState::Normal), WindowState::Normal);
}

}  // namespace
}  // namespace kestrum
