#include <VlPictures.h>

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

TEST (VlPicturesTests, StartAndAboutPicturesDecodeOpaqueAtTheirSizes)
{
    const auto decode = [] (const char* data, int size)
    {
        juce::MemoryInputStream in (data, (size_t) size, false);
        return juce::PNGImageFormat().decodeImage (in);
    };

    const auto start = decode (VlPictures::splash_png, VlPictures::splash_pngSize);
    const auto about = decode (VlPictures::about_png, VlPictures::about_pngSize);

    EXPECT_EQ (start.getBounds(), juce::Rectangle<int> (0, 0, 337, 170));
    EXPECT_EQ (about.getBounds(), juce::Rectangle<int> (0, 0, 348, 169));
    EXPECT_EQ (start.getPixelAt (168, 85).getAlpha(), 255);
    EXPECT_EQ (about.getPixelAt (174, 84).getAlpha(), 255);
}
