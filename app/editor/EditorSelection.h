#pragma once

#include <juce_core/juce_core.h>

class VlEngine;
class VlPatch;
class VlControlCfg;
class VlControlState;
class VlAction;

//==============================================================================
/** What the property rows edit and whom they tell: the patches editor implements it
    and hands it to every row it makes, and so does the navigation setup for its rows,
    which edit only the engine.

    A row keeps no pointer to the object it edits: it asks here afresh at every read
    and write, so a row that outlives a selection change never touches a deleted
    object. Any of the four objects may be missing (null); the rows then read empty
    values and drop writes. Main thread only.
*/
class EditorSelection
{
public:
    /** Not owned by the rows. */
    virtual ~EditorSelection() = default;

    //==============================================================================
    /** The engine whose document is edited: its patch list, its link and pedal
        look-ups and its colour libraries.
    */
    virtual VlEngine& getEngine() = 0;

    /** The patch being edited: the engine's current patch; null when there is none. */
    virtual VlPatch* getCurrentPatch() = 0;

    /** The control selected in the editor (the control itself, which may be a link);
        null when none.
    */
    virtual VlControlCfg* getCurrentControl() = 0;

    /** The state selected in the editor (a state at the end of the current control's
        link chain); null when none.
    */
    virtual VlControlState* getCurrentState() = 0;

    /** The action selected in the editor, of any class; null when none. */
    virtual VlAction* getCurrentAction() = 0;

    /** The output device names that the device rows offer, in order: the present
        outputs, then the absent names that actions use. An empty entry is shown as a
        separator.
    */
    virtual const juce::StringArray& getOutputDeviceNames() = 0;

    //==============================================================================
    /** Called by a row once after each value it has written, with its property id.
        Not called for a write that was dropped (the object was missing), nor for the
        corrections a row makes while it is refreshed. A row may be deleted by a panel
        rebuild only after this has returned: rebuild on a later turn of the message loop.
    */
    virtual void propertyChanged (int propertyId) = 0;
};
