#include "app/board/JContentComponent.h"
#include "bench/BenchJuce.h"
#include "bench/BenchSummary.h"
#include "common/CMidiInputLock.h"
#include "engine/VlEngine.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

/*  The two roads from the pedal board to the MIDI output, through the application's own
    classes: the engine's MIDI input callback, entered by a thread of its own as the system's
    MIDI thread enters it, the message-manager lock taken through CMidiInputLock, and the main
    window's content (its footswitch buttons and pedal sliders, not on screen), while the main
    thread runs the application's message loop, idle but for what the roads ask of it.

    - Footswitch: a note-on or a note-off through the learn table, the lock, the button and
      the footswitch's note action, to the bytes handed to the output. One message per
      iteration, timed from the call into the callback to the output's send; median and 99th
      percentile in microseconds.
    - Footswitch while the board repaints: the same, while the main thread paints the whole
      content (830 x 300, every footswitch and pedal labelled, a patch list of twelve) into an
      image again and again, as a board that keeps changing makes it do. The lock waits for the
      painting under way, so drawing time is input latency here: 99th percentile against 4 ms.
    - Pedal: a sweep of 128 controller values. The callback moves the slider under the lock;
      the slider hands its latest value on later, on the main thread, once it is taken over
      (soft take-over), and several values that arrive meanwhile reach the pedal's continuous
      control change as one. Timed until the sweep's last value leaves the output; reported
      as input messages per second.
*/
namespace
{
    using Clock = std::chrono::steady_clock;

    // What reached the output; written on the thread that sends, read by the benchmark.
    struct Received
    {
        std::atomic<int> count { 0 };
        std::atomic<int> lastBytes { -1 };    // status << 16 | data1 << 8 | data2
        std::atomic<Clock::rep> lastTime { 0 };
    };

    class LatchingOutput : public CMidiOutputPort
    {
    public:
        explicit LatchingOutput (Received& r)
            : received (r)
        {
        }

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            const auto now = Clock::now().time_since_epoch().count();
            const auto* data = message.getRawData();
            received.lastTime = now;
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
        explicit BenchPorts (Received& r)
            : received (r)
        {
        }

        juce::Array<CMidiPortInfo> getInputs() override { return {}; }
        juce::Array<CMidiPortInfo> getOutputs() override { return { { "Synth", "synth-1" } }; }

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

    // Labels, targets and states on every footswitch and pedal, so that the board is drawn as in use.
    void labelEveryControl (VlPatch& patch)
    {
        patch.getControl (1)->setLabel ("Lead");
        patch.getControl (1)->setTarget ("Synth");
        patch.getControl (FirstPedalId)->setLabel ("Volume");

        for (int id = 2; id <= SecondPedalId; ++id)
        {
            if (id == FirstPedalId)
                continue;

            auto control = std::make_unique<VlControlCfg>();
            control->setLabel (id % 2 == 0 ? "Delay long" : "Wah");
            control->setTarget ("Effects");
            control->setColor (0xff000000 | (juce::uint32) (0x203040 * id));

            for (int i = 0; i < (id % 3) + 1; ++i)
            {
                control->addNewState();
                control->getState (i)->setLabel ("State " + juce::String (i));
            }

            patch.setControl (id, std::move (control));
        }
    }

    // Footswitch 1 plays note 64, pedal 11 (controller 1 on the board) controller 7.
    struct Rig
    {
        Received received;
        VlEngine engine { std::make_unique<BenchPorts> (received) };
        JContentComponent content;
        bool footswitchDown = false;    // across runs: a press before the release would answer it first

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
            auto& cc =
                static_cast<VlamCCContinuos&> (pedal->getState (0)->addAction (std::make_unique<VlamCCContinuos>()));
            cc.setDevice ("Synth");
            cc.setController (7);
            patch->setControl (FirstPedalId, std::move (pedal));

            labelEveryControl (*patch);
            engine.addPatch (std::move (patch));

            for (int i = 1; i < 12; ++i)
            {
                auto other = std::make_unique<VlPatch>();
                other->setName ("Song " + juce::String (i) + " verse and chorus");
                engine.addPatch (std::move (other));
            }

            content.setSize (830, 300);
            engine.openMidiOutputs();
            engine.goToPatch (0, true);
            engine.startPlaying (0);
        }
    };

    Rig* rig = nullptr;

    // The footswitch road's times in microseconds, one message per iteration.
    std::vector<double> timeFootswitches (benchmark::State& state)
    {
        const auto noteOn = juce::MidiMessage::noteOn (1, 1, (juce::uint8) 100);
        const auto noteOff = juce::MidiMessage::noteOff (1, 1);
        std::vector<double> micros;
        micros.reserve (1 << 20);
        auto& down = rig->footswitchDown;

        for (auto _ : state)
        {
            const auto before = rig->received.count.load();
            const auto start = Clock::now();
            down = ! down;
            rig->engine.handleIncomingMidiMessage (nullptr, down ? noteOn : noteOff);

            // The whole footswitch road runs inside the callback: the bytes are out by now.
            if (rig->received.count.load() != before + 1)
            {
                BenchSummary::fail (state, "a footswitch message did not reach the output");
                break;
            }

            const auto end = Clock::time_point (Clock::duration (rig->received.lastTime.load()));

            if (micros.size() < micros.capacity())
                micros.push_back (std::chrono::duration<double, std::micro> (end - start).count());
        }

        state.counters["median_us"] = BenchSummary::percentile (micros, 0.5);
        state.counters["p99_us"] = BenchSummary::percentile (micros, 0.99);
        return micros;
    }

    void footswitchRoad (benchmark::State& state)
    {
        const auto micros = timeFootswitches (state);
        BenchSummary::add ("Footswitch road, median", BenchSummary::percentile (micros, 0.5), "us", 20.0, "20 us");
        BenchSummary::add ("Footswitch road, 99th percentile", BenchSummary::percentile (micros, 0.99), "us", 200.0,
                           "200 us");
    }

    //==============================================================================
    // The painting chain that runs; the chains of earlier runs of the benchmark see another
    // number and stop, so that one chain paints at a time.
    std::atomic<int> repaintChain { 0 };
    std::atomic<int> repaints { 0 };

    // On the main thread: paints the whole content, then asks for the next painting, so that
    // the main thread is always painting or about to.
    void repaintContinuously (int chain)
    {
        if (chain != repaintChain || rig == nullptr)
            return;

        static juce::Image image (juce::Image::RGB, 830, 300, true);
        {
            juce::Graphics g (image);
            rig->content.paintEntireComponent (g, true);
        }

        ++repaints;
        juce::MessageManager::callAsync ([chain] { repaintContinuously (chain); });
    }

    void footswitchRoadWhileRepainting (benchmark::State& state)
    {
        static int chains = 0;
        const auto chain = ++chains;
        repaintChain = chain;
        repaints = 0;
        juce::MessageManager::callAsync ([chain] { repaintContinuously (chain); });

        while (repaints == 0)
            std::this_thread::yield();

        const auto micros = timeFootswitches (state);
        repaintChain = 0;
        state.counters["repaints"] = repaints.load();
        BenchSummary::add ("Footswitch road while the board repaints, median", BenchSummary::percentile (micros, 0.5),
                           "us");
        BenchSummary::add ("Footswitch road while the board repaints, 99th percentile",
                           BenchSummary::percentile (micros, 0.99), "us", 4000.0, "4 ms");
    }

    // The part of the footswitch road that is the lock alone: taken and given back at once.
    void lockRoundTrip (benchmark::State& state)
    {
        std::vector<double> micros;
        micros.reserve (1 << 20);
        CMidiInputLock lock;

        for (auto _ : state)
        {
            const auto start = Clock::now();
            Clock::time_point locked;
            lock.callLocked ([&locked] { locked = Clock::now(); });    // no port changes: it runs at once

            if (micros.size() < micros.capacity())
                micros.push_back (std::chrono::duration<double, std::micro> (locked - start).count());
        }

        const auto median = BenchSummary::percentile (micros, 0.5);
        state.counters["median_us"] = median;
        state.counters["p99_us"] = BenchSummary::percentile (micros, 0.99);
        BenchSummary::add ("Footswitch road's lock alone, median", median, "us");
    }

    void pedalRoad (benchmark::State& state)
    {
        bool up = true;
        std::int64_t sweeps = 0, sent = 0;
        double seconds = 0.0;

        for (auto _ : state)
        {
            const auto before = rig->received.count.load();
            const auto start = Clock::now();

            for (int i = 0; i < 128; ++i)
                rig->engine.handleIncomingMidiMessage (nullptr,
                                                       juce::MidiMessage::controllerEvent (1, 1, up ? i : 127 - i));

            // The sweep's last value (127 or 0) differs from the previous sweep's.
            const auto last = 0xb0 << 16 | 7 << 8 | (up ? 127 : 0);

            while (rig->received.lastBytes.load() != last)
                std::this_thread::yield();

            seconds += std::chrono::duration<double> (Clock::now() - start).count();
            sent += rig->received.count.load() - before;
            ++sweeps;
            up = ! up;
        }

        const auto perSecond = seconds > 0.0 ? (double) sweeps * 128.0 / seconds : 0.0;
        state.counters["messages_per_s"] = perSecond;
        state.counters["sent_per_sweep"] = sweeps > 0 ? (double) sent / (double) sweeps : 0.0;
        BenchSummary::add ("Pedal road, input messages per second", perSecond, "msg/s");
        BenchSummary::add ("Pedal road, control changes sent per sweep",
                           sweeps > 0 ? (double) sent / (double) sweeps : 0.0, "of 128");
    }
}

BENCHMARK (footswitchRoad)->Name ("FootswitchRoad")->UseRealTime();
BENCHMARK (lockRoundTrip)->Name ("FootswitchRoad/LockAlone")->UseRealTime();
BENCHMARK (footswitchRoadWhileRepainting)->Name ("FootswitchRoad/WhileRepainting")->UseRealTime();
BENCHMARK (pedalRoad)->Name ("PedalRoad")->UseRealTime()->Unit (benchmark::kMicrosecond);

int main (int argc, char** argv)
{
    const BenchJuce gui;

    if (! BenchSummary::start (argc, argv))
        return 1;

    Rig theRig;
    rig = &theRig;

    // The benchmarks play the MIDI thread; this thread runs the application's own
    // message loop, which sleeps until a message arrives.
    std::thread midiThread ([] {
        benchmark::RunSpecifiedBenchmarks();
        juce::MessageManager::getInstance()->stopDispatchLoop();
    });

    juce::MessageManager::getInstance()->runDispatchLoop();
    midiThread.join();
    rig = nullptr;
    return BenchSummary::finish();
}
