#include <VlPictures.h>

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

TEST (VlPicturesTests, StartAndAboutPicturesDecodeOpaqueAtTheirSizes)
{
    const auto start = juce::ImageFileFormat::loadFrom (VlPictures::splash_png, (size_t) VlPictures::splash_pngSize);
    const auto about = juce::ImageFileFormat::loadFrom (VlPictures::about_png, (size_t) VlPictures::about_pngSize);
    EXPECT_EQ (start.getBounds(), juce::Rectangle<int> (0, 0, 337, 170));
    EXPECT_EQ (about.getBounds(), juce::Rectangle<int> (0, 0, 348, 169));
    EXPECT_EQ (start.getPixelAt (168, 85).getAlpha() + about.getPixelAt (174, 84).getAlpha(), 2 * 255);
}
