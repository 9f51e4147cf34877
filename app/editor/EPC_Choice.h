#pragma once

#include "app/editor/EditorChoices.h"
#include "app/editor/EditorProperty.h"

//==============================================================================
/** A property row that offers a list of choices (ids 10..37): numbers, names of
    notes and controllers, patches, controls, pedals, devices, yes or no, footswitches.

    The list is built afresh from the model at every refresh, and a stored value
    outside it is then corrected where the id says so. The row owns its combo box,
    whose items it replaces without notifications; an empty choice text is shown
    as a separator.
*/
class EPC_Choice : public EditorProperty,
                   public juce::PropertyComponent,
                   private juce::ComboBox::Listener
{
public:
    EPC_Choice (EditorSelection& selection, const juce::String& label, int propertyId);

    ~EPC_Choice() override;

    //==============================================================================
    /** Rebuilds the choices (correcting the stored value when the id says so) and
        selects the stored value, or nothing when it is not among them.
    */
    void refresh() override;

    /** Writes the value of that choice and tells the selection; called when the user picks
        a choice other than getIndex(). Without the edited object, when the choices no
        longer hold that value, or when the user declines the question the write asks ("is
        link" yes), nothing changes, nobody is told, and the row shows what is stored again.
    */
    virtual void setIndex (int index);

    /** The index of the stored value among the choices; -1 when it is not among them
        or the edited object is missing.
    */
    virtual int getIndex() const;

    /** The value of the choice at that index of the last refresh; -1 when none. */
    int valueOfIndex (int index) const noexcept { return choices.valueOfIndex (index); }

    /** The smallest index of the last refresh with that value; -1 when none. */
    int indexOfValue (int value) const noexcept { return choices.indexOfValue (value); }

    /** The combo box: item id index + 1 for each choice that is not a separator. */
    juce::ComboBox& getComboBox() noexcept { return comboBox; }

private:
    void comboBoxChanged (juce::ComboBox*) override;

    juce::ComboBox comboBox;
    EditorChoices choices;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EPC_Choice)
};
