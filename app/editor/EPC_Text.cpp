#include "app/editor/EPC_Text.h"

#include "app/editor/EditorProperties.h"

EPC_Text::EPC_Text (EditorSelection& s, const juce::String& label, int maxChars, int multiLineHeight, int id)
    : EditorProperty (s, id),
      juce::TextPropertyComponent (label, maxChars, multiLineHeight != -1)
{
    if (multiLineHeight != -1)
    {
        setPreferredHeight (multiLineHeight);

        // Long comments wrap instead of being squeezed.
        if (auto* text = dynamic_cast<juce::Label*> (getChildComponent (0)))
            text->setMinimumHorizontalScale (1.0f);
    }

    initTooltip (*this);
}

EPC_Text::~EPC_Text() = default;

void EPC_Text::setText (const juce::String& newText)
{
    const auto written = EditorProperties::setText (selection, propertyId, newText);

    // Before telling: the editor may rebuild the panel, and this row with it, afterwards.
    refresh();

    if (written)
        EditorProperties::tell (selection, propertyId);
}

juce::String EPC_Text::getText() const
{
    return EditorProperties::getText (selection, propertyId);
}
