#include "app/VlLookAndFeel.h"

#include <gtest/gtest.h>

TEST (VlLookAndFeelTests, TooltipsAreWrappedAt400PixelsInAPlain16PixelFont)
{
    auto& look = *VlLookAndFeel::getInstance (true);
    const juce::Rectangle<int> screen (0, 0, 1200, 800);
    const juce::Font plain (16.0f);

    // One word: its width in the plain font, with JUCE's margins and placement beside the mouse.
    const auto word = look.getTooltipBounds ("Tempo", { 10, 10 }, screen);
    EXPECT_NEAR (word.getWidth(), plain.getStringWidthFloat ("Tempo") + 14.0f, 1.0f);
    EXPECT_NEAR (word.getHeight(), plain.getHeight() + 6.0f, 1.0f);
    EXPECT_EQ (word.getPosition(), juce::Point<int> (34, 16));
    EXPECT_GT (juce::Font (16.0f, juce::Font::bold).getStringWidthFloat ("Tempo") + 14.0f, (float) word.getWidth() + 1.0f);

    // A long text: lines of at most 400 pixels.
    const juce::String text ("The footswitch sends this note when it goes down and the same note off when it comes up "
                             "again, on the channel chosen below, to the output device named above");
    const auto tip = look.getTooltipBounds (text, { 10, 10 }, screen);
    EXPECT_LE (tip.getWidth(), 414);
    EXPECT_GT (tip.getWidth(), 300);
    EXPECT_GE (tip.getHeight(), (int) (3 * plain.getHeight()));

    // Drawn centred: as much room on the left of the text as on the right.
    juce::Image image (juce::Image::RGB, tip.getWidth(), tip.getHeight(), true);
    {
        juce::Graphics g (image);
        look.drawTooltip (g, text, tip.getWidth(), tip.getHeight());
    }

    const auto background = image.getPixelAt (tip.getWidth() / 2, 1);
    int left = tip.getWidth(), right = 0;

    for (int y = 2; y < tip.getHeight() - 2; ++y)
        for (int x = 2; x < tip.getWidth() - 2; ++x)
            if (image.getPixelAt (x, y) != background)
            {
                left = std::min (left, x);
                right = std::max (right, x);
            }

    EXPECT_NEAR (left, tip.getWidth() - 1 - right, 2);
    VlLookAndFeel::deleteInstance();
    EXPECT_EQ (VlLookAndFeel::getInstance (false), nullptr);
}
