#include "common/gui/CWindowPlacement.h"

#include <gtest/gtest.h>

TEST (CWindowPlacementTests, MovesBoundsWhollyOntoTheScreenTheyOverlapMostAtTheirSize)
{
    using R = juce::Rectangle<int>;
    const R small (0, 0, 800, 600), right (800, 0, 1024, 768);

    struct Case
    {
        const char* what;
        R bounds, expected;
        juce::Array<R> areas;
    };

    const Case cases[] = {
        { "on the screen: kept", { 100, 80, 300, 200 }, { 100, 80, 300, 200 }, { small } },
        { "touching both edges: kept", { 0, 0, 800, 600 }, { 0, 0, 800, 600 }, { small } },
        { "a corner showing", { 700, 560, 300, 200 }, { 500, 400, 300, 200 }, { small } },
        { "above and left", { -250, -30, 300, 200 }, { 0, 0, 300, 200 }, { small } },
        { "taller than the screen", { 100, 500, 300, 900 }, { 100, 0, 300, 900 }, { small } },
        { "larger both ways", { 300, 300, 900, 700 }, { 0, 0, 900, 700 }, { small } },
        { "across two screens, on both: kept", { 700, 100, 400, 200 }, { 700, 100, 400, 200 }, { small, right } },
        { "across two screens, partly off: the one it overlaps most",
          { 700, 500, 400, 200 },
          { 800, 500, 400, 200 },
          { small, right } },
        { "on none: the nearest", { 1900, 900, 100, 100 }, { 1724, 668, 100, 100 }, { small, right } },
        { "no screens: kept", { 5000, 5000, 10, 10 }, { 5000, 5000, 10, 10 }, {} },
    };

    for (const auto& c : cases)
        EXPECT_EQ (CWindowPlacement::placeOnScreen (c.bounds, c.areas), c.expected) << c.what;
}

TEST (CWindowPlacementTests, AWindowNotYetShownCountsTheFrameItsStateSaved)
{
    // The window manager will put that frame (title bar 30, borders 2) where the window stands.
    const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    juce::DocumentWindow window ("placed", juce::Colours::grey, juce::DocumentWindow::allButtons);
    window.setUsingNativeTitleBar (true);

    const struct
    {
        const char* state;
        int bottomBefore, bottomAfter;    // above the area's bottom
    } cases[] = {
        { "", 10, 10 },
        { "100 900 300 100 frame 30 2 2 2", 10, 32 },
        { "100 900 300 100 frame 30 2 2 2", 40, 40 },                  // frame and all on the screen: kept
        { "100 900 300 100 frame -400 2 -400 2000000000", 10, 10 },    // no frame is like that
    };

    for (const auto& c : cases)
    {
        window.setBounds (area.getX() + 100, area.getBottom() - c.bottomBefore - 100, 300, 100);
        CWindowPlacement::moveOnScreen (window, c.state);
        EXPECT_EQ (window.getBottom(), area.getBottom() - c.bottomAfter) << c.state << " " << c.bottomBefore;
    }
}

TEST (CWindowPlacementTests, AMaximisedWindowIsSavedMarkedWithTheBoundsItHadBefore)
{
    const juce::Rectangle<int> before (151, 130, 1000, 400);

    const struct
    {
        const char* state;
        juce::Rectangle<int> normal;
        const char* expected;
    } cases[] = {
        { "0 19 1280 982 frame 20 1 4 1", before, "fs 151 130 1000 400 frame 20 1 4 1" },
        { "0 0 1280 1024", before, "fs 151 130 1000 400" },
        { "fs 0 0 1280 1024", before, "fs 151 130 1000 400" },                        // marked once
        { "0 19 1280 982 frame 20 1 4 1", {}, "fs 0 19 1280 982 frame 20 1 4 1" },    // none known before
    };

    for (const auto& c : cases)
        EXPECT_EQ (CWindowPlacement::maximisedState (c.state, c.normal), c.expected) << c.state;
}
