#include "fixtures/EditorRowsFixture.h"

class EPC_ChoiceTests : public EditorRowsFixture
{
protected:
    juce::String itemText (PropertyId id, int index)
    {
        return makeRow<EPC_Choice> (id)->getComboBox().getItemText (index);
    }
};

TEST_F (EPC_ChoiceTests, ListsNameNotesControllersDevicesAndPatches)
{
    selection.action = &note;
    EXPECT_EQ (itemText (PropertyId::noteNumber, 0), "0 - C-2");
    EXPECT_EQ (itemText (PropertyId::noteNumber, 60), "60 - C3");
    EXPECT_EQ (itemText (PropertyId::noteNumber, 127), "127 - G8");
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::midiDevice)), "Synth, -, Other");

    selection.action = &ccFixed;
    EXPECT_EQ (itemText (PropertyId::controller, 0), "0 - Bank Select");
    EXPECT_EQ (itemText (PropertyId::controller, 3), "3 - ");
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::executeAt)), "press, release");

    selection.action = &mute;
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::mutePatch)), "0 - Intro (this), 1 - Verse");
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::mutePedal)), "expr. pedal 1");
    selection.action = &goTo;
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::goToPatch)), "0 - Intro, 1 - Verse, 2 - Solo");
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::initState)), "#1, #2");
    EXPECT_TRUE (
        itemsOf (*makeRow<EPC_Choice> (PropertyId::navLastPatch)).startsWith ("none, -, Footswitch 1, Footswitch 2, "));
    EXPECT_EQ (itemText (PropertyId::navLastPatch, 10), "Footswitch 10");
}

TEST_F (EPC_ChoiceTests, AStoredValueOutsideTheChoicesIsCorrectedSilentlyWhereTheIdSaysSo)
{
    intro.setLevel (40);
    auto level = makeRow<EPC_Choice> (PropertyId::patchLevel);
    EXPECT_EQ (intro.getLevel(), 0);
    EXPECT_EQ (level->getComboBox().getText(), "0");

    // Device names compare with letter case.
    selection.action = &note;
    note.setDevice ("synth");
    note.setVelocity (200);
    makeRow<EPC_Choice> (PropertyId::midiDevice);
    EXPECT_EQ (note.getDevice(), "Synth");

    // Plain numbers are kept as stored, showing no choice.
    EXPECT_EQ (makeRow<EPC_Choice> (PropertyId::velocity)->getComboBox().getSelectedId(), 0);
    EXPECT_EQ (note.getVelocity(), 200);

    // With no device to offer, the device becomes an empty name.
    selection.deviceNames.clear();
    makeRow<EPC_Choice> (PropertyId::midiDevice);
    EXPECT_EQ (note.getDevice(), "");
    EXPECT_TRUE (selection.told.empty());
}

// A value from a file that no choice holds shows, and becomes, the choice that plays the same.
TEST_F (EPC_ChoiceTests, ACorrectionKeepsWhatTheActionPlays)
{
    selection.action = &note;
    const struct
    {
        int stored, shown;
    } channels[] { { 0, 1 }, { 17, 16 }, { 255, 16 } };

    for (const auto& c : channels)
    {
        note.setChannel ((juce::uint8) c.stored);
        EXPECT_EQ (makeRow<EPC_Choice> (PropertyId::midiChannel)->getComboBox().getText(), juce::String (c.shown));
        EXPECT_EQ (note.getChannel(), c.shown);
    }

    // Any switch but 1 unmutes.
    selection.action = &mute;
    mute.setMuteSwitch (2);
    EXPECT_EQ (makeRow<EPC_Choice> (PropertyId::muteSwitch)->getComboBox().getText(), "unmute");
    EXPECT_EQ (mute.getMuteSwitch(), 0);
    EXPECT_TRUE (selection.told.empty());
}

// A row still showing the choices from before a change (another patch for the link or the
// mute, its rebuild not yet run) writes nothing that the change took away.
TEST_F (EPC_ChoiceTests, ARowBehindAChangeWritesNoChoiceThatIsGone)
{
    auto& link = *intro.getControl (2);
    selection.control = &link;
    link.setLinked (true);
    auto linkControl = makeRow<EPC_Choice> (PropertyId::linkControl);
    ASSERT_EQ (itemsOf (*linkControl), "footswitch 1, footswitch 2");
    link.setLinkPatch (2);
    choose (*linkControl, 1);
    EXPECT_EQ (link.getLinkControl(), solo.getControl (1));
    EXPECT_EQ (linkControl->getComboBox().getText(), "footswitch 1");

    selection.action = &mute;
    mute.setPatch (1);
    auto pedalRow = makeRow<EPC_Choice> (PropertyId::mutePedal);
    ASSERT_EQ (itemsOf (*pedalRow), "expr. pedal 1, expr. pedal 2");
    mute.setPatch (0);
    choose (*pedalRow, 1);
    EXPECT_EQ (mute.getPedalId(), 11);
    EXPECT_TRUE (selection.told.empty());

    // What is still offered is written as ever.
    choose (*pedalRow, 0);
    mute.setPatch (1);
    pedalRow->refresh();
    choose (*pedalRow, 1);
    EXPECT_EQ (mute.getPedalId(), 12);
    EXPECT_EQ (selection.takeTold(), std::vector<int> { (int) PropertyId::mutePedal });
}

TEST_F (EPC_ChoiceTests, IsLinkOffersWhatTheControlMayBecome)
{
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::isLink)), "yes, no");

    // Choosing "yes" links to the first plain footswitch of another patch, telling once.
    choose (*makeRow<EPC_Choice> (PropertyId::isLink), 0);
    EXPECT_EQ (footswitch.getLinkControl(), verse.getControl (1));
    EXPECT_EQ (footswitch.getStateCount(), 1);
    EXPECT_EQ (selection.takeTold(), std::vector<int> { 13 });
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::linkPatch)), "1 - Verse, 2 - Solo");
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::linkControl)), "footswitch 1, footswitch 2");

    // A control that others link to cannot become a link.
    selection.control = verse.getControl (1);
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::isLink)), "no (is linked)");

    // No other patch has a plain pedal: a pedal cannot link.
    selection.control = &pedal;
    verse.getControl (11)->setLinked (true);
    verse.getControl (12)->setLinked (true);
    EXPECT_EQ (itemsOf (*makeRow<EPC_Choice> (PropertyId::isLink)), "no (n/a)");

    // Choosing "no" makes a link a plain control with one state.
    selection.control = &footswitch;
    choose (*makeRow<EPC_Choice> (PropertyId::isLink), 1);
    EXPECT_FALSE (footswitch.isLinked());
    EXPECT_EQ (footswitch.getStateCount(), 1);
    EXPECT_EQ (selection.takeTold(), std::vector<int> { 13 });
}
