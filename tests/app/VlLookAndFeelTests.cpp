#include "app/VlLookAndFeel.h"

#include <gtest/gtest.h>

TEST (VlLookAndFeelTests, TooltipsAreWrappedAt400PixelsInAPlain16PixelFont)
{
    auto& look = *VlLookAndFeel::getInstance (true);
    const juce::Rectangle<int> screen (0, 0, 1200, 800);
    const juce::Font plain (16.0f);

    // One word: its width in the plain font (narrower than bold) with the margins, placed as JUCE places it.
    const auto word = look.getTooltipBounds ("Tempo", { 10, 10 }, screen);
    EXPECT_NEAR (word.getWidth(), plain.getStringWidthFloat ("Tempo") + 14.0f, 1.0f);
    EXPECT_NEAR (word.getHeight(), plain.getHeight() + 6.0f, 1.0f);
    EXPECT_LT (word.getWidth() + 1, (int) juce::Font (16.0f, juce::Font::bold).getStringWidthFloat ("Tempo") + 14);
    EXPECT_EQ (word.getPosition(), juce::Point<int> (34, 16));

    // A long text: lines of at most 400 pixels.
    const juce::String text ("The footswitch sends this note when it goes down and the same note off when it comes up "
                             "again, on the channel chosen below, to the output device named above");
    const auto tip = look.getTooltipBounds (text, { 10, 10 }, screen);
    EXPECT_TRUE (tip.getWidth() > 300 && tip.getWidth() <= 414);
    EXPECT_GE (tip.getHeight(), (int) (3 * plain.getHeight()));

    VlLookAndFeel::deleteInstance();
    EXPECT_EQ (VlLookAndFeel::getInstance (false), nullptr);
}
