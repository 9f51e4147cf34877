#include "common/gui/CWindowBuffers.h"

CWindowBuffers::CWindowBuffers()
{
#if JUCE_LINUX || JUCE_BSD
    startTimer (1000);
#endif
}

CWindowBuffers::~CWindowBuffers() = default;

void CWindowBuffers::timerCallback()
{
    auto& desktop = juce::Desktop::getInstance();

    for (int i = desktop.getNumComponents(); --i >= 0;)
    {
        auto* window = desktop.getComponent (i);
        auto* peer = window->getPeer();

        // JUCE closes what is open over a window as the window manager configures it only
        // for a window with a native title bar.
        if (peer != nullptr && window->isShowing()
            && (peer->getStyleFlags() & juce::ComponentPeer::windowHasTitleBar) != 0)
            window->repaint (0, 0, 1, 1);
    }
}
