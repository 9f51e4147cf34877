#include "common/gui/CLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
    int countPixels (const juce::Image& image, std::function<bool (juce::Colour)> matches)
    {
        int count = 0;

        for (int i = 0; i < image.getWidth() * image.getHeight(); ++i)
            count += matches (image.getPixelAt (i % image.getWidth(), i / image.getWidth())) ? 1 : 0;

        return count;
    }

    bool isDark (juce::Colour c)
    {
        return c.getAlpha() > 200 && c.getBrightness() < 0.3f;
    }
    bool isLight (juce::Colour c)
    {
        return c.getAlpha() > 200 && c.getBrightness() > 0.8f;
    }
}

TEST (CLookAndFeelTests, DefaultFontTextIsDrawnInAnInstalledFamily)
{
    CLookAndFeel look;
    juce::LookAndFeel::setDefaultLookAndFeel (&look);
    juce::Typeface::clearTypefaceCache();
    const auto installed = juce::Font::findAllTypefaceNames();
    const auto family = look.getSansSerifFamily();
    EXPECT_EQ (family, installed.contains ("Arial")             ? "Arial"
                       : installed.contains ("Liberation Sans") ? "Liberation Sans"
                                                                : "");

    if (family.isNotEmpty())
    {
        EXPECT_EQ (juce::Font (14.0f).getTypefacePtr()->getName(), family);
        EXPECT_EQ (juce::Font ("Arial", 14.0f, juce::Font::bold).getTypefacePtr()->getName(), family);
    }

    EXPECT_NE (juce::Font (juce::Font::getDefaultSerifFontName(), 14.0f, 0).getTypefacePtr()->getName(), family);

    juce::Label label ({}, "Veltrino");
    label.setColour (juce::Label::backgroundColourId, juce::Colours::white);
    label.setColour (juce::Label::textColourId, juce::Colours::black);
    label.setSize (120, 30);
    EXPECT_GT (countPixels (label.createComponentSnapshot (label.getLocalBounds()), isDark), 40);
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

TEST (CLookAndFeelTests, MenuBarIsDarkWithWhiteNames)
{
    CLookAndFeel look;
    juce::MenuBarComponent bar;
    bar.setLookAndFeel (&look);
    bar.setSize (200, 20);
    juce::Image image (juce::Image::ARGB, 200, 20, true);
    {
        juce::Graphics g (image);
        look.drawMenuBarBackground (g, 200, 20, false, bar);
        look.drawMenuBarItem (g, 60, 20, 0, "File", false, false, false, bar);
    }

    EXPECT_TRUE (isDark (image.getPixelAt (150, 10)));
    EXPECT_GT (countPixels (image.getClippedImage ({ 0, 0, 60, 20 }), isLight), 5);

    // The popup menus that the bar opens are white with black text again.
    EXPECT_EQ (look.findColour (juce::PopupMenu::backgroundColourId), juce::Colours::white);
    EXPECT_EQ (look.findColour (juce::PopupMenu::textColourId), juce::Colours::black);
    bar.setLookAndFeel (nullptr);
}

TEST (CLookAndFeelTests, ButtonsHaveRoundCornersExceptWhereConnectedAndAreFaintWhenDisabled)
{
    CLookAndFeel look;
    const auto draw = [&look] (juce::TextButton& button) {
        button.setSize (100, 20);
        juce::Image image (juce::Image::ARGB, 100, 20, true);
        juce::Graphics g (image);
        look.drawButtonBackground (g, button, look.findColour (juce::TextButton::buttonColourId), false, false);
        return image;
    };

    juce::TextButton alone, joined, disabled;
    joined.setConnectedEdges (juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnTop);
    disabled.setEnabled (false);
    const auto round = draw (alone);
    EXPECT_EQ (round.getPixelAt (0, 0).getAlpha(), 0);    // corner size 0.3 x 20 = 6
    EXPECT_GT (round.getPixelAt (50, 10).getAlpha(), 200);
    const auto flat = draw (joined);
    EXPECT_GT (flat.getPixelAt (0, 0).getAlpha(), 100);
    EXPECT_EQ (flat.getPixelAt (99, 19).getAlpha(), 0);
    EXPECT_GT (draw (disabled).getPixelAt (50, 10).getBrightness(), round.getPixelAt (50, 10).getBrightness());
}

TEST (CLookAndFeelTests, PressedColoursContrastByTheSumOfTheirChannels)
{
    const juce::Colour green (0xff00ff00), lightGrey (0xffc0c0c0);    // sums 255 and 576
    const auto white = juce::Colours::white, black = juce::Colours::black;
    EXPECT_EQ (CLookAndFeel::createBaseColour (green, false, false, true), green.overlaidWith (white.withAlpha (0.2f)));
    EXPECT_EQ (CLookAndFeel::createBaseColour (green, false, true, false), green.overlaidWith (white.withAlpha (0.1f)));
    EXPECT_EQ (CLookAndFeel::createBaseColour (lightGrey, false, false, true),
               lightGrey.overlaidWith (black.withAlpha (0.2f)));
    EXPECT_EQ (CLookAndFeel::createBaseColour (lightGrey, false, false, false), lightGrey);
}
