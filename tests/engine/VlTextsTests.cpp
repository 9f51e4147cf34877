#include "engine/VlTexts.h"
#include "fixtures/EngineFixture.h"

using VlTextsTests = EngineFixture;

TEST_F (VlTextsTests, NamePatchesControlsAndStatesOrLeaveTheTextAlone)
{
    addPatch ("Intro");
    auto& patch = addPatch ("Solo");
    auto& control = addControl (patch, 4, 2);
    addControl (patch, 12);
    juce::String text ("unchanged");

    EXPECT_FALSE (VlTexts::getPatchText (engine, 2, text));
    EXPECT_FALSE (VlTexts::getControlRowText (patch, 2, text));
    EXPECT_FALSE (VlTexts::getStateText (control, 2, text));
    EXPECT_EQ (text, "unchanged");

    EXPECT_TRUE (VlTexts::getPatchText (engine, 1, text) && text == "1. Solo");
    EXPECT_TRUE (VlTexts::getControlText (10, text) && text == "footswitch 10");
    EXPECT_TRUE (VlTexts::getControlRowText (patch, 1, text) && text == "expr. pedal 2");
    EXPECT_TRUE (VlTexts::getStateText (control, 1, text) && text == "#2");
}
