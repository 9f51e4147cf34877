#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/** Marks a modal box, dialog or file operation as open for as long as it lives.

    Every message box, question, chooser and setup dialog is shown while one of
    these is held. The application reads counter() to grey its commands, ignore
    quit requests and refuse dropped files while anything modal is open. Nested
    boxes count each level. Main thread only: the counter is a plain variable.
*/
class CStMenuLock
{
public:
    /** Adds one to the counter. */
    CStMenuLock() noexcept;

    /** Takes the one away again. */
    ~CStMenuLock();

    /** The number of modal boxes and dialogs open now; 0 means unlocked. */
    static juce::uint16 counter() noexcept;

    //==============================================================================
    /** Told whenever the counter goes from 0 to 1 or back to 0, on the main thread:
        what shows the menus as usable or not (the menu bar) follows it at once.
    */
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** The counter is now 0 (`locked` false) or has just left 0 (`locked` true). */
        virtual void menuLockChanged (bool locked) = 0;
    };

    /** Registers a listener (not owned); remove it before it is deleted. */
    static void addListener (Listener* listener);

    /** Unregisters a listener; nothing when it is not registered. */
    static void removeListener (Listener* listener);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CStMenuLock)
};
