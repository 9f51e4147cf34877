#include "common/CPrompts.h"

namespace
{
    /** Used while no user interface is installed: nothing can be shown, so
        messages go to the log, questions answer OK and choosers are cancelled.
    */
    class LoggingPrompts final : public CPrompts
    {
    public:
        void showMessage (Icon, const juce::String& title, const juce::String& text) override
        {
            juce::Logger::writeToLog (title + ": " + text);
        }

        bool askOkCancel (Icon, const juce::String& title, const juce::String& text, const juce::String&,
                          const juce::String&) override
        {
            juce::Logger::writeToLog (title + ": " + text);
            return true;
        }

        int askYesNoCancel (Icon, const juce::String& title, const juce::String& text, const juce::String&,
                            const juce::String&, const juce::String&) override
        {
            juce::Logger::writeToLog (title + ": " + text);
            return 1;
        }

        bool askOkCancelWithDetails (Icon icon, const juce::String& title, const juce::String& question,
                                     const juce::String& details, const juce::String& okButton,
                                     const juce::String& cancelButton) override
        {
            return askOkCancel (icon, title, question + "\n" + details, okButton, cancelButton);
        }

        juce::File chooseFolder (const juce::String&, const juce::File&) override { return {}; }

        juce::File chooseFile (const juce::String&, const juce::File&, const juce::String&, bool) override
        {
            return {};
        }

        bool openUrl (const juce::String&) override { return false; }
    };

    LoggingPrompts fallback;
    CPrompts* installed = nullptr;
}

CPrompts& CPrompts::get()
{
    return installed != nullptr ? *installed : fallback;
}

void CPrompts::install (CPrompts* prompts)
{
    installed = prompts;
}

bool CPrompts::isInstalled() noexcept
{
    return installed != nullptr;
}
