#pragma once

#include "app/editor/EditorProperty.h"

//==============================================================================
/** A property row that edits a text field (ids 1..9): a name, a label, a comment, a
    system-exclusive sequence or a value typed as a number.

    After each edit the row shows what the model then holds: a refused sequence
    gives way to the previous one at once, a typed number to its clamped value.
*/
class EPC_Text : public EditorProperty,
                 public juce::TextPropertyComponent
{
public:
    /** A row of at most `maxChars` characters; multi-line, `multiLineHeight` pixels
        high, unless that is -1.
    */
    EPC_Text (EditorSelection& selection, const juce::String& label, int maxChars, int multiLineHeight, int propertyId);

    ~EPC_Text() override;

    /** Writes the text into the field and tells the editor; called by the row when an
        edited text differs from getText(). Without the edited object nothing changes
        and nobody is told.
    */
    void setText (const juce::String& newText) override;

    /** The field's text; "" without the edited object. */
    juce::String getText() const override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EPC_Text)
};
