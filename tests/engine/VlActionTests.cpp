#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamCCFixed.h"
#include "engine/VlamNote.h"
#include "engine/VlamProgramChange.h"

#include <gtest/gtest.h>

// Every action's own element: exact attributes in order, round trips, required
// attributes, names read without regard to case, and the factory of state children.
namespace
{
    std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
    {
        auto xml = juce::parseXML (text);
        jassert (xml != nullptr);
        return xml;
    }

    juce::String written (const VlAction& action)
    {
        return action.createXml()->toString (juce::XmlElement::TextFormat().withoutHeader().singleLine());
    }

    // Reads the element into the action the factory makes for it and writes it back.
    juce::String roundTrip (const juce::String& text, bool footswitch)
    {
        auto xml = parse (text);
        auto action = VlAction::createForTag (xml->getTagName(), footswitch);

        if (action == nullptr || ! action->loadFromXml (*xml, 0))
            return "refused";

        return written (*action);
    }
}

TEST (VlActionTests, WritesEveryKindWithItsAttributesInOrder)
{
    const juce::StringArray elements {
        R"(<goto comment="c" patch="65535"/>)",
        R"(<mute comment="" patch="65535" pedal="-1" switch="1"/>)",
        R"(<note comment="" device="???" channel="1" number="0" velocity="100"/>)",
        R"(<pc comment="" device="???" channel="1" stage="1" program="0"/>)",
        R"(<sysex comment="" device="???" sequence="" stage="1"/>)",
    };

    VlaGoTo goTo;
    goTo.setComment ("c");

    EXPECT_EQ (written (goTo), elements[0]);
    EXPECT_EQ (written (VlaMute()), elements[1]);
    EXPECT_EQ (written (VlamNote()), elements[2]);
    EXPECT_EQ (written (VlamProgramChange()), elements[3]);
    EXPECT_EQ (written (VlaSysExFixed()), elements[4]);
    EXPECT_EQ (written (VlamCCFixed()), R"(<cc comment="" device="???" channel="1" controller="0" stage="1" value="0"/>)");
    EXPECT_EQ (written (VlamCCContinuos()), R"(<cc comment="" device="???" channel="1" controller="0" min_value="0" max_value="127"/>)");
    EXPECT_EQ (written (VlaSysExContinuos()),
               R"(<sysex comment="" device="???" sequence="" datum_size="1" min_value="0" max_value="127"/>)");
}

TEST (VlActionTests, ReadsBackWhatItWrote)
{
    for (auto [text, footswitch] : {
             std::pair { R"(<note comment="low E" device="Synth A" channel="16" number="40" velocity="127"/>)", true },
             std::pair { R"(<cc comment="" device="B" channel="2" controller="7" stage="0" value="99"/>)", true },
             std::pair { R"(<cc comment="" device="B" channel="3" controller="11" min_value="100" max_value="20"/>)", false },
             std::pair { R"(<pc comment="" device="C" channel="9" stage="0" program="127"/>)", true },
             std::pair { R"(<sysex comment="" device="D" sequence="41 10 $  40 =" stage="0"/>)", true },
             std::pair { R"(<sysex comment="" device="D" sequence="41 * 10" datum_size="2" min_value="5" max_value="9000"/>)", false },
         })
        EXPECT_EQ (roundTrip (text, footswitch), text);
}

TEST (VlActionTests, ReadsNamesWhateverTheirCaseAndNonNumbersAsZero)
{
    EXPECT_EQ (roundTrip (R"(<NOTE Comment="" DEVICE="x" channel="1" Number="abc" velocity="300"/>)", true),
               R"(<note comment="" device="x" channel="1" number="0" velocity="44"/>)");
}

TEST (VlActionTests, AMissingAttributeFailsTheRead)
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
        EXPECT_EQ (roundTrip (text, true), "refused") << text;

    EXPECT_EQ (roundTrip (R"(<cc comment="" device="x" channel="1" controller="1" min_value="0"/>)", false), "refused");
    EXPECT_EQ (roundTrip (R"(<sysex comment="" device="x" sequence="" min_value="0"/>)", false), "refused");
}

TEST (VlActionTests, ContinuousSysExTakesOnlyADatumSizeOfOneOrTwo)
{
    EXPECT_EQ (roundTrip (R"(<sysex comment="" device="x" sequence="41 *" min_value="0" max_value="1"/>)", false),
               R"(<sysex comment="" device="x" sequence="41 *" datum_size="1" min_value="0" max_value="1"/>)");
    EXPECT_EQ (roundTrip (R"(<sysex comment="" device="x" sequence="*" datum_size="7" min_value="0" max_value="1"/>)", false),
               R"(<sysex comment="" device="x" sequence="*" datum_size="1" min_value="0" max_value="1"/>)");

    auto xml = parse (R"(<sysex comment="" device="x" sequence="41 * 10" datum_size="2" min_value="0" max_value="1"/>)");
    VlaSysExContinuos action;
    ASSERT_TRUE (action.loadFromXml (*xml, 0));
    EXPECT_EQ (action.getBytes(), (std::vector<juce::uint8> { 0x41, 0xff, 0xff, 0x10 }));
}

TEST (VlActionTests, ARefusedSequenceFromAFileIsKeptAsText)
{
    const auto text = R"(<sysex comment="" device="x" sequence="F0 41 f7" stage="1"/>)";
    EXPECT_EQ (roundTrip (text, true), text);

    auto xml = parse (text);
    VlaSysExFixed action;
    ASSERT_TRUE (action.loadFromXml (*xml, 0));
    EXPECT_TRUE (action.getBytes().empty());
}

TEST (VlActionTests, FactoryMakesTheKindOfTheControl)
{
    const auto kindOf = [] (const char* tag, bool footswitch) -> juce::String
    {
        auto action = VlAction::createForTag (tag, footswitch);
        return action == nullptr ? "none" : action->getTypeName() + (dynamic_cast<VlExecutionStage*> (action.get()) ? " staged" : "");
    };

    EXPECT_EQ (kindOf ("goto", true), "go to patch");
    EXPECT_EQ (kindOf ("Mute", true), "mute expr. pedal");
    EXPECT_EQ (kindOf ("pc", true), "midi program change staged");
    EXPECT_EQ (kindOf ("note", true), "midi note");
    EXPECT_EQ (kindOf ("cc", true), "midi control change staged");
    EXPECT_EQ (kindOf ("CC", false), "midi control change");
    EXPECT_EQ (kindOf ("sysex", true), "midi sysex staged");
    EXPECT_EQ (kindOf ("sysex", false), "midi sysex");

    for (auto tag : { "goto", "mute", "pc", "note", "foo" })
        EXPECT_EQ (kindOf (tag, false), "none") << tag;
}

TEST (VlActionTests, ClonesAreIndependentCopiesOfTheSameKind)
{
    VlamCCFixed original;
    original.setComment ("x");
    original.setStage (0);
    original.setValue (5);

    auto clone = original.clone();
    auto& copy = dynamic_cast<VlamCCFixed&> (*clone);
    EXPECT_EQ (written (copy), written (original));

    copy.setValue (6);
    EXPECT_EQ (original.getValue(), 5);
}
