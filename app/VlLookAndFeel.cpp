#include "app/VlLookAndFeel.h"

VlLookAndFeel::VlLookAndFeel() = default;
VlLookAndFeel::~VlLookAndFeel() = default;

VlLookAndFeel* VlLookAndFeel::getInstance (bool create)
{
    // Owned by JUCE's shutdown list until deleteInstance().
    return CSingleInstance<VlLookAndFeel>::getOrCreate (create);
}

void VlLookAndFeel::deleteInstance()
{
    CSingleInstance<VlLookAndFeel>::deleteInstance();
}

//==============================================================================
juce::TextLayout VlLookAndFeel::layoutTooltip (const juce::String& text, juce::Colour colour)
{
    juce::AttributedString string;
    string.setJustification (juce::Justification::left);
    string.append (text, juce::Font (16.0f, juce::Font::plain), colour);

    juce::TextLayout layout;
    layout.createLayout (string, 400.0f);
    return layout;
}

juce::Rectangle<int> VlLookAndFeel::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                      juce::Rectangle<int> parentArea)
{
    const auto layout = layoutTooltip (tipText, juce::Colours::black);
    const auto w = (int) (layout.getWidth() + 14.0f);
    const auto h = (int) (layout.getHeight() + 6.0f);

    return juce::Rectangle<int> (screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12) : screenPos.x + 24,
                                 screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6) : screenPos.y + 6, w, h)
        .constrainedWithin (parentArea);
}

void VlLookAndFeel::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    g.fillAll (findColour (juce::TooltipWindow::backgroundColourId));
    g.setColour (findColour (juce::TooltipWindow::outlineColourId));
    g.drawRect (0, 0, width, height, 1);

    const auto layout = layoutTooltip (text, findColour (juce::TooltipWindow::textColourId));
    const juce::Rectangle<float> area ((float) width, (float) height);
    layout.draw (g, juce::Rectangle<float> (layout.getWidth(), layout.getHeight()).withCentre (area.getCentre()));
}
