#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Base of the setup dialogs: shows the dialog's content in a temporary modal
    window and remembers where that window was.

    The first showing is centred on the screen; each later one, and through the
    preferences the next run of the application, puts the window back where it
    was closed. The content component belongs to the dialog and survives every
    showing. Main thread only.
*/
class CModalDialog
{
public:
    CModalDialog() = default;
    virtual ~CModalDialog() = default;

    /** Shows `content` in a modal window and returns when that window closes:
        by its close button, by Escape (both answer 0), or by the content
        leaving the modal state with a result of its own, which is returned.
        Holds a CStMenuLock while the window is open, and stores the window's
        state in windowState when it closes.

        @param content  shown without being owned; the window follows its size
    */
    int showModal (const juce::String& title, juce::Component& content, juce::Colour background, bool resizable,
                   bool useCornerResizer);

    /** The window's position and size when it last closed, as
        CWindowState::toString makes it; empty until then. The application saves
        it in the preferences and sets it at start-up.
    */
    juce::String windowState;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CModalDialog)
};
