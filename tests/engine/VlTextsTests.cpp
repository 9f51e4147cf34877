#include "engine/VlTexts.h"
#include "fixtures/EngineFixture.h"

// The names of patches, controls and states in lists and messages.
class VlTextsTests : public EngineFixture
{
};

TEST_F (VlTextsTests, NamesPatchesByPositionAndName)
{
    addPatch ("Intro");
    addPatch ("Solo");
    juce::String text ("unchanged");

    EXPECT_TRUE (VlTexts::getPatchText (engine, 1, text));
    EXPECT_EQ (text, "1. Solo");

    EXPECT_FALSE (VlTexts::getPatchText (engine, 2, text));
    EXPECT_FALSE (VlTexts::getPatchText (engine, -1, text));
    EXPECT_EQ (text, "1. Solo");
}

TEST_F (VlTextsTests, NamesControlsByKindAndNumber)
{
    juce::StringArray names;

    for (int id : { 1, 10, 11, 12, 13, 0 })
    {
        juce::String text;
        VlTexts::getControlText (id, text);
        names.add (text);
    }

    EXPECT_EQ (names.joinIntoString (","), "footswitch 1,footswitch 10,expr. pedal 1,expr. pedal 2,footswitch 13,footswitch 0");

    auto& patch = addPatch();
    addControl (patch, 4);
    addControl (patch, 12);
    juce::String text ("unchanged");

    EXPECT_TRUE (VlTexts::getControlRowText (patch, 1, text));
    EXPECT_EQ (text, "expr. pedal 2");
    EXPECT_FALSE (VlTexts::getControlRowText (patch, 2, text));
    EXPECT_EQ (text, "expr. pedal 2");
}

TEST_F (VlTextsTests, NamesStatesFromOne)
{
    auto& patch = addPatch();
    auto& control = addControl (patch, 2, 2);
    juce::String text ("unchanged");

    EXPECT_TRUE (VlTexts::getStateText (control, 1, text));
    EXPECT_EQ (text, "#2");
    EXPECT_FALSE (VlTexts::getStateText (control, 2, text));
    EXPECT_EQ (text, "#2");
}
