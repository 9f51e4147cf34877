// JUCE's X11 connection and its loop's file descriptors, reached as JUCE's other
// modules and its plug-in wrappers reach them.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "common/gui/CEventLoopWaker.h"

#if JUCE_LINUX || JUCE_BSD
#include <fcntl.h>
#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <unistd.h>
#endif

CEventLoopWaker::CEventLoopWaker()
{
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

CEventLoopWaker::~CEventLoopWaker()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);

#if JUCE_LINUX || JUCE_BSD
    if (pipeEnds[0] >= 0)
    {
        juce::LinuxEventLoop::unregisterFdCallback (pipeEnds[0]);
        ::close (pipeEnds[0]);
        ::close (pipeEnds[1]);
    }
#endif
}

void CEventLoopWaker::globalFocusChanged (juce::Component*)
{
#if JUCE_LINUX || JUCE_BSD
    // JUCE's own handler for the connection: it takes what Xlib holds before reading
    // more. Whatever it handles may change the focus again; that needs no second turn.
    if (auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
        windowSystem != nullptr && ! handingOver)
    {
        if (auto* display = windowSystem->getDisplay())
        {
            const juce::ScopedValueSetter<bool> once (handingOver, true);
            juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (
                juce::X11Symbols::getInstance()->xConnectionNumber (display));
        }
    }
#endif
}

void CEventLoopWaker::wakeForQuit()
{
#if JUCE_LINUX || JUCE_BSD
    if (pipeEnds[0] < 0)
    {
        if (::pipe2 (pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        {
            pipeEnds[0] = pipeEnds[1] = -1;
            return;
        }

        juce::LinuxEventLoop::registerFdCallback (pipeEnds[0], [this] (int) {
            char bytes[64];

            while (::read (pipeEnds[0], bytes, sizeof (bytes)) > 0)
            {
            }
        });
    }

    // A write that fails finds the pipe full, which wakes the loop already.
    const char byte = 0;
    juce::ignoreUnused (::write (pipeEnds[1], &byte, 1));
#endif
}
