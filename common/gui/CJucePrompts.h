#pragma once

#include "common/CPrompts.h"

//==============================================================================
/** The prompts as JUCE shows them: alert windows (Linux has no native message
    boxes), JUCE's file choosers and the default browser.

    Every call is synchronous: it returns when the user has answered, so a
    CStMenuLock held around it covers the whole time the box is open.
    Main thread only.
*/
class CJucePrompts final : public CPrompts
{
public:
    CJucePrompts() = default;

    /** An alert window with one "OK" button. */
    void showMessage (Icon icon, const juce::String& title, const juce::String& text) override;

    /** Return answers the first button, Escape the second. */
    bool askOkCancel (Icon icon, const juce::String& title, const juce::String& text, const juce::String& okButton,
                      const juce::String& cancelButton) override;

    /** The details go in a read-only text block; Return answers the first
        button, Escape the second.
    */
    bool askOkCancelWithDetails (Icon icon, const juce::String& title, const juce::String& question,
                                 const juce::String& details, const juce::String& okButton,
                                 const juce::String& cancelButton) override;

    /** Escape answers the third button (0). */
    int askYesNoCancel (Icon icon, const juce::String& title, const juce::String& text, const juce::String& button1,
                        const juce::String& button2, const juce::String& button3) override;

    juce::File chooseFolder (const juce::String& title, const juce::File& initial) override;

    /** When saving, choosing an existing file asks before it is overwritten. */
    juce::File chooseFile (const juce::String& title, const juce::File& initial, const juce::String& wildcard,
                           bool saving) override;

    bool openUrl (const juce::String& url) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CJucePrompts)
};
