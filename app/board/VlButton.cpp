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
