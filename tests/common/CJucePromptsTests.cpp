#include "common/CJucePrompts.h"
#include "fixtures/ModalTest.h"

#include <gtest/gtest.h>

namespace
{
    /** Answers the box that is about to open with `key`, checking it is an alert window. */
    void answerWith (const juce::KeyPress& key, const juce::String& expectedTitle)
    {
        ModalTest::whenModal ([key, expectedTitle] (juce::Component& modal)
        {
            EXPECT_NE (dynamic_cast<juce::AlertWindow*> (&modal), nullptr);
            EXPECT_EQ (modal.getName(), expectedTitle);
            ModalTest::press (modal, key);
        });
    }
}

TEST (CJucePromptsTests, BoxesWaitForTheAnswerAndReturnTheButtonChosen)
{
    CJucePrompts prompts;
    const juce::KeyPress returnKey (juce::KeyPress::returnKey), escapeKey (juce::KeyPress::escapeKey);

    answerWith (returnKey, "Fatal error");
    prompts.showMessage (CPrompts::Icon::warning, "Fatal error", "Unable to start.");

    answerWith (returnKey, "Delete");
    EXPECT_TRUE (prompts.askOkCancel (CPrompts::Icon::question, "Delete", "Delete the patch?", "OK", "Cancel"));
    answerWith (escapeKey, "Delete");
    EXPECT_FALSE (prompts.askOkCancel (CPrompts::Icon::question, "Delete", "Delete the patch?", "OK", "Cancel"));

    const auto askWithDetails = [&prompts]
    {
        return prompts.askOkCancelWithDetails (CPrompts::Icon::question, "Deleting patches...",
                                               "Do you really want to delete this patch?",
                                               "The following definitions will be deleted too:\n\n", "OK", "Cancel");
    };

    answerWith (returnKey, "Deleting patches...");
    EXPECT_TRUE (askWithDetails());
    answerWith (escapeKey, "Deleting patches...");
    EXPECT_FALSE (askWithDetails());

    const auto askToSave = [&prompts]
    {
        return prompts.askYesNoCancel (CPrompts::Icon::question, "Closing document...",
                                       "Do you want to save the changes?", "Save", "Discard changes", "Cancel");
    };

    answerWith (juce::KeyPress ('s'), "Closing document...");
    EXPECT_EQ (askToSave(), 1);
    answerWith (juce::KeyPress ('d'), "Closing document...");
    EXPECT_EQ (askToSave(), 2);
    answerWith (escapeKey, "Closing document...");
    EXPECT_EQ (askToSave(), 0);
}
