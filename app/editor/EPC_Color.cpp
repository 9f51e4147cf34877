#include "app/editor/EPC_Color.h"

#include "app/editor/EditorProperties.h"
#include "engine/VlEngine.h"

namespace
{
    // An id without a library of its own offers none: reads give 0, writes change nothing.
    const ColorSet& libraryOf (EditorSelection& selection, int propertyId)
    {
        static const ColorSet none;
        const auto* set = EditorProperties::getColorSet (selection, propertyId);
        return set != nullptr ? *set : none;
    }
}

EPC_Color::EPC_Color (EditorSelection& s, const juce::String& label, int id)
    : EditorProperty (s, id),
      CColorPropertyComponent (label, s.getEngine(), libraryOf (s, id))
{
    initTooltip (*this);
}

EPC_Color::~EPC_Color() = default;

void EPC_Color::setColour (juce::uint32 argb)
{
    if (EditorProperties::setColor (selection, propertyId, argb))
        EditorProperties::tell (selection, propertyId);
}

juce::uint32 EPC_Color::getColour() const
{
    return EditorProperties::getColor (selection, propertyId);
}
