#include "bench/BenchSummary.h"
#include "generated/VeltrinoExecutable.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <X11/Xatom.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

/*  Start-up: the application, the real executable, started with a command-line argument (so
    without its start picture) on the X server of DISPLAY, timed until its main window is
    showing: a top-level window of its process, mapped and viewable, with its title set. The X
    server is asked every millisecond.
    Then the application is told to quit (SIGINT, which it takes as a quit request) and must
    end by itself, without a JUCE assertion in its output (where the build logs them). It runs
    in a home of its own, which keeps its preferences from one run to the next, as a user's
    does; the first run, which makes them, is not counted.

    Runs: --runs=N (default 9); the figure is the median.
*/
namespace
{
    using Clock = std::chrono::steady_clock;

    int runs = 9;

    // The title starts so; the rest is the document's title.
    const char* const windowPrefix = "Veltrino ";

    // The process that made the window: other programs may have windows on the same display.
    pid_t ownerOf (Display* display, Window window)
    {
        const auto property = XInternAtom (display, "_NET_WM_PID", True);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        pid_t owner = 0;

        if (property != None
            && XGetWindowProperty (display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                                   &remaining, &data)
                   == Success
            && data != nullptr)
        {
            if (format == 32 && count == 1)
                owner = (pid_t) * reinterpret_cast<unsigned long*> (data);

            XFree (data);
        }

        return owner;
    }

    bool isShowing (Display* display, Window window, pid_t pid)
    {
        if (ownerOf (display, window) != pid)
            return false;

        XWindowAttributes attributes;

        if (XGetWindowAttributes (display, window, &attributes) == 0 || attributes.map_state != IsViewable)
            return false;

        // JUCE sets the title as UTF-8, which XFetchName does not read.
        XTextProperty name;

        if (XGetWMName (display, window, &name) == 0 || name.value == nullptr)
            return false;

        const auto matches =
            std::strncmp (reinterpret_cast<const char*> (name.value), windowPrefix, std::strlen (windowPrefix)) == 0;
        XFree (name.value);
        return matches;
    }

    bool mainWindowShowing (Display* display, pid_t pid)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;

        if (XQueryTree (display, DefaultRootWindow (display), &root, &parent, &children, &count) == 0)
            return false;

        bool found = false;

        for (unsigned int i = 0; i < count && ! found; ++i)
            found = isShowing (display, children[i], pid);

        if (children != nullptr)
            XFree (children);

        return found;
    }

    class Application
    {
    public:
        explicit Application (const std::string& home)
            : log (home + "/output.txt")
        {
            std::vector<std::string> environment;

            for (auto** e = environ; *e != nullptr; ++e)
                if (std::strncmp (*e, "HOME=", 5) != 0 && std::strncmp (*e, "XDG_CONFIG_HOME=", 16) != 0)
                    environment.emplace_back (*e);

            environment.push_back ("HOME=" + home);
            environment.push_back ("XDG_CONFIG_HOME=" + home + "/config");

            std::vector<char*> env;
            for (auto& e : environment)
                env.push_back (e.data());
            env.push_back (nullptr);

            std::string program = veltrinoExecutable, argument = "--benchmark";
            char* args[] = { program.data(), argument.data(), nullptr };

            // Its output (the sound system's complaints where there is none) goes to a file, read only for assertions.
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init (&actions);
            posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            posix_spawn_file_actions_adddup2 (&actions, STDOUT_FILENO, STDERR_FILENO);
            const auto failed = posix_spawn (&pid, program.c_str(), &actions, nullptr, args, env.data());
            posix_spawn_file_actions_destroy (&actions);

            if (failed != 0)
                throw std::runtime_error ("cannot start " + program);
        }

        /** Asks it to quit; true when it ended by itself, with success, within 10 s. */
        bool quit()
        {
            kill (pid, SIGINT);

            for (int i = 0; i < 1000; ++i)
            {
                int status = 0;

                if (waitpid (pid, &status, WNOHANG) == pid)
                {
                    pid = 0;
                    return WIFEXITED (status) && WEXITSTATUS (status) == 0;
                }

                std::this_thread::sleep_for (std::chrono::milliseconds (10));
            }

            return false;
        }

        pid_t getPid() const noexcept { return pid; }

        /** True when a JUCE assertion failed in it so far. */
        bool raisedAnAssertion() const
        {
            std::ifstream output (log);
            std::string line;

            while (std::getline (output, line))
            {
                if (line.find ("JUCE Assertion failure") != std::string::npos)
                {
                    std::fprintf (stderr, "%s\n", line.c_str());
                    return true;
                }
            }

            return false;
        }

        ~Application()
        {
            if (pid != 0)
            {
                kill (pid, SIGKILL);
                waitpid (pid, nullptr, 0);
            }
        }

    private:
        const std::string log;
        pid_t pid = 0;
    };

    // Starts the application and waits for its window; the time in seconds, or < 0 on failure:
    // -1 no window, -2 no clean quit, -3 a JUCE assertion.
    double startOnce (Display* display, const std::string& home)
    {
        const auto start = Clock::now();
        Application application (home);

        while (! mainWindowShowing (display, application.getPid()))
        {
            if (Clock::now() - start > std::chrono::seconds (30))
                return -1.0;

            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }

        const auto seconds = std::chrono::duration<double> (Clock::now() - start).count();

        if (! application.quit())
            return -2.0;

        return application.raisedAnAssertion() ? -3.0 : seconds;
    }

    void startUp (benchmark::State& state)
    {
        auto* display = XOpenDisplay (nullptr);

        // Windows come and go while they are looked at: a window gone by then is no error here.
        XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });

        if (display == nullptr)
        {
            BenchSummary::fail (state, "no X server: run under xvfb-run");
            return;
        }

        const auto home = std::filesystem::temp_directory_path() / ("veltrino-startup-" + std::to_string (getpid()));
        std::filesystem::create_directories (home);
        std::vector<double> millis;

        // The first start makes the preferences and fills the file caches.
        if (startOnce (display, home.string()) < 0.0)
            BenchSummary::fail (state, "the application did not show its window, did not quit or raised an assertion");

        for (auto _ : state)
        {
            const auto seconds = startOnce (display, home.string());

            if (seconds < 0.0)
            {
                BenchSummary::fail (state, seconds == -1.0   ? "the main window did not show within 30 s"
                                           : seconds == -2.0 ? "the application did not quit cleanly"
                                                             : "a JUCE assertion failed in the application");
                break;
            }

            state.SetIterationTime (seconds);
            millis.push_back (seconds * 1000.0);
        }

        std::filesystem::remove_all (home);
        XCloseDisplay (display);

        const auto median = BenchSummary::percentile (millis, 0.5);
        state.counters["median_ms"] = median;
        BenchSummary::add ("Start-up to the main window, median of " + std::to_string (millis.size()), median, "ms");
    }
}

int main (int argc, char** argv)
{
    runs = BenchSummary::takeOption (argc, argv, "--runs=", runs);

    if (! BenchSummary::start (argc, argv))
        return 1;

    benchmark::RegisterBenchmark ("StartUp", startUp)
        ->UseManualTime()
        ->Unit (benchmark::kMillisecond)
        ->Iterations (runs);
    benchmark::RunSpecifiedBenchmarks();
    return BenchSummary::finish();
}
