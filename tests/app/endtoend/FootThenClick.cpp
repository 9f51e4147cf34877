// Plays the pedal board and the mouse together, as a player with a foot on the board and a hand
// on the mouse does: round after round, a foot message written into the input pipe, then 13 to
// 24 ms later a mouse button pressed where the pointer stands (XTest, no pointer motion), and
// again a foot message and the button let up. It times each press and release from the fake
// event to its bytes in the output file (watched with inotify).
//
//   FootThenClick INPUT_PIPE OUTPUT_FILE ROUNDS FOOT_DOWN FOOT_UP CLICK_ON CLICK_OFF
//
// The last four are messages as hex ("900264"). The pointer must stand over the on-screen
// footswitch that plays CLICK_ON and CLICK_OFF. A press or release whose bytes take longer than
// a second counts as waiting; the pointer is then nudged by a pixel and back, which frees an
// event that waits for the next one. Prints the counts and the slowest times, and exits with 1
// when anything waited, went missing, or a CLICK_ON was left without its CLICK_OFF.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <string>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace
{
    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::duration<double, std::milli>;

    std::string bytesOf (const char* hex)
    {
        std::string bytes;

        for (const char* p = hex; p[0] != 0 && p[1] != 0; p += 2)
            bytes += (char) std::strtol (std::string (p, 2).c_str(), nullptr, 16);

        return bytes;
    }

    size_t countOf (const std::string& text, const std::string& part)
    {
        size_t count = 0;

        for (auto at = text.find (part); at != std::string::npos; at = text.find (part, at + part.size()))
            ++count;

        return count;
    }

    // The output file as it grows: everything read so far, and where the next search starts.
    class Output
    {
    public:
        explicit Output (const char* path)
            : file (::open (path, O_RDONLY | O_CLOEXEC)),
              watch (::inotify_init1 (IN_CLOEXEC | IN_NONBLOCK))
        {
            if (file < 0 || watch < 0 || ::inotify_add_watch (watch, path, IN_MODIFY) < 0)
            {
                std::perror (path);
                std::exit (2);
            }

            readNew();
            searchFrom = bytes.size();
        }

        // Waits until `message` shows after what was found before; false after `limit`.
        bool waitFor (const std::string& message, Clock::time_point limit)
        {
            for (;;)
            {
                readNew();

                if (const auto at = bytes.find (message, searchFrom); at != std::string::npos)
                {
                    searchFrom = at + message.size();
                    return true;
                }

                const auto left = std::chrono::duration_cast<std::chrono::milliseconds> (limit - Clock::now());

                if (left.count() <= 0)
                    return false;

                pollfd ready { watch, POLLIN, 0 };
                ::poll (&ready, 1, (int) left.count() + 1);

                char events[4096];

                while (::read (watch, events, sizeof (events)) > 0)
                {
                }
            }
        }

        const std::string& all()
        {
            readNew();
            return bytes;
        }

    private:
        void readNew()
        {
            char buffer[4096];

            for (ssize_t n; (n = ::read (file, buffer, sizeof (buffer))) > 0;)
                bytes.append (buffer, (size_t) n);
        }

        int file, watch;
        std::string bytes;
        size_t searchFrom = 0;
    };

    struct Timings
    {
        const char* name;
        int count = 0, waited = 0, missing = 0;
        double slowest = 0.0;

        void print() const
        {
            std::printf ("%s: %d, waited over 1 s: %d, never came: %d; slowest %.1f ms\n", name, count, waited, missing,
                         slowest);
        }
    };
}

int main (int argc, char** argv)
{
    if (argc != 8)
    {
        std::fprintf (stderr, "usage: %s INPUT_PIPE OUTPUT_FILE ROUNDS FOOT_DOWN FOOT_UP CLICK_ON CLICK_OFF\n",
                      argv[0]);
        return 2;
    }

    const int rounds = std::atoi (argv[3]);
    const auto footDown = bytesOf (argv[4]), footUp = bytesOf (argv[5]);
    const auto clickOn = bytesOf (argv[6]), clickOff = bytesOf (argv[7]);

    Display* display = XOpenDisplay (nullptr);
    int unused;

    if (display == nullptr || ! XTestQueryExtension (display, &unused, &unused, &unused, &unused))
    {
        std::fprintf (stderr, "no X display with XTest\n");
        return 2;
    }

    const int input = ::open (argv[1], O_WRONLY | O_CLOEXEC);

    if (input < 0)
    {
        std::perror (argv[1]);
        return 2;
    }

    Output output (argv[2]);
    std::mt19937 random (41);
    std::uniform_int_distribution<int> delay (13, 24);

    // One half of a round: the foot message, the delay, the button; then its bytes are awaited.
    const auto play = [&] (const std::string& foot, bool buttonDown, const std::string& expected, Timings& timings) {
        if (::write (input, foot.data(), foot.size()) != (ssize_t) foot.size())
        {
            std::perror ("input pipe");
            std::exit (2);
        }

        std::this_thread::sleep_for (std::chrono::milliseconds (delay (random)));
        XTestFakeButtonEvent (display, 1, buttonDown, CurrentTime);
        XFlush (display);
        const auto start = Clock::now();
        ++timings.count;

        if (! output.waitFor (expected, start + std::chrono::seconds (1)))
        {
            ++timings.waited;
            XTestFakeRelativeMotionEvent (display, 1, 0, CurrentTime);
            XTestFakeRelativeMotionEvent (display, -1, 0, CurrentTime);
            XFlush (display);

            if (! output.waitFor (expected, Clock::now() + std::chrono::seconds (5)))
            {
                ++timings.missing;
                return;
            }
        }

        timings.slowest = std::max (timings.slowest, Millis (Clock::now() - start).count());
    };

    Timings presses { "presses" }, releases { "releases" };

    for (int round = 0; round < rounds; ++round)
    {
        play (footDown, true, clickOn, presses);
        play (footUp, false, clickOff, releases);
    }

    presses.print();
    releases.print();

    const auto& all = output.all();
    const auto on = countOf (all, clickOn), off = countOf (all, clickOff);
    std::printf ("note-ons %zu, note-offs %zu\n", on, off);

    ::close (input);
    XCloseDisplay (display);

    const bool allHeard = presses.waited + presses.missing + releases.waited + releases.missing == 0;
    return allHeard && on == off ? 0 : 1;
}
