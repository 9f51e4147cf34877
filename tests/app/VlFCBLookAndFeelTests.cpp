#include "app/VlButton.h"
#include "app/VlFCBLookAndFeel.h"
#include "app/VlSlider.h"

#include <gtest/gtest.h>

namespace
{
    bool near (juce::Colour a, juce::Colour b, int tolerance = 3)
    {
        return std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
            && std::abs (a.getBlue() - b.getBlue()) <= tolerance && std::abs (a.getAlpha() - b.getAlpha()) <= tolerance;
    }

    /** The rows of `area` that hold a pixel brighter than 0x80 in every channel (white text on black). */
    std::vector<int> inkRows (const juce::Image& image, juce::Rectangle<int> area)
    {
        std::vector<int> rows;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (const auto c = image.getPixelAt (x, y); c.getAlpha() > 0x80 && c.getRed() > 0x80 && c.getBlue() > 0x80)
                {
                    rows.push_back (y);
                    break;
                }

        return rows;
    }

    /** The runs of consecutive rows, as (first, last). */
    std::vector<std::pair<int, int>> runs (const std::vector<int>& rows)
    {
        std::vector<std::pair<int, int>> found;

        for (const auto row : rows)
            if (found.empty() || row != found.back().second + 1)
                found.push_back ({ row, row });
            else
                found.back().second = row;

        return found;
    }
}

class VlFCBLookAndFeelTests : public ::testing::Test
{
protected:
    VlFCBLookAndFeelTests()
    {
        // 78 x 180 inside the frame: margins 5 and 3, number 26 high at y 4, label 119 high at y 33.
        button.setSize (80, 182);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::white);
        button.setColour (juce::TextButton::buttonOnColourId, juce::Colours::white);
        slider.setSliderStyle (juce::Slider::LinearVertical);
        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
        slider.setColour (juce::Slider::thumbColourId, thumb);

        for (auto* component : { (juce::Component*) &button, (juce::Component*) &slider })
            component->setLookAndFeel (VlFCBLookAndFeel::getInstance (true));

        slider.setSize (68, 214);
    }

    ~VlFCBLookAndFeelTests() override
    {
        button.setLookAndFeel (nullptr);
        slider.setLookAndFeel (nullptr);
    }

    juce::Image snapshot (juce::Component& component)
    {
        return component.createComponentSnapshot (component.getLocalBounds());
    }

    /** The ink rows of the label area for that text, white on the black pad. */
    std::vector<std::pair<int, int>> labelLines (const juce::String& text)
    {
        button.setButtonText (text);
        return runs (inkRows (snapshot (button), labelArea));
    }

    /** A panel of 100 x height in that colour. */
    static juce::Image panel (int height, juce::Colour colour)
    {
        juce::Image image (juce::Image::RGB, 100, height, true);
        juce::Graphics g (image);
        VlFCBLookAndFeel::drawBevelledPanel (g, 0, 0, 100, height, colour);
        return image;
    }

    /** The panel's plain gradient at that pixel, with `over` laid on it. */
    static juce::Colour gradientAt (int x, int y, int height, juce::Colour colour, juce::Colour over = {})
    {
        juce::Image image (juce::Image::RGB, 100, height, true);
        juce::Graphics g (image);
        g.setGradientFill (VlFCBLookAndFeel::createPanelGradient (colour, { 100.0f, (float) height }));
        g.fillAll();
        return image.getPixelAt (x, y).overlaidWith (over);
    }

    const juce::Rectangle<int> labelArea { 6, 33, 68, 119 };
    const juce::Colour thumb { 0xff20c040 };
    VlButton button { "3", {} };
    VlSlider slider;
};

//==============================================================================
TEST_F (VlFCBLookAndFeelTests, ADisabledPadIsOnlyItsThinOutline)
{
    button.setEnabled (false);
    const auto image = snapshot (button);
    EXPECT_EQ (image.getPixelAt (40, 160).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (1, 91).getAlpha(), 0x40);
    EXPECT_EQ (image.getPixelAt (2, 91).getAlpha(), 0);
    button.setEnabled (true);
    EXPECT_EQ (snapshot (button).getPixelAt (40, 160), juce::Colours::black);
}

TEST_F (VlFCBLookAndFeelTests, TheLabelsWordsAreLinesCentredAsABlockInTheLabelArea)
{
    const auto middle = labelArea.getCentreY();

    // One word fills the label area: its font is 0.7 of the area's height.
    const auto one = labelLines ("HH");
    ASSERT_EQ (one.size(), 1u);
    EXPECT_GT (one[0].second - one[0].first + 1, 0.4 * labelArea.getHeight());
    EXPECT_NEAR ((one[0].first + one[0].second) / 2.0, middle, 2.5);

    // Four words: four lines of a quarter of that, one font height (20 pixels) apart, centred together.
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

TEST_F (VlFCBLookAndFeelTests, ADisabledFacesNumberIsAtHalfAlpha)
{
    // A disabled footswitch is grey and has no pad under its number.
    button.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff555555));
    button.setEnabled (false);
    const auto image = snapshot (button);
    int strongest = 0;

    for (int y = 4; y < 30; ++y)
        for (int x = 6; x < 74; ++x)
            strongest = std::max (strongest, (int) image.getPixelAt (x, y).getAlpha());

    EXPECT_NEAR (strongest, 128, 3);
}

TEST_F (VlFCBLookAndFeelTests, ThePedalsFrameAndThumbFollowTheSliderAndThickenUnderTheMouse)
{
    slider.setValue (64, juce::dontSendNotification);
    const auto x = slider.getWidth() / 2;
    const auto thumbY = juce::roundToInt (slider.getPositionOfValue (64));

    // The frame runs round the whole slider; the thumb's 3-pixel line is 13 pixels above and below the value.
    auto image = snapshot (slider);
    EXPECT_TRUE (near (image.getPixelAt (x, 0).withAlpha ((juce::uint8) 0xff), thumb));
    EXPECT_TRUE (near (image.getPixelAt (x, thumbY - 13), thumb));
    EXPECT_TRUE (near (image.getPixelAt (x, thumbY + 12), thumb));
    EXPECT_FALSE (near (image.getPixelAt (x, thumbY - 11), thumb, 0x30));
    EXPECT_FALSE (near (image.getPixelAt (x, thumbY - 20), thumb, 0x30));

    // Under the mouse the line is 6 pixels thick; the frame and the thumb of a light colour darken.
    slider.addToDesktop (0);
    slider.setVisible (true);
    slider.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { (float) x, 20.0f }, {},
                                        juce::MouseInputSource::defaultPressure,
                                        juce::MouseInputSource::defaultOrientation, juce::Time::currentTimeMillis());
    ASSERT_TRUE (slider.isMouseOverOrDragging());
    image = snapshot (slider);
    EXPECT_TRUE (near (image.getPixelAt (x, thumbY - 11), thumb.darker (0.1f)));
    EXPECT_TRUE (near (image.getPixelAt (x, thumbY - 13), thumb.darker (0.1f)));
    EXPECT_TRUE (near (image.getPixelAt (x, 0).withAlpha ((juce::uint8) 0xff), thumb.darker (0.1f)));

    // A disabled pedal has its frame only.
    slider.setEnabled (false);
    EXPECT_FALSE (near (snapshot (slider).getPixelAt (x, thumbY - 13), thumb, 0x30));
}

TEST_F (VlFCBLookAndFeelTests, TheBevelledPanelsGrooveAppearsWithTheHeight)
{
    const juce::Colour colour (0xff3060c0);
    const auto darkRows = [&] (int height)
    {
        const auto image = panel (height, colour);
        int count = 0;
        for (int y = 0; y < height / 2 + 2; ++y)
            count += near (image.getPixelAt (50, y), gradientAt (50, y, height, colour, juce::Colour (0x80000000)), 2) ? 1 : 0;
        return count;
    };

    // The solid line is 0.008 of the height, rounded: none at 62 (where only the dark end of the
    // edge below may show), one pixel at 63.
    EXPECT_LE (darkRows (62), 1);
    EXPECT_EQ (darkRows (63), darkRows (62) + 1);

    // Its light edges are 0.012 of the height: at 41 there is only the gradient, at 42 bands.
    const auto onlyGradient = [&] (int height)
    {
        const auto image = panel (height, colour);
        for (int y = 0; y < height; ++y)
            if (! near (image.getPixelAt (50, y), gradientAt (50, y, height, colour), 1))
                return false;
        return true;
    };

    EXPECT_TRUE (onlyGradient (41));
    EXPECT_FALSE (onlyGradient (42));
}

TEST_F (VlFCBLookAndFeelTests, TheBevelledPanelEndsDarkerFromARedGreenBlueSumOf384)
{
    // At the bottom right 30 % of black is laid over colours of a sum of 384 or more, of white below.
    const juce::Colour sum384 (0xff808080), sum383 (0xff80807f);
    EXPECT_TRUE (near (panel (40, sum384).getPixelAt (99, 39), sum384.overlaidWith (juce::Colours::black.withAlpha (0.3f))));
    EXPECT_TRUE (near (panel (40, sum383).getPixelAt (99, 39), sum383.overlaidWith (juce::Colours::white.withAlpha (0.3f))));
    EXPECT_TRUE (near (panel (40, sum383).getPixelAt (0, 0), sum383));
}
