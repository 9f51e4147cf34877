#include "app/board/VlButton.h"

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

void VlButton::setFootDown (bool isDown)
{
    footDown = isDown;
    setState (isDown ? buttonDown : buttonNormal);
    repaint();
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

void VlButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    // Enabling or disabling the button for another patch's control, or the mouse passing,
    // sets its own state back: the foot still holds it.
    juce::TextButton::paintButton (g, shouldDrawButtonAsHighlighted || footDown, shouldDrawButtonAsDown || footDown);
}
