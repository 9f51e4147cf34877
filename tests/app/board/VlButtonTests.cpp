#include "app/VlFCBLookAndFeel.h"
#include "app/board/VlButton.h"

#include <gtest/gtest.h>

class VlButtonTests : public ::testing::Test
{
protected:
    VlButtonTests()
    {
        button.setSize (60, 120);
        button.setLookAndFeel (VlFCBLookAndFeel::getInstance (true));
    }

    ~VlButtonTests() override { button.setLookAndFeel (nullptr); }

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

    static bool isBlack (juce::Colour c) { return near (c, juce::Colours::black); }

    VlButton button { "3", {} };
};

//==============================================================================
TEST_F (VlButtonTests, ThePadIsOutlinedThinAtRestAndThickAndHighlightedUnderTheMouseOrPressed)
{
    // A black face outlined in the control's colour; at rest the 1-pixel line covers half of pixels 0 and 1.
    // Under the mouse a light colour darkens by 0.1 and a dark one brightens by 0.1, pressed any colour
    // brightens by 0.4; that 3-pixel line covers pixels 0 and 1 whole and half of pixel 2.
    const juce::Colour light (0xffe0c040), dark (0xff102040);
    struct Case
    {
        juce::Colour colour;
        juce::Button::ButtonState state;
        juce::Colour outline;
        int firstBlack;
    };
    const Case cases[] = { { light, juce::Button::buttonNormal, light, 2 },
                           { light, juce::Button::buttonOver, light.darker (0.1f), 3 },
                           { dark, juce::Button::buttonOver, dark.brighter (0.1f), 3 },
                           { dark, juce::Button::buttonDown, dark.brighter (0.4f), 3 } };

    for (const auto& c : cases)
    {
        const auto edge = leftEdge (c.colour, c.state);
        const auto label = c.colour.toDisplayString (false) + " state " + juce::String ((int) c.state);

        if (c.firstBlack == 2)
            EXPECT_GT (edge[1].getRed(), 0x40) << label;
        else
            EXPECT_TRUE (near (edge[0], c.outline) && near (edge[1], c.outline)) << label;

        EXPECT_FALSE (isBlack (edge[(size_t) c.firstBlack - 1])) << label;

        for (int x = c.firstBlack; x < 5; ++x)
            EXPECT_TRUE (isBlack (edge[(size_t) x])) << label << " pixel " << x;
    }
}
