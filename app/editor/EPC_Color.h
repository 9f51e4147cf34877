#pragma once

#include "app/editor/EditorProperty.h"
#include "common/gui/CColorPropertyComponent.h"

//==============================================================================
/** A property row that edits a colour (ids 38..41) with the colour library of its
    kind: patch colours, control colours or state colours. The engine owns the
    libraries and recolours the other items of a library when the user edits it.
*/
class EPC_Color : public EditorProperty,
                  public CColorPropertyComponent
{
public:
    /** A row for the id's library of the selection's engine. */
    EPC_Color (EditorSelection& selection, const juce::String& label, int propertyId);

    ~EPC_Color() override;

    /** Stores the colour and tells whom the id concerns; without the edited object
        nothing changes and nobody is told.
    */
    void setColour (juce::uint32 argb) override;

    /** The edited object's colour; 0 without it. */
    juce::uint32 getColour() const override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EPC_Color)
};
