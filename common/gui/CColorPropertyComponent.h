#pragma once

#include "common/gui/ColorEditorComponent.h"

//==============================================================================
/** A property row that edits an item's colour with a colour library: its content is
    a ColorEditorComponent, the swatch with the library's menu and the colour selector.

    A derived row connects it to its item: getColour() reads the item's colour,
    setColour() stores a new one (and tells whoever must know). The row keeps the
    library only by reference and changes it only through its CColorsSetOwner, which
    also recolours the other items of the library's kind. Main thread only.
*/
class CColorPropertyComponent : public juce::PropertyComponent
{
public:
    /** A row of 25 pixels with that name, for one library of that owner; both must
        outlive the row.
    */
    CColorPropertyComponent (const juce::String& propertyName, CColorsSetOwner& owner, const ColorSet& set);

    ~CColorPropertyComponent() override;

    //==============================================================================
    /** Shows the item's colour (getColour) in the swatch; the caller repaints. */
    void refresh() override;

    /** Stores a colour the user chose into the item. */
    virtual void setColour (juce::uint32 argb) = 0;

    /** The item's colour, as 32-bit ARGB. */
    virtual juce::uint32 getColour() const = 0;

    /** The component's colour ids, as for any component. */
    using juce::Component::setColour;

    /** The swatch. */
    ColorEditorComponent& getEditor() noexcept { return editor; }

private:
    ColorEditorComponent editor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CColorPropertyComponent)
};
