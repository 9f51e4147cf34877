#include "app/VlButton.h"

#include <gtest/gtest.h>

// The pad as drawn: a black face outlined in the control's colour, 1 pixel thick at
// rest; under the mouse or pressed 3 pixels thick, in the board's highlight colour.
class VlButtonTests : public ::testing::Test
{
protected:
    VlButtonTests()
    {
        button.setSize (60, 120);
    }

    /** The pixels of the middle row from the left edge inwards, drawn in that state. */
    std::vector<juce::Colour> leftEdge (juce::Colour colour, juce::Button::ButtonState state)
    {
        button.setColour (juce::TextButton::buttonColourId, colour);
        button.setState (state);
        const auto image = button.createComponentSnapshot (button.getLocalBounds());

        std::vector<juce::Colour> pixels;

        for (int x = 0; x < 5; ++x)
            pixels.push_back (image.getPixelAt (x, button.getHeight() / 2));

        return pixels;
    }

    static bool near (juce::Colour a, juce::Colour b)
    {
        return std::abs (a.getRed() - b.getRed()) <= 2 && std::abs (a.getGreen() - b.getGreen()) <= 2
            && std::abs (a.getBlue() - b.getBlue()) <= 2;
    }

    static bool isBlack (juce::Colour c)  { return near (c, juce::Colours::black); }

    VlButton button { "3", {} };
};

//==============================================================================
TEST_F (VlButtonTests, AtRestThePadHasAThinOutlineInTheControlsColour)
{
    const juce::Colour colour (0xffe0c040);
    const auto edge = leftEdge (colour, juce::Button::buttonNormal);

    // A 1-pixel line on the pad's edge covers half of pixels 0 and 1; inside, the face is black.
    EXPECT_FALSE (isBlack (edge[1]));
    EXPECT_GT (edge[1].getRed(), 0x40);
    EXPECT_TRUE (isBlack (edge[2]));
    EXPECT_TRUE (isBlack (edge[4]));
}

TEST_F (VlButtonTests, UnderTheMouseOrPressedThePadHasAThickHighlightedOutline)
{
    // Under the mouse a light colour darkens by 0.1 and a dark one brightens by 0.1;
    // pressed, any colour brightens by 0.4.
    const juce::Colour light (0xffe0c040), dark (0xff102040);

    struct Case { juce::Colour colour; juce::Button::ButtonState state; juce::Colour outline; };
    const Case cases[] = { { light, juce::Button::buttonOver, light.darker (0.1f) },
                           { dark, juce::Button::buttonOver, dark.brighter (0.1f) },
                           { dark, juce::Button::buttonDown, dark.brighter (0.4f) } };

    for (const auto& c : cases)
    {
        const auto edge = leftEdge (c.colour, c.state);
        const auto label = c.colour.toDisplayString (false) + " state " + juce::String ((int) c.state);

        // A 3-pixel line covers pixels 0 and 1 whole and half of pixel 2; then the black face.
        EXPECT_TRUE (near (edge[0], c.outline)) << label << ": " << edge[0].toDisplayString (false);
        EXPECT_TRUE (near (edge[1], c.outline)) << label << ": " << edge[1].toDisplayString (false);
        EXPECT_FALSE (isBlack (edge[2])) << label;
        EXPECT_TRUE (isBlack (edge[4])) << label;
    }
}
