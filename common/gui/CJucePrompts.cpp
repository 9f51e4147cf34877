#include "common/gui/CJucePrompts.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    juce::MessageBoxIconType toJuce (CPrompts::Icon icon)
    {
        switch (icon)
        {
            case CPrompts::Icon::warning: return juce::MessageBoxIconType::WarningIcon;
            case CPrompts::Icon::question: return juce::MessageBoxIconType::QuestionIcon;
            case CPrompts::Icon::info: break;
        }

        return juce::MessageBoxIconType::InfoIcon;
    }
}

void CJucePrompts::showMessage (Icon icon, const juce::String& title, const juce::String& text)
{
    juce::AlertWindow::showMessageBox (toJuce (icon), title, text);
}

bool CJucePrompts::askOkCancel (Icon icon, const juce::String& title, const juce::String& text,
                                const juce::String& okButton, const juce::String& cancelButton)
{
    // Without a callback this runs its own modal loop and returns the answer.
    return juce::AlertWindow::showOkCancelBox (toJuce (icon), title, text, okButton, cancelButton, nullptr, nullptr);
}

bool CJucePrompts::askOkCancelWithDetails (Icon icon, const juce::String& title, const juce::String& question,
                                           const juce::String& details, const juce::String& okButton,
                                           const juce::String& cancelButton)
{
    juce::AlertWindow box (title, question, toJuce (icon));
    box.addTextBlock (details);
    box.addButton (okButton, 1, juce::KeyPress (juce::KeyPress::returnKey));
    box.addButton (cancelButton, 2, juce::KeyPress (juce::KeyPress::escapeKey));
    return box.runModalLoop() == 1;
}

int CJucePrompts::askYesNoCancel (Icon icon, const juce::String& title, const juce::String& text,
                                  const juce::String& button1, const juce::String& button2, const juce::String& button3)
{
    return juce::AlertWindow::showYesNoCancelBox (toJuce (icon), title, text, button1, button2, button3, nullptr,
                                                  nullptr);
}

juce::File CJucePrompts::chooseFolder (const juce::String& title, const juce::File& initial)
{
    juce::FileChooser chooser (title, initial, {}, true);
    return chooser.browseForDirectory() ? chooser.getResult() : juce::File();
}

juce::File CJucePrompts::chooseFile (const juce::String& title, const juce::File& initial, const juce::String& wildcard,
                                     bool saving)
{
    juce::FileChooser chooser (title, initial, wildcard, true);
    const auto chosen = saving ? chooser.browseForFileToSave (true) : chooser.browseForFileToOpen();
    return chosen ? chooser.getResult() : juce::File();
}

bool CJucePrompts::openUrl (const juce::String& url)
{
    return juce::URL (url).launchInDefaultBrowser();
}
