// JUCE's X11 connection and its loop's file descriptors, reached as JUCE's other
// modules and its plug-in wrappers reach them.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "common/gui/CEventLoopWaker.h"

#if JUCE_LINUX || JUCE_BSD
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <unistd.h>

namespace
{
    constexpr int quitSignals[] = { SIGTERM, SIGHUP };

    // The pipe's write end while a waker listens, for the signal handler.
    volatile std::sig_atomic_t signalPipe = -1;

    // Async-signal-safe: one byte, the signal's number, into the pipe.
    void writeSignalToPipe (int signal)
    {
        const auto savedErrno = errno;
        const auto byte = (char) signal;
        juce::ignoreUnused (::write (signalPipe, &byte, 1));
        errno = savedErrno;
    }

    void setQuitSignalsHandler (void (*handler) (int))
    {
        struct sigaction action = {};
        action.sa_handler = handler;
        action.sa_flags = SA_RESTART;
        sigemptyset (&action.sa_mask);

        for (const auto signal : quitSignals)
            ::sigaction (signal, &action, nullptr);
    }

    int getXConnection()
    {
        auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
        auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
        return display != nullptr ? juce::X11Symbols::getInstance()->xConnectionNumber (display) : -1;
    }

    // JUCE's own handler for the connection: it takes what Xlib holds before reading
    // more, and returns at once when there is nothing. Xlib's queue alone would not
    // tell: what its calls read may wait in the queue of the library below it (xcb),
    // which the handler's XPending looks into and the queue's length does not.
    void handOverXlibQueue()
    {
        if (const auto connection = getXConnection(); connection >= 0)
            juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (connection);
    }

    // Of the descriptors that the loop watches, the message queue's is the one that is
    // neither the X connection's nor ours; -1 when that does not leave exactly one.
    int findMessageQueue (int ours)
    {
        auto descriptors = juce::LinuxEventLoopInternal::getRegisteredFds();
        const auto connection = getXConnection();
        std::erase_if (descriptors, [&] (int fd) { return fd == ours || fd == connection; });

        // If you hit this assertion, the loop watches a descriptor that this class does not
        // know of: the message queue cannot be told from it, and the list of a round's
        // callbacks may have to grow inside a modal loop.
        jassert (descriptors.size() == 1);
        return descriptors.size() == 1 ? descriptors.front() : -1;
    }
}
#endif

CEventLoopWaker::CEventLoopWaker()
{
    // The desktop opens the X connection, whose descriptor the loop watches from then on.
    juce::Desktop::getInstance().addFocusChangeListener (this);

#if JUCE_LINUX || JUCE_BSD
    if (::pipe2 (pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
    {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }

    juce::LinuxEventLoop::registerFdCallback (pipeEnds[0], [this] (int) { woken(); });

    if (const auto queue = findMessageQueue (pipeEnds[0]); queue >= 0)
    {
        // Numbered above the queue's, so that its callback follows the queue's.
        queueDuplicate = ::fcntl (queue, F_DUPFD_CLOEXEC, queue + 1);

        if (queueDuplicate >= 0)
            juce::LinuxEventLoop::registerFdCallback (queueDuplicate, [] (int) { handOverXlibQueue(); });
    }

    // The first round: the queue, its duplicate and the pipe ready at once.
    juce::MessageManager::callAsync ([] {});
    wakeForQuit();

    signalPipe = pipeEnds[1];
    setQuitSignalsHandler (writeSignalToPipe);
#endif
}

CEventLoopWaker::~CEventLoopWaker()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);

#if JUCE_LINUX || JUCE_BSD
    if (pipeEnds[0] >= 0)
    {
        setQuitSignalsHandler (SIG_DFL);
        signalPipe = -1;

        juce::LinuxEventLoop::unregisterFdCallback (pipeEnds[0]);
        ::close (pipeEnds[0]);
        ::close (pipeEnds[1]);
    }

    // Left watched after the queue has gone, it would be ready for ever: its end of the
    // queue's socket pair reads the end of the file.
    if (queueDuplicate >= 0)
    {
        juce::LinuxEventLoop::unregisterFdCallback (queueDuplicate);
        ::close (queueDuplicate);
    }
#endif
}

void CEventLoopWaker::globalFocusChanged (juce::Component*)
{
#if JUCE_LINUX || JUCE_BSD
    // Whatever the handler handles may change the focus again; that needs no second turn.
    if (! handingOver)
    {
        const juce::ScopedValueSetter<bool> once (handingOver, true);
        handOverXlibQueue();
    }
#endif
}

void CEventLoopWaker::woken()
{
#if JUCE_LINUX || JUCE_BSD
    char bytes[64];
    bool signalled = false;

    for (ssize_t count; (count = ::read (pipeEnds[0], bytes, sizeof (bytes))) > 0;)
        signalled = signalled || std::any_of (bytes, bytes + count, [] (char byte) { return byte != 0; });

    // What JUCE's loop does on SIGINT.
    if (signalled)
    {
        juce::JUCEApplicationBase::quit();
        wakeForQuit();
    }
#endif
}

void CEventLoopWaker::wakeForQuit()
{
#if JUCE_LINUX || JUCE_BSD
    // A write that fails finds the pipe full, which wakes the loop already.
    const char byte = 0;

    if (pipeEnds[1] >= 0)
        juce::ignoreUnused (::write (pipeEnds[1], &byte, 1));
#endif
}
