#include "common/CFileMidiPorts.h"

#include "common/CMidiInputDelivery.h"
#include "common/CMidiStreamParser.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <optional>
#include <thread>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    constexpr int pollTimeoutMs = 100;

    struct Entry
    {
        juce::String identifier;
        bool isPipe = false;
    };

    // The inode alone may be reused at once for an entry created again, so the
    // identifier adds the creation time where the file system keeps one.
    std::optional<Entry> identify (int dirFd, const char* path, int flags)
    {
        struct statx info
        {
        };

        if (::statx (dirFd, path, flags, STATX_TYPE | STATX_INO | STATX_BTIME, &info) != 0 || S_ISDIR (info.stx_mode))
            return std::nullopt;

        juce::String identifier;
        identifier << (juce::int64) info.stx_dev_major << ":" << (juce::int64) info.stx_dev_minor << ":"
                   << (juce::int64) info.stx_ino;

        if ((info.stx_mask & STATX_BTIME) != 0)
            identifier << ":" << (juce::int64) info.stx_btime.tv_sec << "." << (juce::int64) info.stx_btime.tv_nsec;

        return Entry { identifier, S_ISFIFO (info.stx_mode) };
    }

    std::optional<Entry> identifyPath (const std::string& path)
    {
        return identify (AT_FDCWD, path.c_str(), 0);
    }
    std::optional<Entry> identifyOpen (int fd)
    {
        return identify (fd, "", AT_EMPTY_PATH);
    }

    juce::Array<CMidiPortInfo> listFolder (const juce::File& folder)
    {
        std::vector<std::pair<std::string, juce::String>> found;

        if (auto* dir = ::opendir (folder.getFullPathName().toRawUTF8()))
        {
            while (auto* entry = ::readdir (dir))
            {
                std::string name (entry->d_name);

                if (name.empty() || name[0] == '.')
                    continue;

                if (auto identity = identify (::dirfd (dir), entry->d_name, 0))
                    found.emplace_back (name, identity->identifier);
            }

            ::closedir (dir);
        }

        std::sort (found.begin(), found.end());

        juce::Array<CMidiPortInfo> result;

        for (auto& [name, identifier] : found)
            result.add ({ juce::String::fromUTF8 (name.c_str()), identifier });

        return result;
    }

    std::string pathOf (const juce::File& folder, const juce::String& name)
    {
        return folder.getChildFile (name).getFullPathName().toStdString();
    }

    // Opens the entry when it is still the device listed under that identifier.
    int openDevice (const std::string& path, const juce::String& identifier, int flags)
    {
        if (path.empty())
            return -1;

        auto fd = ::open (path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);

        if (fd >= 0)
        {
            auto identity = identifyOpen (fd);

            if (identity.has_value() && identity->identifier == identifier)
                return fd;

            ::close (fd);
        }

        return -1;
    }

    // Writing to a pipe whose reader has gone raises SIGPIPE, which would end
    // the application: block it on this thread and swallow the one raised.
    bool writeWithoutSigPipe (int fd, const juce::uint8* data, size_t size)
    {
        sigset_t sigPipe, previous;
        sigemptyset (&sigPipe);
        sigaddset (&sigPipe, SIGPIPE);
        pthread_sigmask (SIG_BLOCK, &sigPipe, &previous);

        bool ok = true;

        while (size > 0)
        {
            auto written = ::write (fd, data, size);

            if (written < 0 && errno == EINTR)
                continue;

            if (written <= 0)
            {
                ok = false;
                break;
            }

            data += written;
            size -= (size_t) written;
        }

        if (! ok && errno == EPIPE && ! sigismember (&previous, SIGPIPE))
        {
            const timespec noWait {};
            sigtimedwait (&sigPipe, nullptr, &noWait);
        }

        pthread_sigmask (SIG_SETMASK, &previous, nullptr);
        return ok;
    }
}

//==============================================================================
class CFileMidiPorts::Input : public CMidiInputPort
{
public:
    Input (std::string pathToRead, const juce::String& identifierToUse, int openFd, bool isNamedPipe,
           juce::MidiInputCallback* callback, std::shared_ptr<juce::CriticalSection> callbackLock)
        : path (std::move (pathToRead)),
          identifier (identifierToUse),
          isPipe (isNamedPipe),
          fd (openFd),
          delivery (callback, std::move (callbackLock)),
          parser ([this] (const juce::MidiMessage& message) { delivery.deliver (message); })
    {
        if (::pipe2 (wakeUp, O_NONBLOCK | O_CLOEXEC) != 0)
            wakeUp[0] = wakeUp[1] = -1;
    }

    ~Input() override
    {
        stop();

        for (auto descriptor : { fd, wakeUp[0], wakeUp[1] })
            if (descriptor >= 0)
                ::close (descriptor);
    }

    void start() override
    {
        if (reader.joinable() || wakeUp[0] < 0)
            return;

        std::array<char, 16> drained;
        while (::read (wakeUp[0], drained.data(), drained.size()) > 0)
        {
        }

        delivery.start();
        reader = std::thread ([this] { run(); });
    }

    void stop() override
    {
        delivery.stop();

        if (reader.joinable())
        {
            const char wake = 0;
            [[maybe_unused]] auto written = ::write (wakeUp[1], &wake, 1);
            reader.join();
        }
    }

private:
    //==============================================================================
    void run()
    {
        std::array<juce::uint8, 1024> buffer;

        for (;;)
        {
            if (fd < 0 && ! reopen())
            {
                if (waitForWakeUp (pollTimeoutMs))
                    return;

                continue;
            }

            pollfd fds[] = { { fd, POLLIN, 0 }, { wakeUp[0], POLLIN, 0 } };

            if (::poll (fds, 2, pollTimeoutMs) < 0 && errno != EINTR)
                return;

            if (fds[1].revents != 0)
                return;

            if (fds[0].revents == 0)
                continue;

            auto numRead = ::read (fd, buffer.data(), buffer.size());

            if (numRead > 0)
                parser.feed (buffer.data(), (size_t) numRead);
            else if (numRead == 0 && ! isPipe)
            {
                if (waitForWakeUp (pollTimeoutMs))    // the end of a regular file: wait for more
                    return;
            }
            else if (numRead == 0 || (errno != EAGAIN && errno != EINTR))
            {
                // The last writer closed the pipe (or it failed): open it again
                // before closing this end, so that nothing a new writer has put in
                // the pipe meanwhile is lost with the last reader.
                auto old = std::exchange (fd, -1);
                reopen();
                ::close (old);
            }
        }
    }

    bool reopen()
    {
        fd = openDevice (path, identifier, O_RDONLY);
        return fd >= 0;
    }

    bool waitForWakeUp (int milliseconds)
    {
        pollfd wake { wakeUp[0], POLLIN, 0 };
        return ::poll (&wake, 1, milliseconds) > 0;
    }

    const std::string path;
    const juce::String identifier;
    const bool isPipe;
    int fd;
    int wakeUp[2] { -1, -1 };
    CMidiInputDelivery delivery;
    CMidiStreamParser parser;
    std::thread reader;
};

//==============================================================================
class CFileMidiPorts::Output : public CMidiOutputPort
{
public:
    explicit Output (int openFd)
        : fd (openFd)
    {
    }
    ~Output() override { ::close (fd); }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        writeWithoutSigPipe (fd, message.getRawData(), (size_t) message.getRawDataSize());
    }

    // Messages are written at once: there is no background thread to run.
    void startBackgroundThread() override {}
    void stopBackgroundThread() override {}

private:
    int fd;
};

//==============================================================================
CFileMidiPorts::CFileMidiPorts (const juce::File& folder)
    : inputFolder (folder.getChildFile ("in")),
      outputFolder (folder.getChildFile ("out")),
      callbackLock (std::make_shared<juce::CriticalSection>())
{
}

CFileMidiPorts::~CFileMidiPorts() = default;

juce::Array<CMidiPortInfo> CFileMidiPorts::getInputs()
{
    return listFolder (inputFolder);
}
juce::Array<CMidiPortInfo> CFileMidiPorts::getOutputs()
{
    return listFolder (outputFolder);
}

std::unique_ptr<CMidiInputPort> CFileMidiPorts::openInput (const CMidiPortInfo& device,
                                                           juce::MidiInputCallback* callback)
{
    // Opening a port takes the callback lock, as JUCE's does.
    const juce::ScopedLock sl (*callbackLock);
    auto path = pathOf (inputFolder, device.name);

    // Non-blocking, so that a pipe without a writer opens at once.
    auto fd = openDevice (path, device.identifier, O_RDONLY);

    if (fd < 0)
        return nullptr;

    auto isPipe = identifyOpen (fd)->isPipe;
    return std::make_unique<Input> (path, device.identifier, fd, isPipe, callback, callbackLock);
}

std::unique_ptr<CMidiOutputPort> CFileMidiPorts::openOutput (const CMidiPortInfo& device)
{
    const juce::ScopedLock sl (*callbackLock);

    // Non-blocking, so that a pipe without a reader fails at once instead of hanging.
    auto fd = openDevice (pathOf (outputFolder, device.name), device.identifier, O_WRONLY | O_APPEND);

    if (fd < 0)
        return nullptr;

    return std::make_unique<Output> (fd);
}
