#include "app/VlFCBLookAndFeel.h"
#include "engine/VlaGoTo.h"
#include "fixtures/BoardFixture.h"

class PatchesListTests : public BoardFixture
{
protected:
    /** Three patches, each with footswitch 1 labelled after it. */
    void addThreePatches()
    {
        for (auto name : { "Intro", "Verse", "Solo" })
            addControl (addPatch (name), 1).setLabel (name);
    }

    void clickRow (int row) { click (list, list.getRowPosition (row, true).getCentre()); }

    /** True when some pixel of the row's number area has that colour. */
    bool numberHasColour (int row, juce::Colour colour)
    {
        const auto image = list.createComponentSnapshot ({ 0, row * 40, 50, 40 });
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y) == colour)
                    return true;

        return false;
    }
};

//==============================================================================
TEST_F (PatchesListTests, SelectionAndCurrentPatchFollowEachOther)
{
    addThreePatches();
    addAction<VlaGoTo> (*engine.getPatch (0)->getControl (1)->getState (0)).setPatch (2);
    play();
    showOnDesktop();
    clickRow (2);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);
    EXPECT_EQ (buttons.getButton (1)->getButtonText(), "Solo");

    // Also out of navigation mode; clearing the selection changes nothing.
    engine.onFootswitch (10, true);
    clickRow (0);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    list.deselectAllRows();
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);

    // The engine's changes select their rows: a go-to action, then navigation ("-" on footswitch 1).
    buttons.footswitchEvent (1, true);
    buttons.footswitchEvent (1, false);
    EXPECT_EQ (list.getSelectedRow(), 2);
    buttons.footswitchEvent (10, true);
    buttons.footswitchEvent (1, true);
    buttons.footswitchEvent (1, false);
    EXPECT_EQ (list.getSelectedRow(), 1);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
}

TEST_F (PatchesListTests, ClickingTheRowAlreadySelectedLeavesNavigationMode)
{
    addThreePatches();
    play();
    showOnDesktop();
    clickRow (2);

    // Navigation mode shows the navigation patch; the list keeps row 2 selected.
    engine.onFootswitch (10, true);
    ASSERT_EQ (engine.getMode(), ModeNavigation);
    ASSERT_EQ (list.getSelectedRow(), 2);

    // Away from the first click: on the same spot the click would be a double click, which
    // opens the patches editor.
    click (list, list.getRowPosition (2, true).getCentre().translated (40, 0));
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);
    EXPECT_EQ (buttons.getButton (1)->getButtonText(), "Solo");
}

TEST_F (PatchesListTests, OnlyTheCurrentPatchsRowIsHighlighted)
{
    const juce::Colour green (0xff00ff00), grey (0xff606060);
    list.refresh();
    EXPECT_FALSE (numberHasColour (0, grey));
    addThreePatches();
    engine.getPatch (0)->setColor (0xff3060c0);
    play();
    EXPECT_TRUE (numberHasColour (0, green));
    EXPECT_TRUE (numberHasColour (1, grey) && ! numberHasColour (1, green));

    // The band shows the window's background at that place, and stops short of the edge.
    const auto snapshot = list.createComponentSnapshot (list.getLocalBounds());
    const auto band = snapshot.getPixelAt (150, 20);
    const auto underneath = list.getPosition().toFloat() + juce::Point<float> (150, 20);
    const auto gradient =
        VlFCBLookAndFeel::createPanelGradient (juce::Colour (0xff3060c0), content.getLocalBounds().toFloat());
    const auto along = gradient.point2 - gradient.point1;
    const auto expected = gradient.getColourAtPosition (underneath.getDotProduct (along) / along.getDotProduct (along));
    EXPECT_NEAR (band.getRed(), expected.getRed(), 2);
    EXPECT_NEAR (band.getBlue(), expected.getBlue(), 2);
    EXPECT_EQ (snapshot.getPixelAt (list.getWidth() - 1, 20), juce::Colours::black);

    // The navigation patch is in no row.
    engine.onFootswitch (10, true);
    EXPECT_FALSE (numberHasColour (0, green));
}
