#include "common/gui/CModalDialog.h"
#include "fixtures/ModalTest.h"

#include <gtest/gtest.h>

namespace
{
    juce::Point<int> centredPosition (juce::Rectangle<int> bounds)
    {
        const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
        return bounds.withCentre (area.getCentre()).getPosition();
    }

    struct Shown
    {
        juce::Rectangle<int> bounds;
        int result = -1;
    };

    /** Shows the dialog, notes where its window appeared, then runs `close` on it. */
    Shown show (CModalDialog& dialog, juce::Component& content,
                std::function<void (juce::Component&)> close = ModalTest::pressEscape, bool resizable = false)
    {
        Shown shown;
        ModalTest::whenModal ([&] (juce::Component& window) {
            shown.bounds = window.getBounds();
            close (window);
        });

        shown.result = dialog.showModal ("Setup", content, juce::Colours::lightgrey, resizable, false);
        return shown;
    }
}

TEST (CModalDialogTests, FirstShowingIsCentredTheNextIsWhereTheWindowWasLeftAndTheContentSurvives)
{
    CModalDialog dialog;
    juce::Component content;
    content.setSize (300, 160);

    const auto first = show (dialog, content, [] (juce::Component& window) {
        window.setTopLeftPosition (50, 60);
        ModalTest::pressEscape (window);
    });

    EXPECT_EQ (first.bounds.getPosition(), centredPosition (first.bounds));
    EXPECT_EQ (first.result, 0);
    EXPECT_TRUE (dialog.windowState.startsWith ("50 60 300 160"));

    const auto second = show (dialog, content, [] (juce::Component& window) {
        dynamic_cast<juce::DocumentWindow&> (window).closeButtonPressed();
    });

    EXPECT_EQ (second.bounds, juce::Rectangle<int> (50, 60, 300, 160));
    EXPECT_EQ (second.result, 0);

    // The content survives each showing and may end one with its own result.
    EXPECT_EQ (content.getParentComponent(), nullptr);
    EXPECT_EQ (show (dialog, content,
                     [&] (juce::Component& window) {
                         EXPECT_EQ (content.getTopLevelComponent(), &window);
                         window.exitModalState (7);
                     })
                   .result,
               7);
    EXPECT_EQ (content.getParentComponent(), nullptr);
}

TEST (CModalDialogTests, AnUnusableStateCentresAndAFixedSizeTakesOnlyThePosition)
{
    juce::Component content;
    content.setSize (260, 140);

    for (const auto* state : { "rubbish", "0 0 0 0", "10 10", "fs" })
    {
        CModalDialog dialog;
        dialog.windowState = state;
        const auto shownAt = show (dialog, content).bounds;
        EXPECT_EQ (shownAt.getPosition(), centredPosition (shownAt)) << state;
        EXPECT_EQ (shownAt.getWidth(), 260) << state;
    }

    CModalDialog fixed, resizable;
    fixed.windowState = "70 80 900 700";
    resizable.windowState = "70 80 400 300";
    EXPECT_EQ (show (fixed, content).bounds, juce::Rectangle<int> (70, 80, 260, 140));
    EXPECT_EQ (show (resizable, content, ModalTest::pressEscape, true).bounds, juce::Rectangle<int> (70, 80, 400, 300));
}
