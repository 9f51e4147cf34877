#pragma once

#include "app/editor/EditorSelection.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** What every property row carries: its property id, which alone decides what the
    row edits, and the selection it asks for the edited object at every read and write.
*/
class EditorProperty
{
public:
    /** The row's property id (PropertyId). */
    int getPropertyId() const noexcept { return propertyId; }

protected:
    EditorProperty (EditorSelection& selectionToEdit, int id) noexcept
        : selection (selectionToEdit),
          propertyId (id)
    {
    }

    ~EditorProperty() = default;

    /** Gives the row help text 49 + id as its tooltip (ids 1..41; other ids get none),
        and its children too: the tooltip window asks only the component under the
        mouse, which is mostly the row's editor. Row constructors call it last.
    */
    void initTooltip (juce::PropertyComponent& row) const;

    EditorSelection& selection;
    const int propertyId;

private:
    JUCE_DECLARE_NON_COPYABLE (EditorProperty)
};
