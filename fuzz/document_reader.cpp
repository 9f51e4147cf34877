// Any bytes as a ".vlt" file, opened the way the application opens one: the document's guarded
// XML read and frame checks, then the engine's staged load, its load checks and the start of
// playing, on outputs that check every message they are handed. Then:
//   - a refused file leaves the document exactly as it was;
//   - a document that was read is written, read again and written again to the same text;
//   - merging it into itself works too, and the footswitches and pedals play it.

#include "app/VlDocument.h"
#include "engine/VlEngine.h"
#include "fixtures/FakePrompts.h"
#include "fuzz/CheckingMidiPorts.h"
#include "fuzz/FileFuzzing.h"
#include "fuzz/Require.h"

namespace
{
    struct Rig
    {
        juce::ScopedJuceInitialiser_GUI juce;
        FakePrompts prompts;    // the load checks' boxes, recorded instead of shown
        VlEngine engine { std::make_unique<CheckingMidiPorts> (juce::StringArray { "Synth", "Effects", "???" }) };
        VlDocument document { engine, nullptr };
        juce::TemporaryFile file { ".vlt" };
    };

    bool open (Rig& rig, bool merging)
    {
        rig.document.isMerging = merging;
        const auto ok = rig.document.loadDocument (rig.file.getFile()).wasOk();
        rig.document.isMerging = false;
        require (rig.engine.getMode() == ModePlay);
        return ok;
    }

    void play (VlEngine& engine)
    {
        for (int footswitch = 1; footswitch <= 10; ++footswitch)
        {
            engine.onFootswitch (footswitch, true);
            engine.onFootswitch (footswitch, false);
        }

        for (const auto value : { 127, 0, 64 })
            for (const auto pedal : { FirstPedalId, SecondPedalId })
                engine.onPedalValue (pedal, (juce::uint8) value);

        // Navigation mode, if a footswitch went there, plays no patch.
        engine.setMode (ModePlay);
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    prepareFileFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static Rig rig;

    // Every input starts from the default document, as after New.
    rig.engine.clear();
    rig.engine.newDocument();
    rig.prompts.prompts.clear();

    const auto before = rig.document.createDocumentText();
    require (rig.file.getFile().replaceWithData (data, size));

    if (! open (rig, false))
    {
        require (rig.document.createDocumentText() == before);
        return 0;
    }

    const auto saved = rig.document.createDocumentText();
    require (rig.file.getFile().replaceWithText (saved, false, false, "\n"));
    require (open (rig, false));
    require (rig.document.createDocumentText() == saved);
    play (rig.engine);

    const auto numPatches = rig.engine.getNumPatches();
    require (open (rig, true));
    require (rig.engine.getNumPatches() == 2 * numPatches);
    play (rig.engine);
    return 0;
}
