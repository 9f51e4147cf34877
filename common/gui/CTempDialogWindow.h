#pragma once

#include "common/gui/CWindowState.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The window that CModalDialog shows its content in, for one showing.

    It does not own the content. Its close button and the Escape key both hide
    it, which ends its modal loop.
*/
class CTempDialogWindow final : public juce::DialogWindow
{
public:
    /** Makes the window around `content`, sized to it, puts it on the desktop
        (still hidden), then where `windowState` says (CWindowState::restore): a
        window that is not resizable takes only the position from the state, one
        that would not lie wholly on a screen is moved onto it. An empty state, or
        one that cannot be restored (unparsable, empty rectangle), centres it
        instead.
    */
    CTempDialogWindow (const juce::String& title, juce::Component& content, juce::Colour background,
                       bool escapeKeyTriggersCloseButton, bool resizable, bool useCornerResizer,
                       const juce::String& windowState);

    ~CTempDialogWindow() override;

    /** Hides the window, which ends its modal loop with 0. */
    void closeButtonPressed() override;

    /** Does what the close button does, when the window was made to. */
    bool escapeKeyPressed() override;

    /** Where the window is and what to save of it. */
    const CWindowState& getPlacement() const noexcept { return placement; }

private:
    bool escapeCloses;
    CWindowState placement { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CTempDialogWindow)
};
