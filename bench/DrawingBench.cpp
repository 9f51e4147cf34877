#include "app/VlDocument.h"
#include "app/board/JContentComponent.h"
#include "bench/BenchJuce.h"
#include "bench/BenchSummary.h"
#include "common/CVirtualMidiPorts.h"
#include "engine/VlEngine.h"
#include "generated/ExampleDocument.h"

#include <benchmark/benchmark.h>

#include <chrono>

/*  Drawing the main window's content: the example document (its first patch on the pedal board,
    ten footswitches and two pedals, beside the patch list on the bevelled background) at the
    window's size, 830 x 300, painted whole into an image as a repaint of the window paints it,
    with the application's look as the default. Median and 99th percentile of one full repaint;
    then the same for each part alone, to show where the time goes.
*/
namespace
{
    using Clock = std::chrono::steady_clock;

    struct Rig
    {
        CVirtualMidiPorts ports;
        VlEngine engine { ports.share() };
        JContentComponent content;
        VlDocument document { engine, nullptr };
        juce::Image image { juce::Image::RGB, 830, 300, true };
        bool loaded = false;

        Rig()
        {
            content.setSize (830, 300);
            loaded = document.loadFrom (juce::File (exampleDocument), false).wasOk();
        }
    };

    Rig* rig = nullptr;

    void repaint (benchmark::State& state, const std::string& name, double targetMillis,
                  const std::function<void (juce::Graphics&)>& paint)
    {
        if (! rig->loaded)
        {
            BenchSummary::fail (state, "the example document did not load");
            return;
        }

        std::vector<double> millis;
        millis.reserve (1 << 16);

        for (auto _ : state)
        {
            const auto start = Clock::now();
            {
                juce::Graphics g (rig->image);
                paint (g);
            }

            if (millis.size() < millis.capacity())
                millis.push_back (std::chrono::duration<double, std::milli> (Clock::now() - start).count());
        }

        const auto median = BenchSummary::percentile (millis, 0.5);
        const auto p99 = BenchSummary::percentile (millis, 0.99);
        state.counters["median_ms"] = median;
        state.counters["p99_ms"] = p99;

        if (targetMillis > 0.0)
            BenchSummary::add (name + ", median", median, "ms", targetMillis,
                               juce::String (targetMillis).toStdString() + " ms");
        else
            BenchSummary::add (name + ", median", median, "ms");

        BenchSummary::add (name + ", 99th percentile", p99, "ms");
    }

    void registerRepaints()
    {
        const auto add = [] (const char* benchmarkName, std::string figure, double target,
                             std::function<void (juce::Graphics&)> paint) {
            benchmark::RegisterBenchmark (
                benchmarkName,
                [figure, target, paint] (benchmark::State& state) { repaint (state, figure, target, paint); })
                ->UseRealTime()
                ->Unit (benchmark::kMicrosecond);
        };

        add ("Repaint/Content", "Main window content repaint (830 x 300)", 3.0,
             [] (juce::Graphics& g) { rig->content.paintEntireComponent (g, true); });
        add ("Repaint/Background", "  its bevelled background alone", 0.0,
             [] (juce::Graphics& g) { rig->content.paint (g); });
        add ("Repaint/Footswitches", "  its ten footswitches alone", 0.0,
             [] (juce::Graphics& g) { rig->content.getButtonsPanel().paintEntireComponent (g, true); });
        add ("Repaint/Pedals", "  its two pedals alone", 0.0,
             [] (juce::Graphics& g) { rig->content.getSlidersPanel().paintEntireComponent (g, true); });
        add ("Repaint/PatchList", "  its patch list alone", 0.0,
             [] (juce::Graphics& g) { rig->content.getPatchesList().paintEntireComponent (g, true); });
    }
}

int main (int argc, char** argv)
{
    const BenchJuce gui;

    if (! BenchSummary::start (argc, argv))
        return 1;

    {
        Rig theRig;
        rig = &theRig;
        registerRepaints();
        benchmark::RunSpecifiedBenchmarks();
        rig = nullptr;
    }

    return BenchSummary::finish();
}
