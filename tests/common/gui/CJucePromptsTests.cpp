#include "common/gui/CJucePrompts.h"
#include "fixtures/ModalTest.h"

#include <gtest/gtest.h>

namespace
{
    /** Runs `show`, answering the alert window it opens, which must bear `title`, with `key`. */
    template <typename Show>
    auto answer (const juce::KeyPress& key, const juce::String& title, Show show)
    {
        ModalTest::whenModal ([key, title] (juce::Component& modal) {
            EXPECT_NE (dynamic_cast<juce::AlertWindow*> (&modal), nullptr);
            EXPECT_EQ (modal.getName(), title);
            ModalTest::press (modal, key);
        });

        return show();
    }
}

TEST (CJucePromptsTests, BoxesWaitForTheAnswerAndReturnTheButtonChosen)
{
    CJucePrompts prompts;
    const juce::KeyPress enter (juce::KeyPress::returnKey), escape (juce::KeyPress::escapeKey);
    const auto icon = CPrompts::Icon::question;
    const auto deleteOne = [&] { return prompts.askOkCancel (icon, "Delete", "Delete the patch?", "OK", "Cancel"); };
    const auto deleteMore = [&] {
        return prompts.askOkCancelWithDetails (icon, "Deleting patches...", "Do you really want to delete this patch?",
                                               "The following definitions will be deleted too:\n\n", "OK", "Cancel");
    };
    const auto save = [&] {
        return prompts.askYesNoCancel (icon, "Closing document...", "Do you want to save the changes?", "Save",
                                       "Discard changes", "Cancel");
    };

    answer (enter, "Fatal error", [&] {
        prompts.showMessage (CPrompts::Icon::warning, "Fatal error", "Unable to start.");
        return 0;
    });
    EXPECT_TRUE (answer (enter, "Delete", deleteOne));
    EXPECT_FALSE (answer (escape, "Delete", deleteOne));
    EXPECT_TRUE (answer (enter, "Deleting patches...", deleteMore));
    EXPECT_FALSE (answer (escape, "Deleting patches...", deleteMore));
    EXPECT_EQ (answer (juce::KeyPress ('s'), "Closing document...", save), 1);
    EXPECT_EQ (answer (juce::KeyPress ('d'), "Closing document...", save), 2);
    EXPECT_EQ (answer (escape, "Closing document...", save), 0);
}
