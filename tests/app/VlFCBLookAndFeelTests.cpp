#include "app/VlFCBLookAndFeel.h"
#include "app/board/VlButton.h"
#include "app/board/VlSlider.h"

#include <gtest/gtest.h>

namespace
{
    bool near (juce::Colour a, juce::Colour b, int tolerance = 3)
    {
        return std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
               && std::abs (a.getBlue() - b.getBlue()) <= tolerance
               && std::abs (a.getAlpha() - b.getAlpha()) <= tolerance;
    }

    juce::Image snapshot (juce::Component& c)
    {
        return c.createComponentSnapshot (c.getLocalBounds());
    }

    /** A panel of 100 x height in that colour, or only its gradient. */
    juce::Image panel (int height, juce::Colour colour, bool gradientOnly = false)
    {
        juce::Image image (juce::Image::RGB, 100, height, true);
        juce::Graphics g (image);
        g.setGradientFill (VlFCBLookAndFeel::createPanelGradient (colour, { 100.0f, (float) height }));
        g.fillAll();
        if (! gradientOnly)
            VlFCBLookAndFeel::drawBevelledPanel (g, 0, 0, 100, height, colour);
        return image;
    }
}

class VlFCBLookAndFeelTests : public ::testing::Test
{
protected:
    VlFCBLookAndFeelTests()
    {
        // 78 x 180 inside the outline: the number is 26 high at y 4, the label 119 high at y 33.
        button.setSize (80, 182);
        button.setColour (juce::TextButton::buttonOnColourId, juce::Colours::white);
        slider.setSliderStyle (juce::Slider::LinearVertical);
        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
        slider.setColour (juce::Slider::thumbColourId, thumb);
        button.setLookAndFeel (VlFCBLookAndFeel::getInstance (true));
        slider.setLookAndFeel (VlFCBLookAndFeel::getInstance (true));
        slider.setSize (68, 214);
    }

    ~VlFCBLookAndFeelTests() override
    {
        button.setLookAndFeel (nullptr);
        slider.setLookAndFeel (nullptr);
    }

    /** The label area's lines of white ink for that text, as (first row, last row). */
    std::vector<std::pair<int, int>> labelLines (const juce::String& text)
    {
        button.setButtonText (text);
        const auto image = snapshot (button);
        std::vector<std::pair<int, int>> lines;

        for (int y = 33; y < 33 + 119; ++y)
            for (int x = 6; x < 74; ++x)
                if (image.getPixelAt (x, y).getBrightness() > 0.5f)
                {
                    if (lines.empty() || lines.back().second != y - 1)
                        lines.push_back ({ y, y });
                    lines.back().second = y;
                    break;
                }

        return lines;
    }

    const juce::Colour thumb { 0xff20c040 };
    VlButton button { "3", {} };
    VlSlider slider;
};

//==============================================================================
TEST_F (VlFCBLookAndFeelTests, TheLabelsWordsAreLinesCentredAsABlockInTheLabelArea)
{
    const auto middle = 33 + 119 / 2.0;

    // One word fills the label area: its font is 0.7 of the area's height.
    const auto one = labelLines ("HH");
    ASSERT_EQ (one.size(), 1u);
    EXPECT_GT (one[0].second - one[0].first, 0.4 * 119);
    EXPECT_NEAR ((one[0].first + one[0].second) / 2.0, middle, 2.5);

    // Four words: four lines a quarter of that, one font height (20 pixels) apart, centred together.
    const auto four = labelLines ("HH HH\tHH\nHH");
    ASSERT_EQ (four.size(), 4u);
    for (size_t i = 1; i < four.size(); ++i)
        EXPECT_NEAR (four[i].first - four[i - 1].first, 20, 1) << "line " << i;
    EXPECT_NEAR ((four.front().first + four.back().second) / 2.0, middle, 2.5);
    EXPECT_NEAR (four[0].second - four[0].first, (one[0].second - one[0].first) / 4.0, 2.0);

    // Quoted words stay on one line; no label draws nothing.
    EXPECT_EQ (labelLines ("\"HH HH\" HH").size(), 2u);
    EXPECT_TRUE (labelLines ({}).empty());
}

TEST_F (VlFCBLookAndFeelTests, ADisabledPadIsItsThinOutlineWithTheNumberAtHalfAlpha)
{
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff555555));
    button.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff555555));
    button.setButtonText ({});
    button.setEnabled (false);
    const auto image = snapshot (button);
    EXPECT_EQ (image.getPixelAt (40, 160).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (1, 91).getAlpha(), 0x40);
    EXPECT_EQ (image.getPixelAt (2, 91).getAlpha(), 0);

    int strongest = 0;
    for (int i = 0; i < 68 * 26; ++i)
        strongest = std::max (strongest, (int) image.getPixelAt (6 + i % 68, 4 + i / 68).getAlpha());
    EXPECT_NEAR (strongest, 128, 3);
}

TEST_F (VlFCBLookAndFeelTests, ThePedalsFrameAndThumbFollowTheSliderAndThickenUnderTheMouse)
{
    slider.setValue (64, juce::dontSendNotification);
    const auto x = slider.getWidth() / 2, y = juce::roundToInt (slider.getPositionOfValue (64));
    const auto opaque = [] (juce::Colour c) { return c.withAlpha ((juce::uint8) 0xff); };

    // The frame runs round the whole slider; the thumb's 3-pixel line is 13 pixels above and below the value.
    auto image = snapshot (slider);
    EXPECT_TRUE (near (opaque (image.getPixelAt (x, 0)), thumb));
    EXPECT_TRUE (near (image.getPixelAt (x, y - 13), thumb) && near (image.getPixelAt (x, y + 12), thumb));
    EXPECT_FALSE (near (image.getPixelAt (x, y - 11), thumb, 0x30) || near (image.getPixelAt (x, y - 20), thumb, 0x30));

    // Under the mouse the line is 6 pixels thick; the frame and the thumb of a light colour darken.
    slider.addToDesktop (0);
    slider.setVisible (true);
    slider.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { (float) x, 20.0f }, {},
                                        juce::MouseInputSource::defaultPressure,
                                        juce::MouseInputSource::defaultOrientation, juce::Time::currentTimeMillis());
    ASSERT_TRUE (slider.isMouseOverOrDragging());
    image = snapshot (slider);
    EXPECT_TRUE (near (image.getPixelAt (x, y - 11), thumb.darker (0.1f))
                 && near (image.getPixelAt (x, y - 13), thumb.darker (0.1f)));
    EXPECT_TRUE (near (opaque (image.getPixelAt (x, 0)), thumb.darker (0.1f)));

    // A disabled pedal has its frame only.
    slider.setEnabled (false);
    EXPECT_FALSE (near (snapshot (slider).getPixelAt (x, y - 13), thumb, 0x30));
}

TEST_F (VlFCBLookAndFeelTests, TheBevelledPanelsGrooveComesWithTheHeightAndItsEndDarkensFromASumOf384)
{
    const juce::Colour colour (0xff3060c0);
    const auto rowsLike = [&] (int height, juce::Colour over) {
        const auto drawn = panel (height, colour), plain = panel (height, colour, true);
        int count = 0;
        for (int y = 0; y < height; ++y)
            count += near (drawn.getPixelAt (50, y), plain.getPixelAt (50, y).overlaidWith (over), 1) ? 1 : 0;
        return count;
    };

    // Rows of the solid line's shade: its height is 0.008 of the panel's, rounded, so it has a
    // row at 63 and none at 62 (where only the dark end of the edge below may show).
    const juce::Colour shade (0x80000000);
    EXPECT_LE (rowsLike (62, shade), 1);
    EXPECT_EQ (rowsLike (63, shade), rowsLike (62, shade) + 1);

    // The light edges are 0.012 of the height: at 41 only the gradient shows, at 42 bands too.
    EXPECT_EQ (rowsLike (41, {}), 41);
    EXPECT_LT (rowsLike (42, {}), 42);

    // At the bottom right 30 % of black is laid over colours of a sum of 384 or more, of white below.
    const juce::Colour sum384 (0xff808080), sum383 (0xff80807f);
    EXPECT_TRUE (
        near (panel (40, sum384).getPixelAt (99, 39), sum384.overlaidWith (juce::Colours::black.withAlpha (0.3f))));
    EXPECT_TRUE (
        near (panel (40, sum383).getPixelAt (99, 39), sum383.overlaidWith (juce::Colours::white.withAlpha (0.3f))));
}
