#include "common/CModalDialog.h"
#include "fixtures/ModalTest.h"

#include <gtest/gtest.h>

namespace
{
    juce::Point<int> centredPosition (juce::Rectangle<int> bounds)
    {
        const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
        return bounds.withCentre (area.getCentre()).getPosition();
    }

    /** Shows the dialog, notes where its window appeared, then runs `close` on it. */
    juce::Rectangle<int> showAndClose (CModalDialog& dialog, juce::Component& content,
                                       std::function<void (juce::Component&)> close, bool resizable = false,
                                       int* result = nullptr)
    {
        juce::Rectangle<int> shownAt;

        ModalTest::whenModal ([&] (juce::Component& window)
        {
            shownAt = window.getBounds();
            close (window);
        });

        const auto answer = dialog.showModal ("Setup", content, juce::Colours::lightgrey, resizable, false);

        if (result != nullptr)
            *result = answer;

        return shownAt;
    }
}

TEST (CModalDialogTests, FirstShowingIsCentredAndTheNextIsWhereTheWindowWasLeft)
{
    CModalDialog dialog;
    juce::Component content;
    content.setSize (300, 160);
    int result = -1;

    const auto first = showAndClose (dialog, content, [] (juce::Component& window)
    {
        window.setTopLeftPosition (50, 60);
        ModalTest::pressEscape (window);
    }, false, &result);

    EXPECT_EQ (first.getPosition(), centredPosition (first));
    EXPECT_EQ (result, 0);
    EXPECT_TRUE (dialog.windowState.startsWith ("50 60 300 160"));

    const auto second = showAndClose (dialog, content, [] (juce::Component& window)
    {
        dynamic_cast<juce::DocumentWindow&> (window).closeButtonPressed();
    }, false, &result);

    EXPECT_EQ (second, juce::Rectangle<int> (50, 60, 300, 160));
    EXPECT_EQ (result, 0);
}

TEST (CModalDialogTests, TheContentSurvivesEachShowingAndMayEndItWithItsOwnResult)
{
    CModalDialog dialog;
    auto owner = std::make_unique<juce::Component>();
    juce::Component::SafePointer<juce::Component> content (owner.get());
    content->setSize (200, 100);

    showAndClose (dialog, *content, ModalTest::pressEscape);
    ASSERT_NE (content, nullptr);
    EXPECT_EQ (content->getParentComponent(), nullptr);

    int result = -1;
    showAndClose (dialog, *content, [&] (juce::Component& window)
    {
        EXPECT_EQ (content->getTopLevelComponent(), &window);
        window.exitModalState (7);
    }, false, &result);

    EXPECT_EQ (result, 7);
    EXPECT_NE (content, nullptr);
}

TEST (CModalDialogTests, AnUnusableStateCentresAndAFixedSizeTakesOnlyThePosition)
{
    juce::Component content;
    content.setSize (260, 140);

    for (const auto* state : { "rubbish", "0 0 0 0", "10 10", "fs" })
    {
        CModalDialog dialog;
        dialog.windowState = state;
        const auto shownAt = showAndClose (dialog, content, ModalTest::pressEscape);

        EXPECT_EQ (shownAt.getPosition(), centredPosition (shownAt)) << state;
        EXPECT_EQ (shownAt.getWidth(), 260) << state;
    }

    CModalDialog fixed;
    fixed.windowState = "70 80 900 700";
    EXPECT_EQ (showAndClose (fixed, content, ModalTest::pressEscape), juce::Rectangle<int> (70, 80, 260, 140));

    CModalDialog resizable;
    resizable.windowState = "70 80 400 300";
    EXPECT_EQ (showAndClose (resizable, content, ModalTest::pressEscape, true), juce::Rectangle<int> (70, 80, 400, 300));
}
