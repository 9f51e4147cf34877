#include "common/gui/CColorPropertyComponent.h"

CColorPropertyComponent::CColorPropertyComponent (const juce::String& propertyName, CColorsSetOwner& owner,
                                                  const ColorSet& set)
    : juce::PropertyComponent (propertyName, 25),
      editor (*this, owner, set)
{
    addAndMakeVisible (editor);
}

CColorPropertyComponent::~CColorPropertyComponent() = default;

void CColorPropertyComponent::refresh()
{
    editor.setShownColour (getColour());
}
