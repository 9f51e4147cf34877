#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

//==============================================================================
/** The figures a benchmark program measured, printed after Google Benchmark's own table as one
    line each: the figure, and beside a target the ratio to it (at most 1 meets the target).
*/
namespace BenchSummary
{
    /** The value below which `fraction` of the samples lie (nearest rank); 0 without samples. */
    inline double percentile (std::vector<double> samples, double fraction)
    {
        if (samples.empty())
            return 0.0;

        const auto index = (size_t) (fraction * (double) (samples.size() - 1) + 0.5);
        std::nth_element (samples.begin(), samples.begin() + (std::ptrdiff_t) index, samples.end());
        return samples[index];
    }

    inline std::vector<std::string>& lines()
    {
        static std::vector<std::string> all;
        return all;
    }

    /** Notes a figure; the latest one of a name replaces the ones before (repetitions). */
    inline void add (const std::string& name, double value, const std::string& unit)
    {
        char line[256];
        std::snprintf (line, sizeof (line), "%-44s %12.3f %s", name.c_str(), value, unit.c_str());

        auto& all = lines();
        const auto same = std::find_if (
            all.begin(), all.end(), [&] (const auto& l) { return l.compare (0, name.size() + 1, name + " ") == 0; });

        if (same != all.end())
            *same = line;
        else
            all.push_back (line);
    }

    /** Notes a figure with its target: "ratio" is value / target. */
    inline void add (const std::string& name, double value, const std::string& unit, double target,
                     const std::string& targetText)
    {
        char text[128];
        std::snprintf (text, sizeof (text), "  (target %s: ratio %.2f, %s)", targetText.c_str(), value / target,
                       value <= target ? "met" : "MISSED");
        add (name, value, unit + text);
    }

    /** Set by a failing benchmark's thread and by a JUCE assertion on any thread. */
    inline std::atomic<bool>& anyFailed()
    {
        static std::atomic<bool> failed { false };
        return failed;
    }

    /** Stops the benchmark with an error, which also makes the program's exit status 1. */
    inline void fail (benchmark::State& state, const char* message)
    {
        anyFailed() = true;
        state.SkipWithError (message);
    }

    /** Prints every figure noted, under a line of its own that scripts/bench.sh looks for. */
    inline void print()
    {
        std::printf ("\n=== figures\n");

        for (const auto& line : lines())
            std::printf ("%s\n", line.c_str());

        std::fflush (stdout);
    }

    /** Takes the option `prefix`N (such as "--runs=9") out of the arguments: N, at least 1,
        or `otherwise` when it is not there.
    */
    inline int takeOption (int& argc, char** argv, const char* prefix, int otherwise)
    {
        const auto length = std::strlen (prefix);

        for (int i = 1; i < argc; ++i)
        {
            if (std::strncmp (argv[i], prefix, length) == 0)
            {
                otherwise = std::max (1, std::atoi (argv[i] + length));
                std::copy (argv + i + 1, argv + argc, argv + i);
                --argc;
                --i;
            }
        }

        return otherwise;
    }

    /** Hands the other arguments to Google Benchmark; false when some are none of its own. */
    inline bool start (int& argc, char** argv)
    {
        benchmark::Initialize (&argc, argv);
        return ! benchmark::ReportUnrecognizedArguments (argc, argv);
    }

    /** Prints the figures and ends Google Benchmark; the program's exit status, 1 when a
        benchmark failed.
    */
    inline int finish()
    {
        print();
        benchmark::Shutdown();
        return anyFailed() ? 1 : 0;
    }
}
