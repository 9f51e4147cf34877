#pragma once

#include "app/editor/EditorSelection.h"
#include "engine/VlPropertyRow.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Turns the model's row descriptions into property rows and puts them in a panel. */
namespace EditorRows
{
    /** The row component for a description: EPC_Text, EPC_Choice or EPC_Color. */
    std::unique_ptr<juce::PropertyComponent> create (EditorSelection& selection, const VlPropertyRow& row);

    /** Adds the rows to the panel below those it holds; the panel owns them. Null
        entries are skipped.

        Rows correct their stored values when they are refreshed, and a row's list may
        depend on a row below it (a control link's "control" before its "patch", a
        maximum before its minimum): each row is refreshed once from the last to the
        first before the panel takes them, since the panel refreshes first to last.
    */
    void addToPanel (juce::PropertyPanel& panel, std::vector<std::unique_ptr<juce::PropertyComponent>> rows);

    /** Creates the described rows and adds them to the panel (addToPanel). */
    void addToPanel (juce::PropertyPanel& panel, EditorSelection& selection, const VlPropertyRows& rows);
}
