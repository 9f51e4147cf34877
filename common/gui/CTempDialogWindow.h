#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The window that CModalDialog shows its content in, for one showing.

    It does not own the content. Its close button and the Escape key both hide
    it, which ends its modal loop.
*/
class CTempDialogWindow final : public juce::DialogWindow
{
public:
    /** Makes the window on the desktop (still hidden) around `content`, sized to
        it, then puts it where `windowState` says. An empty state, or one that
        cannot be restored (unparsable, empty rectangle), centres it instead.
        A window that is not resizable takes only the position from the state:
        its size stays that of the content. A restored window that would not lie
        wholly on a screen is moved onto it (CWindowPlacement::moveOnScreen).
    */
    CTempDialogWindow (const juce::String& title, juce::Component& content, juce::Colour background,
                       bool escapeKeyTriggersCloseButton, bool resizable, bool useCornerResizer,
                       const juce::String& windowState);

    ~CTempDialogWindow() override;

    /** Hides the window, which ends its modal loop with 0. */
    void closeButtonPressed() override;

    /** Does what the close button does, when the window was made to. */
    bool escapeKeyPressed() override;

private:
    bool escapeCloses;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CTempDialogWindow)
};
