// Footswitches pressed and released at random, overlapping, with navigation and choices in
// the patch list between: whenever every footswitch is up, no note is left sounding, and no
// note-off ever comes without its note-on. VELTRINO_HOLD_SEED and VELTRINO_HOLD_STEPS (or
// VELTRINO_HOLD_SECONDS) change the run, e.g. for ten minutes with a seed of your own:
//   VELTRINO_HOLD_SEED=7 VELTRINO_HOLD_SECONDS=600 DISPLAY=:none build/tests/tests/engine_tests \
//       --gtest_filter='VlEngineHeldFootswitchesRandomTests.*'

#include "common/CMidiPorts.h"
#include "engine/VlEngine.h"
#include "fixtures/FakeUserInterface.h"

#include <gtest/gtest.h>

#include <bitset>

namespace
{
    /** Follows the notes sent to its one output, "Synth", as they go. */
    class SoundingNotes : public CMidiPorts
    {
    public:
        std::bitset<128> sounding;
        juce::String fault;
        juce::int64 notesPlayed = 0;

        juce::Array<CMidiPortInfo> getInputs() override { return {}; }
        juce::Array<CMidiPortInfo> getOutputs() override { return { CMidiPortInfo { "Synth", "Synth" } }; }
        std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo&, juce::MidiInputCallback*) override
        {
            return {};
        }

        std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo&) override
        {
            struct Output : CMidiOutputPort
            {
                explicit Output (SoundingNotes& toFollow)
                    : notes (toFollow)
                {
                }
                void sendMessageNow (const juce::MidiMessage& message) override { notes.follow (message); }
                void startBackgroundThread() override {}
                void stopBackgroundThread() override {}
                SoundingNotes& notes;
            };
            return std::make_unique<Output> (*this);
        }

    private:
        void follow (const juce::MidiMessage& message)
        {
            const auto note = (size_t) message.getNoteNumber();

            if (message.isNoteOn())
            {
                if (sounding[note] && fault.isEmpty())
                    fault = "a second note-on " + juce::String ((int) note);

                sounding[note] = true;
                ++notesPlayed;
            }
            else if (message.isNoteOff())
            {
                if (! sounding[note] && fault.isEmpty())
                    fault = "a note-off " + juce::String ((int) note) + " without its note-on";

                sounding[note] = false;
            }
        }
    };
}

class VlEngineHeldFootswitchesRandomTests : public ::testing::Test
{
protected:
    const juce::int64 seed = juce::SystemStats::getEnvironmentVariable ("VELTRINO_HOLD_SEED", "29").getLargeIntValue();
    juce::Random random { seed };
    SoundingNotes* notes = new SoundingNotes();
    VlEngine engine { std::unique_ptr<CMidiPorts> (notes) };
    FakeUserInterface ui { engine };
    static constexpr int numPatches = 4;

    /** Patch 0 plays on footswitches 1..9; the others too, or link to patch 0's control of the
        same number, so that no two footswitches held at once reach one control. Every state
        plays a note of its own, and some go to another patch at the release. "*" is on 10.
    */
    juce::String randomDocument()
    {
        juce::String patches;

        for (int p = 0; p < numPatches; ++p)
        {
            patches << "<patch name=\"P" << p << "\" level=\"" << random.nextInt (3)
                    << "\" color=\"ffe3e3e3\" comment=\"\">";

            for (int id = 1; id <= 9; ++id)
            {
                const auto linked = p > 0 && random.nextInt (4) == 0;
                patches << "<item id=\"" << id << "\" label=\"\" target=\"\" color=\"ffffffff\" init_state=\"0\""
                        << " init_value=\"0\" linked=\"" << (linked ? 1 : 0) << "\" link_patch=\"0\" link_control=\""
                        << (linked ? id : -1) << "\">";

                for (int s = 0, n = linked ? 0 : 1 + random.nextInt (3); s < n; ++s)
                {
                    patches << "<state label=\"\" color=\"ffffffff\"><note comment=\"\" device=\"Synth\" channel=\"1\""
                            << " number=\"" << p * 27 + (id - 1) * 3 + s << "\" velocity=\"100\"/>";

                    if (random.nextInt (5) == 0)
                        patches << "<goto comment=\"\" patch=\"" << random.nextInt (numPatches) << "\"/>";

                    patches << "</state>";
                }

                patches << "</item>";
            }

            patches << "</patch>";
        }

        const auto root = juce::parseXML (R"(<veltrino version="1"><navigation color="ff00ff00">)"
                                          R"(<function type="1" control="10"/><function type="2" control="9"/>)"
                                          R"(<function type="3" control="4"/><function type="4" control="5"/>)"
                                          R"(<function type="5" control="1"/><function type="6" control="2"/>)"
                                          R"(</navigation><patches current="0">)"
                                          + patches + "</patches></veltrino>");
        return root != nullptr
                       && engine.loadDocumentContent (*root->getChildByName ("navigation"),
                                                      *root->getChildByName ("patches"), false)
                   ? juce::String()
                   : "the document did not load";
    }
};

//==============================================================================
TEST_F (VlEngineHeldFootswitchesRandomTests, EveryNoteStopsOnceEveryFootswitchIsUp)
{
    ASSERT_EQ (randomDocument(), "") << "seed " << seed;
    engine.startPlaying (0);
    ASSERT_EQ (notes->fault, "") << "seed " << seed;
    ASSERT_TRUE (notes->sounding.none());

    const auto seconds = juce::SystemStats::getEnvironmentVariable ("VELTRINO_HOLD_SECONDS", "0").getDoubleValue();
    const auto steps =
        seconds > 0 ? std::numeric_limits<juce::int64>::max()
                    : juce::SystemStats::getEnvironmentVariable ("VELTRINO_HOLD_STEPS", "20000").getLargeIntValue();
    const auto end = juce::Time::getMillisecondCounterHiRes() + seconds * 1000.0;
    std::bitset<11> held;
    juce::int64 step = 0, allUp = 0, navigations = 0;

    // Presses or lifts the n-th footswitch of those that are up, or down.
    const auto toggle = [&] (bool down, int n) {
        for (int footswitch = 1; footswitch <= 10; ++footswitch)
        {
            if (held[(size_t) footswitch] != down && n-- == 0)
            {
                held[(size_t) footswitch] = down;
                ui.footswitchEvent (footswitch, down);
                return;
            }
        }
    };

    for (; step < steps; ++step)
    {
        if (seconds > 0 && step % 1000 == 0 && juce::Time::getMillisecondCounterHiRes() >= end)
            break;

        const auto numHeld = (int) held.count();

        if (random.nextInt (12) == 0)
        {
            // A choice in the patch list, whose selection callback selects the patch.
            ui.selectedRow = random.nextInt (numPatches);
            engine.selectPatch ((juce::uint16) ui.selectedRow);
        }
        else if (numHeld > 0 && (numHeld == 10 || random.nextInt (10) < 6))
        {
            toggle (false, random.nextInt (numHeld));
        }
        else
        {
            toggle (true, random.nextInt (10 - numHeld));
        }

        ui.takeCalls();    // only their effects count, and a long run would keep every one
        navigations += engine.getMode() == ModeNavigation ? 1 : 0;
        ASSERT_EQ (notes->fault, "") << "seed " << seed << ", step " << step;

        if (held.none())
        {
            ++allUp;
            ASSERT_TRUE (notes->sounding.none())
                << "seed " << seed << ", step " << step << ": still sounding " << notes->sounding.to_string();
        }
    }

    std::cout << "seed " << seed << ": " << step << " steps, " << notes->notesPlayed << " notes, every footswitch up "
              << allUp << " times, in navigation mode after " << navigations << " steps\n";
}
