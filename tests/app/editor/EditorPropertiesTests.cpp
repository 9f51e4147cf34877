#include "fixtures/EditorRowsFixture.h"

// What each property id reads, writes and tells, through the rows.
class EditorPropertiesTests : public EditorRowsFixture
{
};

// Typed into the row's editor; the row shows what the model then holds.
TEST_F (EditorPropertiesTests, TextRowsWriteTheirFieldShowTheResultAndTellTheEditor)
{
    selection.action = &sysexContinuous;
    const struct
    {
        PropertyId id;
        juce::String typed, shown;
        std::function<juce::String()> field;
    } cases[] {
        { PropertyId::patchName, "Solo 2", "Solo 2", [&] { return intro.getName(); } },
        { PropertyId::patchComment, "a\nb", "a\nb", [&] { return intro.getComment(); } },
        { PropertyId::controlLabel, "Lead", "Lead", [&] { return footswitch.getOwnLabel(); } },
        { PropertyId::controlTarget, "Synth", "Synth", [&] { return footswitch.getOwnTarget(); } },
        { PropertyId::stateLabel, "On", "On", [&] { return actions.getLabel(); } },
        { PropertyId::actionComment, "pad", "pad", [&] { return sysexContinuous.getComment(); } },
        { PropertyId::sysexSequence, "41 * 7F", "41 * 7f", [&] { return sysexContinuous.getSequence(); } },
        { PropertyId::sysexSequence, "F0 41", "41 * 7f", [&] { return sysexContinuous.getSequence(); } },
        { PropertyId::sysexMaxValue, "500", "127", [&] { return juce::String (sysexContinuous.getMaxValue()); } },
        { PropertyId::sysexMinValue, "12abc", "12", [&] { return juce::String (sysexContinuous.getMinValue()); } },
        { PropertyId::sysexMinValue, "abc", "0", [&] { return juce::String (sysexContinuous.getMinValue()); } },
    };

    for (const auto& c : cases)
    {
        auto row = makeRow<EPC_Text> (c.id);
        row->addToDesktop (0);    // its editor takes the keyboard focus, which needs a row on the screen
        row->setVisible (true);
        auto& label = dynamic_cast<juce::Label&> (*row->getChildComponent (0));
        label.showEditor();
        label.getCurrentTextEditor()->setText (c.typed);
        label.hideEditor (false);
        EXPECT_EQ (c.field(), c.shown) << c.typed;
        EXPECT_EQ (label.getText(), c.shown);
        EXPECT_EQ (selection.takeTold(), std::vector<int> { (int) c.id });
    }
}

TEST_F (EditorPropertiesTests, ChoiceRowsWriteTheValueOfTheChoiceAndTellTheEditor)
{
    const struct
    {
        PropertyId id;
        VlAction* action;
        int index, stored;
    } cases[] {
        { PropertyId::patchLevel, nullptr, 5, 5 },
        { PropertyId::initState, nullptr, 1, 1 },
        { PropertyId::initValue, nullptr, 64, 64 },
        { PropertyId::executeAt, &ccFixed, 1, 0 },
        { PropertyId::executeAt, &programChange, 1, 0 },
        { PropertyId::goToPatch, &goTo, 2, 2 },
        { PropertyId::mutePatch, &mute, 1, 1 },
        { PropertyId::mutePedal, &mute, 1, 12 },
        { PropertyId::muteSwitch, &mute, 1, 0 },
        { PropertyId::midiChannel, &note, 15, 16 },
        { PropertyId::midiDevice, &note, 2, 2 },
        { PropertyId::sysexDevice, &sysexFixed, 2, 2 },
        { PropertyId::datumSize, &sysexContinuous, 1, 2 },
        { PropertyId::program, &programChange, 100, 100 },
        { PropertyId::ccValue, &ccFixed, 7, 7 },
        { PropertyId::ccMinValue, &ccContinuous, 10, 10 },
        { PropertyId::ccMaxValue, &ccContinuous, 0, 11 },
        { PropertyId::controller, &ccContinuous, 74, 74 },
        { PropertyId::velocity, &note, 127, 127 },
        { PropertyId::noteNumber, &note, 60, 60 },
    };

    for (const auto& c : cases)
    {
        selection.action = c.action;
        auto row = makeRow<EPC_Choice> (c.id);
        selection.takeTold();
        choose (*row, c.index);
        EXPECT_EQ (EditorProperties::getValue (selection, (int) c.id), c.stored) << (int) c.id;
        EXPECT_EQ (row->getIndex(), c.index);
        EXPECT_EQ (selection.takeTold(), std::vector<int> { (int) c.id });
    }

    EXPECT_EQ (intro.getLevel(), 5);
    EXPECT_EQ (note.getDevice(), "Other");
    EXPECT_EQ (mute.getPatch(), &verse);
}

TEST_F (EditorPropertiesTests, WithoutItsObjectARowReadsEmptyAndWritesNothing)
{
    // An action of another class than the id names counts as missing.
    for (int id : { 7, 8, 9, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31 })
    {
        selection.action = id == (int) PropertyId::goToPatch ? (VlAction*) &note : &goTo;
        EXPECT_EQ (EditorProperties::getText (selection, id), "");
        EXPECT_FALSE (EditorProperties::getValue (selection, id).has_value()) << id;
        EXPECT_FALSE (EditorProperties::setText (selection, id, "1") || EditorProperties::setValue (selection, id, 1))
            << id;
    }

    selection.control = nullptr;
    selection.state = nullptr;
    selection.action = nullptr;
    engine.clear();

    for (int id = 1; id <= 41; ++id)
    {
        if ((id >= 32 && id <= 37) || id == 41)
            continue;    // the navigation rows edit the engine, which is never missing

        EXPECT_EQ (EditorProperties::getText (selection, id), "");
        EXPECT_FALSE (EditorProperties::getValue (selection, id).has_value());
        EXPECT_EQ (EditorProperties::getColor (selection, id), 0u);
        EXPECT_FALSE (EditorProperties::setText (selection, id, "1") || EditorProperties::setValue (selection, id, 1)
                      || EditorProperties::setColor (selection, id, 1))
            << id;
    }

    auto text = makeRow<EPC_Text> (PropertyId::actionComment);
    text->setText ("typed");
    EXPECT_EQ (dynamic_cast<juce::Label*> (text->getChildComponent (0))->getText(), "");
    auto choice = makeRow<EPC_Choice> (PropertyId::executeAt);
    choose (*choice, 1);
    EXPECT_EQ (choice->getComboBox().getSelectedId(), 0);
    EXPECT_TRUE (selection.told.empty());
}

TEST_F (EditorPropertiesTests, ColourIdsEditTheirObjectInTheirLibrary)
{
    const struct
    {
        PropertyId id;
        const ColorSet& library;
        std::function<juce::uint32()> field;
    } cases[] {
        { PropertyId::patchColor, engine.getPatchColors(), [&] { return intro.getColor(); } },
        { PropertyId::controlColor, engine.getControlColors(), [&] { return footswitch.getOwnColor(); } },
        { PropertyId::stateColor, engine.getStateColors(), [&] { return actions.getColor(); } },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (EditorProperties::getColorSet (selection, (int) c.id), &c.library);
        ASSERT_TRUE (EditorProperties::setColor (selection, (int) c.id, 0xff123456));
        EXPECT_EQ (c.field(), 0xff123456u);
        EXPECT_EQ (EditorProperties::getColor (selection, (int) c.id), 0xff123456u);
    }

    // A link shows the control at the end of its chain, and is written itself.
    footswitch.setLabel ("Own");
    selection.control = &addLink (verse, 3, 0, 1);
    selection.control->resolveLink();
    EXPECT_EQ (EditorProperties::getColor (selection, (int) PropertyId::controlColor), 0xff123456u);
    EXPECT_EQ (EditorProperties::getText (selection, (int) PropertyId::controlLabel), "Own");
    EditorProperties::setText (selection, (int) PropertyId::controlLabel, "Mine");
    EXPECT_EQ (selection.control->getOwnLabel(), "Mine");
    EXPECT_EQ (footswitch.getOwnLabel(), "Own");
}

TEST_F (EditorPropertiesTests, EveryRowAndItsEditorShowTheHelpTextOfItsId)
{
    auto name = makeRow<EPC_Text> (PropertyId::patchName);
    EXPECT_EQ (name->getTooltip(), "This text identifies the patch in the main window list.");
    EXPECT_EQ (dynamic_cast<juce::Label*> (name->getChildComponent (0))->getTooltip(), name->getTooltip());

    for (auto id : { PropertyId::midiDevice, PropertyId::sysexDevice })
        EXPECT_EQ (makeRow<EPC_Choice> (id)->getComboBox().getTooltip(),
                   "This is the MIDI device that will receive the message.");

    EXPECT_TRUE (
        EditorProperties::getTooltip (41).startsWith ("This is the color used to paint the 'navigation' controls."));
    EXPECT_EQ (std::make_unique<EPC_Text> (selection, "x", 3, -1, 0)->getTooltip(), "");
}
