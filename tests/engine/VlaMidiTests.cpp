#include "engine/VlamCCContinuos.h"
#include "engine/VlamCCFixed.h"
#include "engine/VlamNote.h"
#include "engine/VlamProgramChange.h"
#include "fixtures/EngineFixture.h"

// The bytes every MIDI action sends, through the engine to the virtual output "Synth".
class VlaMidiTests : public EngineFixture
{
protected:
    VlControlState state;

    void SetUp() override { openSynth(); }

    // The bytes sent when the action runs with each of the values.
    std::vector<MidiBytes> sweep (VlAction& action, std::initializer_list<int> values)
    {
        for (auto v : values)
            action.execute ((juce::uint8) v);
        return takeSent();
    }
};

TEST_F (VlaMidiTests, NoteSoundsFromPressToReleaseAndFixedMessagesAtTheirStageWithDataBytesKeptToSevenBits)
{
    auto& note = addAction<VlamNote> (state);
    note.setChannel (3);
    note.setNumber (60);
    note.setVelocity (90);
    EXPECT_EQ (sweep (note, { 1, 0 }), (std::vector<MidiBytes> { { 0x92, 60, 90 }, { 0x82, 60, 0 } }));

    // Values a file may hold: channel 0 is 1, note 200 keeps its low 7 bits, velocity 250 is 127.
    note.setChannel (0);
    note.setNumber (200);
    note.setVelocity (250);
    EXPECT_EQ (sweep (note, { 1 }), (std::vector<MidiBytes> { { 0x90, 200 & 0x7f, 127 } }));
    note.setDevice ("Nowhere");
    EXPECT_TRUE (sweep (note, { 1 }).empty());

    // Fixed control change and program change run only at their stage.
    auto& cc = addAction<VlamCCFixed> (state);
    cc.setController (7);
    cc.setValue (99);
    cc.setStage (0);
    auto& pc = addAction<VlamProgramChange> (state);
    pc.setChannel (40);
    pc.setProgram (140);
    EXPECT_EQ (sweep (cc, { 1, 0 }), (std::vector<MidiBytes> { { 0xb0, 7, 99 } }));
    EXPECT_EQ (sweep (pc, { 1, 0 }), (std::vector<MidiBytes> { { 0xcf, 140 & 0x7f } }));
    cc.setStage (2);    // a stored stage that is neither press nor release never runs
    EXPECT_TRUE (sweep (cc, { 1, 0 }).empty());
}

TEST_F (VlaMidiTests, ContinuousControlChangeMapsMinToMaxRoundingToNearest)
{
    auto& cc = addAction<VlamCCContinuos> (state);
    engine.setMode (ModeEditing);    // sends every value, changed or not
    const auto valuesFor = [&] (int minValue, int maxValue, std::initializer_list<int> positions) {
        cc.setMinValue ((juce::uint8) minValue);
        cc.setMaxValue ((juce::uint8) maxValue);
        std::vector<int> values;
        for (auto& bytes : sweep (cc, positions))
            values.push_back (bytes[2]);
        return values;
    };
    EXPECT_EQ (valuesFor (0, 127, { 0, 5, 127 }), (std::vector<int> { 0, 5, 127 }));
    EXPECT_EQ (valuesFor (0, 100, { 32, 63, 64, 100, 127 }), (std::vector<int> { 25, 50, 50, 79, 100 }));
    EXPECT_EQ (valuesFor (20, 40, { 1, 63, 126 }), (std::vector<int> { 20, 30, 40 }));
    EXPECT_EQ (valuesFor (100, 20, { 1, 63, 127 }), (std::vector<int> { 99, 60, 20 }));
    EXPECT_EQ (valuesFor (200, 255, { 0, 127 }), (std::vector<int> { 127, 127 }));    // from a file: kept to 127
    EXPECT_EQ (valuesFor (0, 127, { 200 }), (std::vector<int> { 127 }));              // an initial value above 127
}

TEST_F (VlaMidiTests, ContinuousControlChangeSkipsAnUnchangedValueOutsideModesFiveAndSix)
{
    auto& cc = addAction<VlamCCContinuos> (state);
    cc.setMaxValue (100);
    EXPECT_EQ (sweep (cc, { 63, 64 }), (std::vector<MidiBytes> { { 0xb0, 0, 50 } }));

    // A fresh copy has "sent" 0: a first value mapping to 0 goes out only in modes 5 and 6.
    auto copy = cc.clone();
    EXPECT_TRUE (sweep (*copy, { 0 }).empty());
    for (auto mode : { ModeInitialising, ModeEditing })
    {
        engine.setMode (mode);
        EXPECT_EQ (sweep (cc, { 63, 64 }).size(), 2u);
    }
}
