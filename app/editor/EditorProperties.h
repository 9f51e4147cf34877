#pragma once

#include "app/editor/EditorChoices.h"
#include "app/editor/EditorSelection.h"
#include "common/CColorsSetOwner.h"
#include "engine/VlPropertyRow.h"

#include <optional>

//==============================================================================
/** What every property id edits: which object, which field, how it is read and
    written, which choices it offers with their values, how a stored value outside
    the choices is corrected, and whom a change is told. The row classes only show
    what this answers.

    The edited object is asked from the selection at every call. An action id edits
    the current action only when it is of the class the id names; otherwise, as when
    the object is missing, reads give an empty value and writes change nothing.
    Ids of another kind (a text id asked for a colour...) count as missing.
    Main thread only.
*/
namespace EditorProperties
{
    //==============================================================================
    /** Text rows (ids 1..9): the field's text, "" when the object is missing. */
    juce::String getText (EditorSelection& selection, int propertyId);

    /** Writes the text into the field (id 7 parses it, ids 8 and 9 take its leading
        number, clamped). False, changing nothing, when the object is missing.
        Tells nobody: see tell().
    */
    bool setText (EditorSelection& selection, int propertyId, const juce::String& text);

    //==============================================================================
    /** Choice rows (ids 10..37): the choices, built afresh from the model. When the
        id corrects its field and the stored value is not among the choices, a value
        among them is written first (silently: no one is told, the document is not
        marked changed): the one that plays as the stored value does where there is
        one (a channel above 16 becomes 16, a switch that unmutes becomes "unmute"),
        else the first choice's.
    */
    EditorChoices prepareChoices (EditorSelection& selection, int propertyId);

    /** The stored value; nothing when the object is missing. */
    std::optional<int> getValue (EditorSelection& selection, int propertyId);

    /** Writes the value (device ids take the device name at that index; "is link" yes
        asks first when the control's states hold actions). False, changing nothing, when
        the object is missing, the choices no longer hold the value or the user declined.
        Tells nobody: see tell().
    */
    bool setValue (EditorSelection& selection, int propertyId, int value);

    //==============================================================================
    /** Colour rows (ids 38..41): the engine's colour library the row offers; null for
        other ids.
    */
    const ColorSet* getColorSet (EditorSelection& selection, int propertyId);

    /** The colour (a control's is read at the end of its link chain); 0 when the
        object is missing.
    */
    juce::uint32 getColor (EditorSelection& selection, int propertyId);

    /** Stores the colour (a control's in its own field). False, changing nothing, when
        the object is missing. Tells nobody: see tell().
    */
    bool setColor (EditorSelection& selection, int propertyId, juce::uint32 color);

    //==============================================================================
    /** Tells whom the id concerns that a row has written a value, through
        EditorSelection::propertyChanged: the patches editor, or the navigation setup.
    */
    void tell (EditorSelection& selection, int propertyId);

    /** The tooltip of a row of that id: help text 49 + id for ids 1..41, else empty. */
    juce::String getTooltip (int propertyId);
}
