#include "fixtures/RunningApplication.h"

using VlWindowTests = RunningApplication;

TEST_F (VlWindowTests, CannotBeMadeSmallerThanItsFirstSize)
{
    start();
    const auto first = juce::Rectangle<int> (830, window().getLookAndFeel().getDefaultMenuBarHeight() + 280);
    EXPECT_EQ (window().getBounds().withZeroOrigin(), first);
    window().setBoundsConstrained ({ 0, 0, 400, 100 });
    EXPECT_EQ (window().getBounds().withZeroOrigin(), first);
}

TEST_F (VlWindowTests, AcceptsOneVltFileThatIsNotTheOpenDocumentWhileNothingModalIsOpen)
{
    start();
    const auto own = fileNamed ("own.vlt"), other = fileNamed ("other.vlt");
    ASSERT_TRUE (document().saveAs (other, false, false, false) == juce::FileBasedDocument::savedOk);
    ASSERT_TRUE (document().saveAs (own, false, false, false) == juce::FileBasedDocument::savedOk);
    const auto path = other.getFullPathName();
    EXPECT_TRUE (window().isInterestedInFileDrag ({ path }));
    EXPECT_FALSE (window().isInterestedInFileDrag ({ path, fileNamed ("third.vlt").getFullPathName() }));
    EXPECT_FALSE (window().isInterestedInFileDrag ({ fileNamed ("other.VLT").getFullPathName() }));
    EXPECT_FALSE (window().isInterestedInFileDrag ({ own.getFullPathName() }));
    EXPECT_FALSE (window().isInterestedInFileDrag ({}));

    {
        CStMenuLock lock;
        EXPECT_FALSE (window().isInterestedInFileDrag ({ path }));

        // A box opened between the drag and the delivery: the drop is refused then too.
        window().filesDropped ({ path }, 10, 10);
        EXPECT_EQ (document().getFile(), own);
    }

    app.documentChanged();
    prompts.yesNoCancelAnswers = { 2 };
    window().filesDropped ({ path }, 10, 10);
    EXPECT_EQ (document().getFile(), other);
    ASSERT_EQ (promptsOf (FakePrompts::Kind::yesNoCancel).size(), 1u);
    EXPECT_EQ (promptsOf (FakePrompts::Kind::yesNoCancel)[0].lockCount, 1);
}

TEST_F (VlWindowTests, MenuTitlesShowGreyedExactlyWhileTheMenusAreLocked)
{
    start();
    auto& menuBar = *window().getMenuBarComponent();
    EXPECT_TRUE (menuBar.isEnabled());

    {
        CStMenuLock box;
        CStMenuLock boxOverIt;
        EXPECT_FALSE (menuBar.isEnabled());
    }

    // Closing a box gives the window no focus back, yet the menus work: titles in white at once.
    EXPECT_TRUE (menuBar.isEnabled());
    window().activeWindowStatusChanged();
    EXPECT_TRUE (menuBar.isEnabled());
}
