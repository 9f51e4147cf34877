// Draws the start and About pictures and writes them as PNG files:
//
//   DrawPictures <output folder>
//
// Run once by hand (under xvfb-run where there is no display); the PNG files
// it made are kept in resources/ and embedded from there.

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
    const juce::String family ("Liberation Sans");
    const juce::String version ("1.1");

    juce::Font font (float height, bool bold)
    {
        return juce::Font (family, height, bold ? juce::Font::bold : juce::Font::plain);
    }

    /** A footswitch of the pedal board seen from above: a metal frame around a
        ribbed rubber pad, with its LED on the frame.
    */
    void drawFootswitch (juce::Graphics& g, juce::Rectangle<float> area, bool ledOn)
    {
        const auto corner = area.getHeight() * 0.08f;

        // Shadow, then the brushed-metal frame.
        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.fillRoundedRectangle (area.translated (3.0f, 5.0f), corner);

        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffd9dce1), area.getX(), area.getY(),
                                                 juce::Colour (0xff7d828a), area.getX(), area.getBottom(), false));
        g.fillRoundedRectangle (area, corner);
        g.setColour (juce::Colour (0xff3a3d42));
        g.drawRoundedRectangle (area.reduced (0.5f), corner, 1.0f);

        // The rubber pad with its ribs.
        auto pad =
            area.reduced (area.getWidth() * 0.07f, area.getHeight() * 0.14f).withTrimmedTop (area.getHeight() * 0.06f);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3b3e44), pad.getX(), pad.getY(),
                                                 juce::Colour (0xff17181b), pad.getX(), pad.getBottom(), false));
        g.fillRoundedRectangle (pad, corner * 0.6f);

        g.setColour (juce::Colours::white.withAlpha (0.06f));
        for (auto y = pad.getY() + 6.0f; y < pad.getBottom() - 4.0f; y += 7.0f)
            g.fillRect (pad.getX() + 6.0f, y, pad.getWidth() - 12.0f, 2.0f);

        g.setColour (juce::Colours::black);
        g.drawRoundedRectangle (pad, corner * 0.6f, 1.5f);

        // The LED on the frame, above the pad.
        const auto ledSize = area.getHeight() * 0.07f;
        const juce::Rectangle<float> led (area.getX() + area.getWidth() * 0.07f, area.getY() + area.getHeight() * 0.04f,
                                          ledSize, ledSize);

        if (ledOn)
        {
            g.setColour (juce::Colour (0x60ff3020));
            g.fillEllipse (led.expanded (ledSize * 0.8f));
        }

        g.setColour (ledOn ? juce::Colour (0xffff3a28) : juce::Colour (0xff5a1a14));
        g.fillEllipse (led);
        g.setColour (juce::Colours::white.withAlpha (0.7f));
        g.fillEllipse (led.reduced (ledSize * 0.3f).translated (-ledSize * 0.1f, -ledSize * 0.1f));
    }

    void drawBackground (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour top, juce::Colour bottom)
    {
        g.setGradientFill (juce::ColourGradient (top, 0.0f, 0.0f, bottom, 0.0f, (float) area.getHeight(), false));
        g.fillRect (area);
    }

    /** The start picture: the product name on a footswitch. */
    juce::Image drawStartPicture()
    {
        juce::Image image (juce::Image::ARGB, 337, 170, true);
        juce::Graphics g (image);

        drawBackground (g, image.getBounds(), juce::Colour (0xff2e3138), juce::Colour (0xff101114));
        drawFootswitch (g, { 18.0f, 16.0f, 301.0f, 132.0f }, true);

        const juce::Rectangle<int> nameArea (30, 52, 277, 78);
        g.setFont (font (54.0f, true));
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.drawText ("Veltrino", nameArea.translated (2, 3), juce::Justification::centred, false);
        g.setColour (juce::Colour (0xfff2f2f2));
        g.drawText ("Veltrino", nameArea, juce::Justification::centred, false);

        g.setFont (font (11.0f, false));
        g.setColour (juce::Colour (0xffb8bcc4));
        g.drawText ("for the FCB 1010 pedal board", 0, 152, 337, 14, juce::Justification::centred, false);
        return image;
    }

    /** The About picture: name, version and what the program does. */
    juce::Image drawAboutPicture()
    {
        juce::Image image (juce::Image::ARGB, 348, 169, true);
        juce::Graphics g (image);

        drawBackground (g, image.getBounds(), juce::Colour (0xfff4f5f7), juce::Colour (0xffc9ced6));
        g.setColour (juce::Colour (0xff80868f));
        g.drawRect (image.getBounds(), 1);

        drawFootswitch (g, { 16.0f, 38.0f, 104.0f, 78.0f }, true);

        g.setColour (juce::Colour (0xff1d2026));
        g.setFont (font (40.0f, true));
        g.drawText ("Veltrino", 134, 28, 200, 46, juce::Justification::centredLeft, false);

        g.setColour (juce::Colour (0xff4a505a));
        g.setFont (font (15.0f, false));
        g.drawText ("Version " + version, 136, 74, 200, 20, juce::Justification::centredLeft, false);

        g.setColour (juce::Colour (0xff2b2f36));
        g.setFont (font (12.0f, false));
        g.drawFittedText ("Plays the patches of your documents from the footswitches and pedals of an FCB 1010.", 16,
                          128, 316, 32, juce::Justification::centred, 2, 1.0f);
        return image;
    }

    bool writePng (const juce::Image& image, const juce::File& file)
    {
        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat png;
        return out.openedOk() && png.writeImageToStream (image, out);
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: DrawPictures <output folder>" << std::endl;
        return 1;
    }

    juce::ScopedJuceInitialiser_GUI juce;

    if (! juce::Font::findAllTypefaceNames().contains (family))
    {
        std::cerr << "DrawPictures: the font " << family << " is missing (package fonts-liberation)" << std::endl;
        return 1;
    }

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1]));

    if (! writePng (drawStartPicture(), folder.getChildFile ("splash.png"))
        || ! writePng (drawAboutPicture(), folder.getChildFile ("about.png")))
    {
        std::cerr << "DrawPictures: cannot write into " << folder.getFullPathName() << std::endl;
        return 1;
    }

    return 0;
}
