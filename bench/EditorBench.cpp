#include "app/board/JContentComponent.h"
#include "app/editor/EditorList.h"
#include "app/editor/VlEditor.h"
#include "bench/BenchJuce.h"
#include "bench/BenchSummary.h"
#include "common/CVirtualMidiPorts.h"
#include "fixtures/GeneratedDocument.h"

#include <benchmark/benchmark.h>

#include <chrono>

/*  The patches editor over the large document, generated in the model: 1,000 patches
    (--patches=N for another number) of 12 controls of 4 states of 3 actions, every kind of
    action, the main window's content as the engine's user interface, two output devices
    present.

    - Showing: the editor's preparation before its window opens (device names collected
      from the whole document, the lists primed, the four panels built for the current
      patch), each time after closing it again (untimed).
    - Patch selection: a row of the patches list selected, as a click selects it, until every
      panel down to the first action's has been rebuilt; each iteration selects the next patch.

    Each must stay within one frame at 60 Hz (16 ms); the figures are medians.
*/
namespace
{
    using Clock = std::chrono::steady_clock;

    int numPatches = 1000;

    struct Rig
    {
        CVirtualMidiPorts ports;
        VlEngine engine { ports.share() };
        JContentComponent content;
        VlEditor editor { engine };

        Rig()
        {
            ports.plugOutput ("Synth");
            ports.plugOutput ("Keys");
            GeneratedDocument::append (engine, numPatches, SecondPedalId, 4, 3);
            engine.openMidiOutputs();
            engine.goToPatch (0, true);
        }
    };

    Rig* rig = nullptr;

    double millisecondsSince (Clock::time_point start)
    {
        return std::chrono::duration<double, std::milli> (Clock::now() - start).count();
    }

    void report (benchmark::State& state, const std::string& name, std::vector<double>& times)
    {
        const auto median = BenchSummary::percentile (times, 0.5);
        state.counters["median_ms"] = median;
        state.counters["p99_ms"] = BenchSummary::percentile (times, 0.99);
        state.SetLabel (std::to_string (numPatches) + " patches x 12 controls x 4 states x 3 actions");
        BenchSummary::add ("Large document, " + name + ", median", median, "ms", 16.0, "16 ms");
    }

    void showing (benchmark::State& state)
    {
        std::vector<double> times;

        for (auto _ : state)
        {
            const auto start = Clock::now();

            if (! rig->editor.prepare())
            {
                BenchSummary::fail (state, "the editor did not open");
                break;
            }

            times.push_back (millisecondsSince (start));
            state.SetIterationTime (times.back() / 1000.0);
            rig->editor.finish();
        }

        report (state, "editor showing", times);
    }

    void patchSelection (benchmark::State& state)
    {
        std::vector<double> times;
        rig->editor.prepare();
        auto* patches = rig->editor.getList ((int) EditorList::Kind::patches);
        int row = 0;

        for (auto _ : state)
        {
            row = (row + 1) % rig->engine.getNumPatches();
            const auto start = Clock::now();
            patches->selectRow (row);
            times.push_back (millisecondsSince (start));
            state.SetIterationTime (times.back() / 1000.0);

            if (rig->editor.getCurrentAction() == nullptr)
            {
                BenchSummary::fail (state, "the selection did not reach an action");
                break;
            }
        }

        rig->editor.finish();
        report (state, "editor patch selection", times);
    }
}

BENCHMARK (showing)->Name ("Editor/Showing")->UseManualTime()->Unit (benchmark::kMillisecond);
BENCHMARK (patchSelection)->Name ("Editor/PatchSelection")->UseManualTime()->Unit (benchmark::kMillisecond);

int main (int argc, char** argv)
{
    numPatches = BenchSummary::takeOption (argc, argv, "--patches=", numPatches);
    const BenchJuce gui;

    if (! BenchSummary::start (argc, argv))
        return 1;

    {
        Rig theRig;
        rig = &theRig;
        benchmark::RunSpecifiedBenchmarks();
        rig = nullptr;
    }

    return BenchSummary::finish();
}
