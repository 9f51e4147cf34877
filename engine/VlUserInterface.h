#pragma once

#include <juce_core/juce_core.h>

class VlControlCfg;

//==============================================================================
/** What the engine asks of the user interface: the on-screen pedal board, the patch
    list and the MIDI learn dialog. The application implements it and registers it
    with VlEngine::setUserInterface; with none registered, what would go to the board
    or the dialog is dropped.

    Calls marked "MIDI thread" arrive on the MIDI input thread while the engine holds
    the message-manager lock; the others arrive wherever the engine runs (the main
    thread, or the MIDI thread under the lock when a footswitch changes patches).
*/
class VlUserInterface
{
public:
    /** Not owned by the engine: unregister it before deleting it. */
    virtual ~VlUserInterface() = default;

    //==============================================================================
    /** MIDI thread: a learnt footswitch note arrived. The board shows the button down
        or up and then calls VlEngine::onFootswitch with the same arguments. Ids other
        than 1..10 are ignored.
    */
    virtual void footswitchEvent (int footswitch, bool down) { juce::ignoreUnused (footswitch, down); }

    /** Shows the footswitch (1..10) up without telling the engine: the engine released
        it itself (VlEngine::releaseHeldFootswitches).
    */
    virtual void showFootswitchUp (int footswitch) { juce::ignoreUnused (footswitch); }

    /** MIDI thread: a learnt pedal controller arrived. The board moves the pedal's
        slider; the slider later passes the value, on the main thread, to
        VlEngine::onPedalValue. Ids other than 11 and 12 are ignored.
    */
    virtual void setPedalValue (int pedal, int value) { juce::ignoreUnused (pedal, value); }

    /** MIDI thread: a note-on or controller arrived while learning (mode 4). */
    virtual void learnMessage (bool isController, int number) { juce::ignoreUnused (isController, number); }

    //==============================================================================
    /** Redraws every footswitch button from VlEngine::getDisplayedControl. */
    virtual void refreshButtons() {}

    /** Redraws both pedal sliders from VlEngine::getDisplayedControl. */
    virtual void refreshPedals() {}

    /** Redraws one footswitch button with the control now displayed on it (may be null). */
    virtual void refreshButton (int footswitch, const VlControlCfg* control)
    {
        juce::ignoreUnused (footswitch, control);
    }

    /** Repaints the board's background, which shows the current patch's colour. */
    virtual void repaintBoard() {}

    //==============================================================================
    /** Rebuilds the patch list from the engine's patches. */
    virtual void refreshPatchList() {}

    /** Scrolls the patch list so that this row is visible. */
    virtual void scrollPatchListTo (int row) { juce::ignoreUnused (row); }

    /** The patch list's first selected row, -1 when none or there is no list. */
    virtual int getSelectedPatchRow() { return -1; }

    /** Selects the row (deselecting the others), whose selection callback calls
        VlEngine::selectPatch before this returns. False when there is no patch list:
        the engine then selects the patch itself.
    */
    virtual bool selectPatchRow (int row)
    {
        juce::ignoreUnused (row);
        return false;
    }
};
