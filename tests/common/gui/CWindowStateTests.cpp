#include "common/gui/CWindowState.h"

#include <gtest/gtest.h>

// No window manager here: a window is never shown maximised, and no frame counts.
TEST (CWindowStateTests, WithoutAWindowManagerAStateComesBackAsNormalBoundsNeverBelowTheMinimum)
{
    using R = juce::Rectangle<int>;

    const struct
    {
        const char* state;
        R bounds;
        const char* saved;
    } cases[] = {
        { "100 120 900 330", { 100, 120, 900, 330 }, "100 120 900 330" },
        { "fs 100 120 900 330", { 100, 120, 900, 330 }, "100 120 900 330" },
        { "100 120 828 275", { 100, 120, 830, 300 }, "100 120 830 300" },
        { "fs", { 5, 6, 900, 400 }, "5 6 900 400" },    // nothing to restore: left as it was
    };

    for (const auto& c : cases)
    {
        juce::DocumentWindow window ("placed", juce::Colours::grey, juce::DocumentWindow::allButtons, false);
        CWindowState placement (window);
        window.setUsingNativeTitleBar (true);
        window.setResizable (true, false);
        window.setResizeLimits (830, 300, 4000, 4000);
        window.setBounds (5, 6, 900, 400);
        window.addToDesktop();

        placement.restore (c.state);
        window.setVisible (true);
        EXPECT_EQ (window.getBounds(), c.bounds) << c.state;
        EXPECT_FALSE (window.isFullScreen()) << c.state;
        EXPECT_EQ (placement.toString(), juce::String (c.saved)) << c.state;
    }
}
