#include "engine/VlEngine.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

/*  The two roads from the pedal board to the MIDI output, timed from the MIDI input
    callback, which a thread of its own enters (as the system's MIDI thread does),
    while the main thread runs its message loop, idle but for what the roads ask of it.

    - Footswitch: a note-on or note-off through the learn table, the message-manager
      lock (CMidiInputLock), the board and the footswitch's note action to the bytes
      handed to the output. One message per iteration; p50/p99 in microseconds.
    - Pedal: a sweep of 128 controller values; the board moves its slider under the
      lock and passes the latest value on later, on the main thread (coalesced, as a
      slider does), to the pedal's continuous control change. Timed until the sweep's
      last value reaches the output; reported as input messages per second.
*/
namespace
{
    // What reached the output; read by the benchmark thread.
    struct Received
    {
        std::atomic<int> count { 0 };
        std::atomic<int> lastBytes { -1 };    // status << 16 | data1 << 8 | data2
    };

    class LatchingOutput : public CMidiOutputPort
    {
    public:
        explicit LatchingOutput (Received& r) : received (r) {}

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            const auto* data = message.getRawData();
            received.lastBytes = data[0] << 16 | data[1] << 8 | data[2];
            ++received.count;
        }

        void startBackgroundThread() override {}
        void stopBackgroundThread() override {}

    private:
        Received& received;
    };

    // One in-memory output, "Synth"; the input is the callback itself.
    class BenchPorts : public CMidiPorts
    {
    public:
        explicit BenchPorts (Received& r) : received (r) {}

        juce::Array<CMidiPortInfo> getInputs() override     { return {}; }
        juce::Array<CMidiPortInfo> getOutputs() override    { return { { "Synth", "synth-1" } }; }

        std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo&, juce::MidiInputCallback*) override
        {
            return nullptr;
        }

        std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo&) override
        {
            return std::make_unique<LatchingOutput> (received);
        }

    private:
        Received& received;
    };

    // Behaves as the on-screen board: footswitches go on at once, a pedal's slider
    // notifies later on the main thread with its latest value.
    class BenchBoard : public VlUserInterface,
                       private juce::AsyncUpdater
    {
    public:
        explicit BenchBoard (VlEngine& e) : engine (e) { engine.setUserInterface (this); }
        ~BenchBoard() override { cancelPendingUpdate(); engine.setUserInterface (nullptr); }

        void footswitchEvent (int footswitch, bool down) override  { engine.onFootswitch (footswitch, down); }

        void setPedalValue (int, int value) override
        {
            pedalValue = value;
            triggerAsyncUpdate();
        }

    private:
        void handleAsyncUpdate() override  { engine.onPedalValue (FirstPedalId, (juce::uint8) pedalValue.load()); }

        VlEngine& engine;
        std::atomic<int> pedalValue { 0 };
    };

    struct Rig
    {
        Received received;
        VlEngine engine { std::make_unique<BenchPorts> (received) };
        BenchBoard board { engine };

        Rig()
        {
            auto patch = std::make_unique<VlPatch>();

            auto footswitch = std::make_unique<VlControlCfg>();
            footswitch->addNewState();
            auto& note = static_cast<VlamNote&> (footswitch->getState (0)->addAction (std::make_unique<VlamNote>()));
            note.setDevice ("Synth");
            note.setNumber (64);
            patch->setControl (1, std::move (footswitch));

            auto pedal = std::make_unique<VlControlCfg>();
            pedal->addNewState();
            auto& cc = static_cast<VlamCCContinuos&> (pedal->getState (0)->addAction (std::make_unique<VlamCCContinuos>()));
            cc.setDevice ("Synth");
            cc.setController (7);
            patch->setControl (FirstPedalId, std::move (pedal));

            engine.addPatch (std::move (patch));
            engine.openMidiOutputs();
            engine.goToPatch (0, true);
        }
    };

    Rig* rig = nullptr;

    double percentile (std::vector<double>& samples, double fraction)
    {
        if (samples.empty())
            return 0.0;

        const auto index = (size_t) (fraction * (double) (samples.size() - 1));
        std::nth_element (samples.begin(), samples.begin() + (std::ptrdiff_t) index, samples.end());
        return samples[index];
    }

    void footswitchRoad (benchmark::State& state)
    {
        using Clock = std::chrono::steady_clock;
        const auto noteOn = juce::MidiMessage::noteOn (1, 1, (juce::uint8) 100);
        const auto noteOff = juce::MidiMessage::noteOff (1, 1);
        std::vector<double> micros;
        micros.reserve (1 << 20);
        bool down = true;

        for (auto _ : state)
        {
            const auto before = rig->received.count.load();
            const auto start = Clock::now();
            rig->engine.handleIncomingMidiMessage (nullptr, down ? noteOn : noteOff);
            const auto end = Clock::now();

            // The whole footswitch chain runs inside the callback: the bytes are out by now.
            if (rig->received.count.load() != before + 1)
            {
                state.SkipWithError ("a footswitch message did not reach the output");
                break;
            }

            if (micros.size() < micros.capacity())
                micros.push_back (std::chrono::duration<double, std::micro> (end - start).count());

            down = ! down;
        }

        state.counters["p50_us"] = percentile (micros, 0.5);
        state.counters["p99_us"] = percentile (micros, 0.99);
    }

    void pedalRoad (benchmark::State& state)
    {
        bool up = true;

        for (auto _ : state)
        {
            for (int i = 0; i < 128; ++i)
                rig->engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, 1, up ? i : 127 - i));

            // The sweep's last value (127 or 0) differs from the previous sweep's.
            const auto last = 0xb0 << 16 | 7 << 8 | (up ? 127 : 0);

            while (rig->received.lastBytes.load() != last)
                std::this_thread::yield();

            up = ! up;
        }

        state.counters["messages_per_s"] = benchmark::Counter ((double) state.iterations() * 128.0,
                                                               benchmark::Counter::kIsRate);
    }
}

BENCHMARK (footswitchRoad)->Name ("FootswitchRoad")->UseRealTime()->MinTime (2.0);
BENCHMARK (pedalRoad)->Name ("PedalRoad")->UseRealTime()->Unit (benchmark::kMicrosecond)->MinTime (2.0);

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    Rig theRig;
    rig = &theRig;

    // The benchmarks play the MIDI thread; this thread runs the application's own
    // message loop, which sleeps until a message arrives.
    std::thread midiThread ([]
    {
        benchmark::RunSpecifiedBenchmarks();
        juce::MessageManager::getInstance()->stopDispatchLoop();
    });

    juce::MessageManager::getInstance()->runDispatchLoop();
    midiThread.join();
    rig = nullptr;
    benchmark::Shutdown();
    return 0;
}
