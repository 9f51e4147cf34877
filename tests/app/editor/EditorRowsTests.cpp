#include "fixtures/EditorRowsFixture.h"

// Rows made from the model's descriptions and added to a panel, whose corrections
// run from the last row to the first.
class EditorRowsTests : public EditorRowsFixture
{
};

TEST_F (EditorRowsTests, AMaximumBelowTheMinimumIsRaisedAboveIt)
{
    ccContinuous.setMinValue (100);
    ccContinuous.setMaxValue (20);
    buildActionPanel (ccContinuous);
    EXPECT_EQ (ccContinuous.getMinValue(), 100);
    EXPECT_EQ (ccContinuous.getMaxValue(), 101);
    EXPECT_EQ (panel.getTotalContentHeight(), 75 + 5 * 25);
}

// A file may hold a range that leaves no choice for one row; it never becomes 255.
TEST_F (EditorRowsTests, AnImpossibleRangeFromAFileBecomesAValidPair)
{
    const struct
    {
        int min, max, newMin, newMax;
    } cases[] {
        { 127, 0, 126, 127 }, { 255, 255, 126, 127 }, { 200, 40, 126, 127 }, { 50, 0, 50, 51 }, { 0, 0, 0, 1 },
    };

    for (const auto& c : cases)
    {
        ccContinuous.setMinValue ((juce::uint8) c.min);
        ccContinuous.setMaxValue ((juce::uint8) c.max);
        buildActionPanel (ccContinuous);
        EXPECT_EQ (ccContinuous.getMinValue(), c.newMin) << c.min << ".." << c.max;
        EXPECT_EQ (ccContinuous.getMaxValue(), c.newMax) << c.min << ".." << c.max;
    }
}

TEST_F (EditorRowsTests, ALinkThatCannotBeOneBecomesAPlainControlWhenItsPanelIsBuilt)
{
    // Footswitch 1 of "Verse" links to "Intro"; "Solo" links to that link, as a file may say.
    selection.control = verse.getControl (1);
    selection.control->setLinked (true);
    addLink (solo, 2, 1, 1).resolveLink();
    EditorRows::addToPanel (panel, selection,
                            { VlPropertyRow::choice ("is link", PropertyId::isLink),
                              VlPropertyRow::choice ("patch", PropertyId::linkPatch),
                              VlPropertyRow::choice ("control", PropertyId::linkControl) });
    EXPECT_FALSE (selection.control->isLinked());
    EXPECT_TRUE (selection.told.empty());
}

TEST_F (EditorRowsTests, ANewMuteActionTakesTheFirstPatchWithAPedalAndItsFirstPedal)
{
    auto& fresh = addAction<VlaMute> (actions);
    buildActionPanel (fresh);
    EXPECT_EQ (fresh.getPatch(), &intro);
    EXPECT_EQ (fresh.getPedalId(), 11);

    // A pedal that its patch does not offer gives way to the first one it does.
    fresh.setPatch (1);
    fresh.setPedalId (-1);
    buildActionPanel (fresh);
    EXPECT_EQ (fresh.getPedalId(), 11);
}

TEST_F (EditorRowsTests, AColourRowShowsAndStoresTheColourOfItsObject)
{
    intro.setColor (0xff102030);
    auto row = EditorRows::create (selection, VlPropertyRow::color ("color", PropertyId::patchColor));
    auto& colourRow = dynamic_cast<CColorPropertyComponent&> (*row);
    EXPECT_EQ (colourRow.getColour(), 0xff102030u);
    EXPECT_EQ (colourRow.getTooltip(), EditorProperties::getTooltip ((int) PropertyId::patchColor));

    colourRow.setColour (0xff405060);
    EXPECT_EQ (intro.getColor(), 0xff405060u);
    EXPECT_EQ (selection.takeTold(), std::vector<int> { (int) PropertyId::patchColor });

    // Without a state to colour, nothing is stored and nobody is told.
    selection.state = nullptr;
    auto stateRow = EditorRows::create (selection, VlPropertyRow::color ("color", PropertyId::stateColor));
    auto& stateColourRow = dynamic_cast<CColorPropertyComponent&> (*stateRow);
    EXPECT_EQ (stateColourRow.getColour(), 0u);
    stateColourRow.setColour (0xff405060);
    EXPECT_TRUE (selection.told.empty());
}
