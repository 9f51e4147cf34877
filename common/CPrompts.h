#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/** Every message box, question, chooser and browser launch goes through here.

    The application installs an implementation with JUCE's modal windows; tests
    install one that scripts the answers and records what was asked. With none
    installed, questions answer with their first button, choosers answer
    "cancelled" and messages are only logged. Main thread only.

    Implementations only show: the caller holds a CStMenuLock around each call.
*/
class CPrompts
{
public:
    enum class Icon
    {
        info,
        warning,
        question
    };

    virtual ~CPrompts() = default;

    /** A box with one OK button; returns when it is closed. */
    virtual void showMessage (Icon icon, const juce::String& title, const juce::String& text) = 0;

    /** A question with two buttons; true for the first (OK). */
    virtual bool askOkCancel (Icon icon, const juce::String& title, const juce::String& text,
                              const juce::String& okButton, const juce::String& cancelButton) = 0;

    /** A question with two buttons and, below it, a block of details the user
        can read through (a list, say); true for the first (OK, also Return),
        false for the second (Cancel, also Escape).
    */
    virtual bool askOkCancelWithDetails (Icon icon, const juce::String& title, const juce::String& question,
                                         const juce::String& details, const juce::String& okButton,
                                         const juce::String& cancelButton) = 0;

    /** A question with three buttons: 1 for the first, 2 for the second,
        0 for the third (the cancel button, also taken by Escape).
    */
    virtual int askYesNoCancel (Icon icon, const juce::String& title, const juce::String& text,
                                const juce::String& button1, const juce::String& button2,
                                const juce::String& button3) = 0;

    /** A folder chooser; an empty File when cancelled. */
    virtual juce::File chooseFolder (const juce::String& title, const juce::File& initial) = 0;

    /** A file chooser for opening (saving = false) or saving; an empty File when cancelled. */
    virtual juce::File chooseFile (const juce::String& title, const juce::File& initial, const juce::String& wildcard,
                                   bool saving) = 0;

    /** Opens the address in the default browser; false when that failed. */
    virtual bool openUrl (const juce::String& url) = 0;

    //==============================================================================
    /** The installed implementation, or the fallback described above; never null. */
    static CPrompts& get();

    /** Installs an implementation (not owned); null restores the fallback. */
    static void install (CPrompts* prompts);

    /** True while an implementation is installed (the fallback does not count). */
    static bool isInstalled() noexcept;
};
