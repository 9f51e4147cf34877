#include "app/VlButton.h"

#include "engine/VlEngine.h"

VlButton::VlButton (const juce::String& name, const juce::String& tooltip)
    : juce::TextButton (name, tooltip),
      number (name.getIntValue())
{
}

VlButton::~VlButton() = default;

//==============================================================================
void VlButton::setMultiState (bool shouldShowState)
{
    multiState = shouldShowState;
    repaint();
}

void VlButton::setTargetText (const juce::String& newText)
{
    targetText = newText;
    repaint();
}

void VlButton::setStateLabel (const juce::String& newLabel, juce::Colour newColour)
{
    stateLabel = newLabel;
    stateColour = newColour;
    repaint();
}

juce::Colour VlButton::getHighlightColour (juce::Colour colour, bool isMouseOver, bool isDown)
{
    if (isDown)
        return colour.brighter (0.4f);

    if (isMouseOver)
        return colour.getBrightness() > 0.5f ? colour.darker (0.1f) : colour.brighter (0.1f);

    return colour;
}

//==============================================================================
void VlButton::mouseDown (const juce::MouseEvent& event)
{
    VlEngine::getInstance (true)->onFootswitch (number, true);
    juce::TextButton::mouseDown (event);
}

void VlButton::mouseUp (const juce::MouseEvent& event)
{
    VlEngine::getInstance (true)->onFootswitch (number, false);
    juce::TextButton::mouseUp (event);
}

//==============================================================================
void VlButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isDown)
{
    // A button that is down counts as under the mouse too: a pressed pad has the thick outline.
    const auto pad = getLocalBounds().toFloat().reduced (1.0f);
    const auto corner = 0.15f * (float) juce::jmin (getWidth(), getHeight());

    if (isEnabled())
    {
        g.setColour (juce::Colours::black);
        g.fillRoundedRectangle (pad, corner);
    }

    g.setColour (getHighlightColour (findColour (buttonColourId), isMouseOver, isDown));
    g.drawRoundedRectangle (pad, corner, isMouseOver ? 3.0f : 1.0f);

    paintFace (g);
}

void VlButton::paintFace (juce::Graphics& g)
{
    const auto text = findColour (buttonOnColourId).withMultipliedAlpha (isEnabled() ? 1.0f : 0.5f);

    // Four areas stacked from the top: number, label, state (multi-state only), target.
    const auto w = getWidth() - 2, h = getHeight() - 2;
    const auto mx = w / 14, my = h / 60;
    const auto x = mx + 1, iw = w - 2 * mx, ih = h - 2 * my;
    const auto numberHeight = (int) (0.15 * ih), targetHeight = (int) (0.12 * ih);
    const auto rest = ih - 3 * my - targetHeight - numberHeight;
    const auto labelHeight = multiState ? (int) (0.7 * rest) : rest;
    const auto stateHeight = multiState ? (int) (0.3 * rest) : 0;

    const auto numberY = my + 1;
    const auto labelY = numberY + numberHeight + my;
    const auto stateY = labelY + labelHeight + my;
    const auto targetY = stateY + stateHeight + my;

    g.setColour (text.darker (0.5f));
    g.setFont (juce::Font ((float) numberHeight, juce::Font::bold));
    g.drawFittedText (getName(), x, numberY, iw, numberHeight, juce::Justification::centred, 1, 1.0f);

    // One word a line; text in double quotes stays together.
    juce::StringArray words;
    words.addTokens (getButtonText(), " \t\r\n", "\"");
    words.removeEmptyStrings();

    if (! words.isEmpty())
    {
        const auto lineHeight = labelHeight / words.size();
        g.setColour (text);
        g.setFont (juce::Font (0.7f * (float) labelHeight / (float) words.size(), juce::Font::bold));

        for (int i = 0; i < words.size(); ++i)
            g.drawFittedText (words[i], x, labelY + i * lineHeight, iw, lineHeight, juce::Justification::centred, 1, 0.1f);
    }

    if (stateHeight > 0)
    {
        g.setColour (stateColour);
        g.setFont (juce::Font ((float) stateHeight, juce::Font::bold));
        g.drawFittedText (stateLabel, x, stateY, iw, stateHeight, juce::Justification::centred, 1, 0.4f);
    }

    g.setColour (text.darker (0.5f));
    g.setFont (juce::Font ((float) targetHeight, juce::Font::plain));
    g.drawFittedText (targetText, x, targetY, iw, targetHeight, juce::Justification::centred, 1, 0.4f);
}
