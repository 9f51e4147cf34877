#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "fixtures/EngineFixture.h"

// The sequence parser with its rebuilt text, the checksum, and the bytes sent.
class VlaSysExTests : public EngineFixture
{
protected:
    VlControlState state;
    VlaSysExFixed& fixed = addAction<VlaSysExFixed> (state);
    VlaSysExContinuos& continuous = addAction<VlaSysExContinuos> (state);

    void SetUp() override { openSynth(); }

    static juce::String ones (int n) { return juce::String::repeatedString ("01 ", n); }

    static juce::String normalised (VlaSysEx& action, const juce::String& text)
    {
        EXPECT_FALSE (action.parseSequence (text)) << text;
        return action.getSequence();
    }

    MidiBytes sent (VlAction& action, int value)
    {
        action.execute ((juce::uint8) value);
        auto messages = takeSent();
        return messages.size() == 1 ? messages.front() : MidiBytes {};
    }
};

TEST_F (VlaSysExTests, RebuildsTheTextInItsNormalFormAndRefusedTextsChangeNothing)
{
    EXPECT_EQ (normalised (fixed, "41 10 42 12 $ 40 00 7F 00 ="), "41 10 42 12 $  40 00 7f 00 =");
    EXPECT_EQ (normalised (fixed, "41\tzz 10\r\n1G  141 0x7 7F"), "41 10 7f");
    EXPECT_EQ (normalised (fixed, "* 41 * 5"), "41 05");    // a fixed action has no value slot
    EXPECT_EQ (normalised (fixed, "41 $ = 10"), "41 $  = 10");
    EXPECT_EQ (normalised (fixed, "41 10 $"), "41 10");    // a "$" after the last byte is not written
    EXPECT_EQ (normalised (continuous, "43 10 4C 00 00 0B *"), "43 10 4c 00 00 0b *");

    // Refused texts change nothing.
    normalised (continuous, "41 * 10");
    for (auto refused : { "", "F0 41", "80", "41 * 10 *", "$ 41 $", "= 41 =" })
    {
        EXPECT_TRUE (continuous.parseSequence (refused)) << refused;
        EXPECT_EQ (continuous.getSequence(), "41 * 10");
        EXPECT_EQ (continuous.getBytes(), (std::vector<juce::uint8> { 0x41, 0xff, 0x10 }));
    }
    const auto longest = ones (65534);
    EXPECT_FALSE (fixed.parseSequence (longest));
    EXPECT_TRUE (fixed.parseSequence (longest + "="));
    EXPECT_EQ (fixed.getBytes().size(), 65534u);
}

TEST_F (VlaSysExTests, FixedActionSendsItsBytesWithTheRolandChecksumAtItsStage)
{
    normalised (fixed, "41 10 42 12 $ 40 00 7F 00 =");
    EXPECT_EQ (sent (fixed, 0), MidiBytes {});
    EXPECT_EQ (sent (fixed, 1), (MidiBytes { 0xf0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7f, 0x00, 0x41, 0xf7 }));
    fixed.setStage (0);
    normalised (fixed, "41 10 $ 20 30 = 00");
    EXPECT_EQ (sent (fixed, 0), (MidiBytes { 0xf0, 0x41, 0x10, 0x20, 0x30, 0x30, 0x00, 0xf7 }));
    normalised (fixed, "41 $ = 10");
    EXPECT_EQ (sent (fixed, 0), (MidiBytes { 0xf0, 0x41, 0x00, 0x10, 0xf7 }));

    // Without a checksum start the byte is 0, never left at 0xff (System Reset).
    normalised (fixed, "41 12 =");
    EXPECT_EQ (sent (fixed, 0), (MidiBytes { 0xf0, 0x41, 0x12, 0x00, 0xf7 }));
    normalised (fixed, "41 = 12 $");
    EXPECT_EQ (sent (fixed, 0), (MidiBytes { 0xf0, 0x41, 0x00, 0x12, 0xf7 }));
    normalised (fixed, " ");
    EXPECT_EQ (sent (fixed, 0), (MidiBytes { 0xf0, 0xf7 }));
}

TEST_F (VlaSysExTests, ContinuousActionFillsOneOrTwoBytesBeforeTheChecksumOnlyWhenChanged)
{
    normalised (continuous, "41 $ * 10 =");
    EXPECT_EQ (sent (continuous, 0x30), (MidiBytes { 0xf0, 0x41, 0x30, 0x10, 0x40, 0xf7 }));
    continuous.setDatumSize (2);
    continuous.setMaxValue (12700);    // 200 at position 2
    normalised (continuous, "41 * 10");
    EXPECT_EQ (sent (continuous, 2), (MidiBytes { 0xf0, 0x41, 0x01, 0x48, 0x10, 0xf7 }));

    // No data byte above 0x7f: two bytes hold at most 16383, however high the maximum.
    continuous.setMaxValue (32639);
    EXPECT_EQ (sent (continuous, 127), (MidiBytes { 0xf0, 0x41, 0x7f, 0x7f, 0x10, 0xf7 }));
    VlaSysExContinuos fromFile;
    fromFile.setDevice ("Synth");
    ASSERT_TRUE (fromFile.loadFromXml (
        *juce::parseXML (R"(<sysex comment="" device="Synth" sequence="41 *" min_value="300" max_value="900"/>)"), 0));
    EXPECT_EQ (sent (fromFile, 127), (MidiBytes { 0xf0, 0x41, 0x7f, 0xf7 }));

    // An unchanged value is skipped outside modes 5 and 6.
    EXPECT_EQ (sent (fromFile, 127), MidiBytes {});
    engine.setMode (ModeInitialising);
    EXPECT_EQ (sent (fromFile, 127), (MidiBytes { 0xf0, 0x41, 0x7f, 0xf7 }));
}

TEST_F (VlaSysExTests, SettersKeepTheLimitsOfTheDatumSizeAndASlotThatCannotWidenKeepsIt)
{
    continuous.setMinValue (500);
    EXPECT_EQ (continuous.getMinValue() * 1000 + continuous.getMaxValue(), 126127);
    continuous.setMaxValue (0);
    EXPECT_EQ (continuous.getMinValue() * 1000 + continuous.getMaxValue(), 1);
    continuous.setDatumSize (2);
    // Two 7-bit bytes carry at most 16383: a higher value would be shown but play as another.
    continuous.setMaxValue (99999);
    EXPECT_EQ (continuous.getMaxValue(), 16383);
    continuous.setMinValue (20000);
    EXPECT_EQ (continuous.getMinValue() * 100000 + continuous.getMaxValue(), 1638216383);
    continuous.setMinValue (127);
    continuous.setMaxValue (300);
    normalised (continuous, "41 * 10");
    continuous.setDatumSize (1);
    EXPECT_EQ (continuous.getMinValue() * 1000 + continuous.getMaxValue(), 126127);
    EXPECT_EQ (continuous.getBytes(), (std::vector<juce::uint8> { 0x41, 0xff, 0x10 }));

    // At the byte limit a second value byte does not fit: the text stays as it is, and so
    // does the width of the slot that it holds.
    normalised (continuous, ones (65533) + "*");
    continuous.setMaxValue (127);
    continuous.setDatumSize (2);
    EXPECT_EQ (continuous.getDatumSize(), 1);
    EXPECT_EQ (continuous.getMaxValue(), 127);
    EXPECT_EQ (continuous.getBytes().size(), 65534u);
    const auto message = sent (continuous, 127);
    ASSERT_EQ (message.size(), 65536u);
    EXPECT_EQ (message[65534], 0x7f);    // the value, never the slot's 0xff
}
