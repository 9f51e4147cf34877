#include "app/VlButton.h"

#include <gtest/gtest.h>

// The board's rule for a colour under the mouse and pressed (pads, pedal frames and thumbs).
TEST (VlButtonTests, ColoursFollowTheHighlightRule)
{
    const juce::Colour light (0xffe0e0e0), dark (0xff202020);
    EXPECT_EQ (VlButton::getHighlightColour (light, false, false), light);
    EXPECT_EQ (VlButton::getHighlightColour (light, true, false), light.darker (0.1f));
    EXPECT_EQ (VlButton::getHighlightColour (dark, true, false), dark.brighter (0.1f));
    EXPECT_EQ (VlButton::getHighlightColour (dark, true, true), dark.brighter (0.4f));
}
