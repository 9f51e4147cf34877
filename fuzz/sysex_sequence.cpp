// Any text as the sequence of a system-exclusive action. The first byte chooses the action
// (bit 0: under a pedal, bit 1: a two-byte value slot), the second the pedal value; the rest
// is the text. Every text the parser takes:
//   - rebuilds to a text that it takes again, to the same bytes and markers (a "$" after the
//     last byte, which counts nothing, is not written), and that rebuilds to itself;
//   - sends the same messages from both actions, and no data byte above 0x7F ever, also after
//     the value slot changes its width;
//   - comes back the same through the document's element.
// A text it refuses changes nothing.

#include "engine/VlEngine.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "fuzz/CheckingMidiPorts.h"
#include "fuzz/InputText.h"
#include "fuzz/Require.h"

namespace
{
    using Messages = std::vector<std::vector<juce::uint8>>;

    struct Rig
    {
        juce::ScopedJuceInitialiser_GUI juce;    // the engine's devices start timers
        std::shared_ptr<CheckingMidiPorts::Sent> sent = std::make_shared<CheckingMidiPorts::Sent>();
        VlEngine engine { std::make_unique<CheckingMidiPorts> (juce::StringArray { "Synth" }, sent) };

        Rig()
        {
            engine.getMidiDevices().addOutput ("Synth");
            engine.getMidiDevices().updateOutputs();

            // The mode after a load: every run sends, also an unchanged value.
            engine.setMode (ModeInitialising);
            sent->keep = true;
        }
    };

    std::unique_ptr<VlaSysEx> makeAction (bool continuous, juce::uint8 datumSize)
    {
        if (! continuous)
            return std::make_unique<VlaSysExFixed>();

        auto action = std::make_unique<VlaSysExContinuos>();
        action->setDatumSize (datumSize);
        action->setMaxValue (0x7fff);    // the widest range the limits allow
        return action;
    }

    // Both stages of a footswitch, or the pedal value and its two ends.
    Messages run (Rig& rig, VlaSysEx& action, juce::uint8 pedalValue)
    {
        rig.sent->messages.clear();

        for (const auto value : { pedalValue, (juce::uint8) 0, (juce::uint8) 1, (juce::uint8) 127 })
            action.execute (value);

        return std::exchange (rig.sent->messages, {});
    }

    void requireSameMarkers (const VlaSysEx& taken, const VlaSysEx& rebuilt)
    {
        require (rebuilt.getBytes() == taken.getBytes());
        require (rebuilt.getValuePosition() == taken.getValuePosition());
        require (rebuilt.getChecksumPosition() == taken.getChecksumPosition());

        if (taken.getChecksumStart() < taken.getBytes().size())
            require (rebuilt.getChecksumStart() == taken.getChecksumStart());
        else
            require (rebuilt.getChecksumStart() == NoIndex);
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static Rig rig;

    if (size < 2)
        return 0;

    const auto continuous = (data[0] & 1) != 0;
    const auto datumSize = (juce::uint8) ((data[0] & 2) != 0 ? 2 : 1);
    const auto pedalValue = data[1];
    const auto text = inputText (data + 2, size - 2);

    auto action = makeAction (continuous, datumSize);
    action->setDevice ("Synth");

    if (action->parseSequence (text))
    {
        require (action->getSequence().isEmpty() && action->getBytes().empty());
        return 0;
    }

    const auto& normal = action->getSequence();
    auto rebuilt = makeAction (continuous, datumSize);
    rebuilt->setDevice ("Synth");

    // The empty normal form is the empty sequence, which a document keeps as such.
    if (normal.isEmpty())
        require (action->getBytes().empty());
    else
        require (! rebuilt->parseSequence (normal) && rebuilt->getSequence() == normal);

    requireSameMarkers (*action, *rebuilt);

    const auto element = action->createXml();
    auto reread = makeAction (continuous, 1);
    require (reread->loadFromXml (*element, 0));
    require (reread->getSequence() == normal);
    requireSameMarkers (*action, *reread);

    // Running fills the value slot and the checksum: compared last.
    require (run (rig, *action, pedalValue) == run (rig, *rebuilt, pedalValue));

    if (continuous)
    {
        auto& pedal = static_cast<VlaSysExContinuos&> (*action);
        pedal.setDatumSize (datumSize == 1 ? 2 : 1);
        run (rig, pedal, pedalValue);
    }

    return 0;
}
