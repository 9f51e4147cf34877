#include "app/VlDocument.h"
#include "bench/BenchJuce.h"
#include "bench/BenchSummary.h"
#include "common/CVirtualMidiPorts.h"
#include "fixtures/GeneratedDocument.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <chrono>
#include <new>

/*  A large document, generated in the model: 1,000 patches (--patches=N for another number) of
    12 controls of 4 states of 3 actions, every kind of action. Measured in one run:

    - Load: the document's read (guarded XML read, frame checks, the engine's staged load, the
      load checks and the start of playing, with every output closed), against JUCE's bare
      parse of the same file (juce::parseXML).
    - Save: the document's save (tree, text, temporary file put in place), against JUCE's bare
      write of the same tree to a file (XmlElement::writeTo, which also goes through a
      temporary file).
    - Memory: the heap that a load needs at its peak, and keeps, above what was in use before
      it, against the file's size. Counted by this program's own operator new and delete
      (every C++ allocation, JUCE's included), in the allocator's usable sizes.

    Each iteration times both sides one after the other; the figures are medians.
*/
namespace
{
    using Clock = std::chrono::steady_clock;

    //==============================================================================
    std::atomic<long long> liveBytes { 0 }, peakBytes { 0 };

    void* allocate (std::size_t size, std::size_t alignment = 0)
    {
        void* p = nullptr;

        if (alignment > alignof (std::max_align_t))
        {
            if (posix_memalign (&p, alignment, size == 0 ? 1 : size) != 0)
                p = nullptr;
        }
        else
        {
            p = std::malloc (size == 0 ? 1 : size);
        }

        if (p == nullptr)
            throw std::bad_alloc();

        const auto live = liveBytes += (long long) malloc_usable_size (p);

        for (auto peak = peakBytes.load(); live > peak && ! peakBytes.compare_exchange_weak (peak, live);)
        {
        }

        return p;
    }

    void release (void* p) noexcept
    {
        if (p != nullptr)
        {
            liveBytes -= (long long) malloc_usable_size (p);
            std::free (p);
        }
    }

    //==============================================================================
    int numPatches = 1000;

    double millisecondsSince (Clock::time_point start)
    {
        return std::chrono::duration<double, std::milli> (Clock::now() - start).count();
    }

    // An engine whose outputs are all closed: no device is present.
    struct Rig
    {
        CVirtualMidiPorts ports;
        VlEngine engine { ports.share() };
        VlDocument document { engine, nullptr };
        juce::TemporaryFile folder;
        juce::File file, bareFile;
        std::int64_t fileSize = 0;

        Rig()
        {
            folder.getFile().createDirectory();
            file = folder.getFile().getChildFile ("large.vlt");
            bareFile = folder.getFile().getChildFile ("bare.vlt");

            engine.clear();
            GeneratedDocument::append (engine, numPatches, SecondPedalId, 4, 3);
            engine.goToPatch (0, true);

            if (document.saveDocument (file).failed())
                throw std::runtime_error ("cannot save the generated document");

            fileSize = file.getSize();
        }

        ~Rig() { folder.getFile().deleteRecursively(); }
    };

    Rig* rig = nullptr;

    juce::String describeDocument()
    {
        return juce::String (numPatches) + " patches x 12 controls x 4 states x 3 actions, "
               + juce::String ((double) rig->fileSize / 1e6, 2) + " MB";
    }

    // Times the document's side and then JUCE's bare side once per iteration; notes the medians
    // and their ratio. `prepare` runs first, untimed.
    template <typename Prepare, typename Ours, typename Juces>
    void againstJuce (benchmark::State& state, const std::string& ours, const std::string& juces, Prepare&& prepare,
                      Ours&& runOurs, Juces&& runJuces)
    {
        std::vector<double> ourTimes, bareTimes;

        for (auto _ : state)
        {
            prepare();
            auto start = Clock::now();

            if (! runOurs())
            {
                BenchSummary::fail (state, ("the document's " + ours + " failed").c_str());
                break;
            }

            ourTimes.push_back (millisecondsSince (start));
            state.SetIterationTime (ourTimes.back() / 1000.0);
            start = Clock::now();

            if (! runJuces())
            {
                BenchSummary::fail (state, ("JUCE's " + juces + " failed").c_str());
                break;
            }

            bareTimes.push_back (millisecondsSince (start));
        }

        const auto median = BenchSummary::percentile (ourTimes, 0.5), bare = BenchSummary::percentile (bareTimes, 0.5);
        state.counters[ours + "_ms"] = median;
        state.counters["juce_ms"] = bare;
        state.counters["ratio"] = median / bare;
        state.SetLabel (describeDocument().toStdString());
        BenchSummary::add ("Large document, " + ours, median, "ms", 1000.0, "1 s");
        BenchSummary::add ("Large document, JUCE's " + juces, bare, "ms");
        BenchSummary::add ("Large document, " + ours + " / " + juces, median / bare, "x", 2.0, "2x");
    }

    void load (benchmark::State& state)
    {
        std::unique_ptr<juce::XmlElement> tree;    // JUCE's, freed untimed as the model is

        againstJuce (
            state, "load", "bare parse",
            [&] {
                rig->engine.clear();
                tree.reset();
            },
            [&] { return rig->document.loadDocument (rig->file).wasOk(); },
            [&] {
                tree = juce::parseXML (rig->file);
                return tree != nullptr;
            });
    }

    void save (benchmark::State& state)
    {
        // The same tree as the save builds, built beforehand for JUCE's bare write.
        const auto tree = rig->document.createDocumentXml();
        const auto format = VlDocument::getTextFormat();

        againstJuce (
            state, "save", "bare write", [] {}, [&] { return rig->document.saveDocument (rig->file).wasOk(); },
            [&] { return tree->writeTo (rig->bareFile, format); });
    }

    void memory (benchmark::State& state)
    {
        long long peak = 0, kept = 0;

        for (auto _ : state)
        {
            rig->engine.clear();
            const auto before = liveBytes.load();
            peakBytes = before;

            if (rig->document.loadDocument (rig->file).failed())
            {
                BenchSummary::fail (state, "the document did not load");
                break;
            }

            peak = peakBytes.load() - before;
            kept = liveBytes.load() - before;
        }

        const auto size = (double) rig->fileSize;
        state.counters["file_MB"] = size / 1e6;
        state.counters["peak_MB"] = (double) peak / 1e6;
        state.counters["kept_MB"] = (double) kept / 1e6;
        state.counters["peak_per_file_byte"] = (double) peak / size;
        BenchSummary::add ("Large document, file size", size / 1e6, "MB");
        BenchSummary::add ("Large document, heap at the peak of a load", (double) peak / 1e6, "MB");
        BenchSummary::add ("Large document, heap kept after the load", (double) kept / 1e6, "MB");
        BenchSummary::add ("Large document, load's peak heap / file size", (double) peak / size, "x", 10.0, "10x");
    }
}

//==============================================================================
void* operator new (std::size_t size)
{
    return allocate (size);
}
void* operator new[] (std::size_t size)
{
    return allocate (size);
}
void* operator new (std::size_t size, std::align_val_t a)
{
    return allocate (size, (std::size_t) a);
}
void* operator new[] (std::size_t size, std::align_val_t a)
{
    return allocate (size, (std::size_t) a);
}
void operator delete (void* p) noexcept
{
    release (p);
}
void operator delete[] (void* p) noexcept
{
    release (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    release (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    release (p);
}
void operator delete (void* p, std::align_val_t) noexcept
{
    release (p);
}
void operator delete[] (void* p, std::align_val_t) noexcept
{
    release (p);
}
void operator delete (void* p, std::size_t, std::align_val_t) noexcept
{
    release (p);
}
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept
{
    release (p);
}

BENCHMARK (load)->Name ("LargeDocument/Load")->UseManualTime()->Unit (benchmark::kMillisecond)->Iterations (7);
BENCHMARK (save)->Name ("LargeDocument/Save")->UseManualTime()->Unit (benchmark::kMillisecond)->Iterations (7);
BENCHMARK (memory)->Name ("LargeDocument/Memory")->Unit (benchmark::kMillisecond)->Iterations (1);

int main (int argc, char** argv)
{
    numPatches = BenchSummary::takeOption (argc, argv, "--patches=", numPatches);

    const BenchJuce gui;

    if (! BenchSummary::start (argc, argv))
        return 1;

    Rig theRig;
    rig = &theRig;
    benchmark::RunSpecifiedBenchmarks();
    rig = nullptr;
    return BenchSummary::finish();
}
