#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamCCFixed.h"
#include "engine/VlamNote.h"
#include "engine/VlamProgramChange.h"

#include <gtest/gtest.h>

// Every action's own element: the attributes in order, odd input, required
// attributes, names without regard to case, and the factory of a state's children.
namespace
{
    juce::String written (const VlAction& action)
    {
        return action.createXml()->toString (juce::XmlElement::TextFormat().withoutHeader().singleLine());
    }

    // The element read into the action the factory makes for it, then written back.
    juce::String roundTrip (const juce::String& text, bool footswitch = true)
    {
        auto xml = juce::parseXML (text);
        auto action = VlAction::createForTag (xml->getTagName(), footswitch);
        return action != nullptr && action->loadFromXml (*xml, 0) ? written (*action) : juce::String ("refused");
    }
}

TEST (VlActionTests, NewActionsWriteTheirDefaultsInOrder)
{
    EXPECT_EQ (written (VlaGoTo()), R"(<goto comment="" patch="65535"/>)");
    EXPECT_EQ (written (VlaMute()), R"(<mute comment="" patch="65535" pedal="-1" switch="1"/>)");
    EXPECT_EQ (written (VlamNote()), R"(<note comment="" device="???" channel="1" number="0" velocity="100"/>)");
    EXPECT_EQ (written (VlamProgramChange()), R"(<pc comment="" device="???" channel="1" stage="1" program="0"/>)");
    EXPECT_EQ (written (VlamCCFixed()),
               R"(<cc comment="" device="???" channel="1" controller="0" stage="1" value="0"/>)");
    EXPECT_EQ (written (VlamCCContinuos()),
               R"(<cc comment="" device="???" channel="1" controller="0" min_value="0" max_value="127"/>)");
    EXPECT_EQ (written (VlaSysExFixed()), R"(<sysex comment="" device="???" sequence="" stage="1"/>)");
    EXPECT_EQ (written (VlaSysExContinuos()),
               R"(<sysex comment="" device="???" sequence="" datum_size="1" min_value="0" max_value="127"/>)");
}

// Plain round trips are the document fuzzer's; these are the reads that change or keep odd input.
TEST (VlActionTests, ReadsNamesInAnyCaseKeepsValuesInRangeAndARefusedSequenceText)
{
    const auto refused = R"(<sysex comment="" device="D" sequence="F0 41 f7" stage="1"/>)";
    EXPECT_EQ (roundTrip (refused), refused);
    EXPECT_EQ (roundTrip (R"(<NOTE Comment="" DEVICE="x" channel="1" Number="abc" velocity="300"/>)"),
               R"(<note comment="" device="x" channel="1" number="0" velocity="44"/>)");
    EXPECT_EQ (
        roundTrip (R"(<sysex comment="" device="x" sequence="*" datum_size="7" min_value="0" max_value="1"/>)", false),
        R"(<sysex comment="" device="x" sequence="*" datum_size="1" min_value="0" max_value="1"/>)");
}

TEST (VlActionTests, AMissingAttributeFailsTheReadAndTheSequenceIsParsedWithTheDatumSizeRead)
{
    for (auto text : {
             R"(<note device="x" channel="1" number="1" velocity="1"/>)",
             R"(<note comment="" channel="1" number="1" velocity="1"/>)",
             R"(<note comment="" device="x" channel="1" number="1"/>)",
             R"(<cc comment="" device="x" channel="1" controller="1" value="1"/>)",
             R"(<pc comment="" device="x" channel="1" stage="1"/>)",
             R"(<mute comment="" patch="1" pedal="11"/>)",
             R"(<goto comment=""/>)",
             R"(<sysex comment="" device="x" stage="1"/>)",
         })
        EXPECT_EQ (roundTrip (text), "refused") << text;
    EXPECT_EQ (roundTrip (R"(<cc comment="" device="x" channel="1" controller="1" min_value="0"/>)", false), "refused");
    EXPECT_EQ (roundTrip (R"(<sysex comment="" device="x" sequence="" min_value="0"/>)", false), "refused");

    // The sequence is parsed with the datum size read; a refused one sends nothing.
    auto xml = juce::parseXML (
        R"(<sysex comment="" device="x" sequence="41 * 10" datum_size="2" min_value="0" max_value="1"/>)");
    VlaSysExContinuos action;
    ASSERT_TRUE (action.loadFromXml (*xml, 0));
    EXPECT_EQ (action.getBytes(), (std::vector<juce::uint8> { 0x41, 0xff, 0xff, 0x10 }));
    VlaSysExFixed refused;
    refused.loadFromXml (*juce::parseXML (R"(<sysex comment="" device="x" sequence="80" stage="1"/>)"), 0);
    EXPECT_TRUE (refused.getBytes().empty());
}

TEST (VlActionTests, FactoryMakesTheKindOfTheControl)
{
    const auto kindOf = [] (const char* tag, bool footswitch) -> juce::String {
        auto action = VlAction::createForTag (tag, footswitch);
        return action == nullptr
                   ? "none"
                   : action->getElementName() + (dynamic_cast<VlExecutionStage*> (action.get()) ? "+" : "");
    };
    juce::StringArray kinds;
    for (auto tag : { "goto", "Mute", "pc", "note", "CC", "sysex", "foo" })
        kinds.add (kindOf (tag, true) + "/" + kindOf (tag, false));
    EXPECT_EQ (kinds.joinIntoString (" "), "goto/none mute/none pc+/none note/none cc+/cc sysex+/sysex none/none");
}

namespace
{
    // Rows as "id label" for choices, "id label chars[xheight]" for text rows, comma separated.
    template <typename Owner>
    juce::String rowsOf (const Owner& action)
    {
        VlPropertyRows rows;
        action.addProperties (rows);
        juce::StringArray items;

        for (const auto& row : rows)
            items.add (juce::String ((int) row.id) + " " + row.label
                       + (row.kind != VlPropertyRow::Kind::text ? "" : " " + juce::String (row.maxChars))
                       + (row.multiLineHeight != -1 ? "x" + juce::String (row.multiLineHeight) : ""));

        return items.joinIntoString (", ");
    }
}

TEST (VlActionTests, EveryActionDescribesItsEditorRowsBaseFirst)
{
    EXPECT_EQ (rowsOf (VlaGoTo()), "6 comment 1024x75, 17 patch");
    EXPECT_EQ (rowsOf (VlaMute()), "6 comment 1024x75, 18 patch, 19 pedal, 20 action");
    EXPECT_EQ (rowsOf (VlamNote()), "6 comment 1024x75, 22 device, 21 channel, 31 number, 30 velocity");
    EXPECT_EQ (rowsOf (VlamCCFixed()),
               "6 comment 1024x75, 22 device, 21 channel, 29 controller, 16 execute at, 26 value");
    EXPECT_EQ (rowsOf (VlamCCContinuos()),
               "6 comment 1024x75, 22 device, 21 channel, 29 controller, 27 min value, 28 max value");
    EXPECT_EQ (rowsOf (VlamProgramChange()), "6 comment 1024x75, 22 device, 21 channel, 16 execute at, 25 program");
    EXPECT_EQ (rowsOf (VlaSysExFixed()), "6 comment 1024x75, 23 device, 7 sequence 1024x150, 16 execute at");

    VlaSysExContinuos continuous;
    EXPECT_EQ (rowsOf (continuous),
               "6 comment 1024x75, 23 device, 7 sequence 1024x150, 24 datum size, 8 min value 3, 9 max value 3");
    continuous.setDatumSize (2);
    EXPECT_EQ (rowsOf (continuous),
               "6 comment 1024x75, 23 device, 7 sequence 1024x150, 24 datum size, 8 min value 5, 9 max value 5");

    // Reached through the stage base, an action still gives all of its rows.
    EXPECT_EQ (rowsOf<VlExecutionStage> (VlamProgramChange()), rowsOf (VlamProgramChange()));
}
