#include "common/CStMenuLock.h"

namespace
{
    juce::uint16 openModalCount = 0;

    juce::Array<CStMenuLock::Listener*>& listeners()
    {
        static juce::Array<CStMenuLock::Listener*> registered;
        return registered;
    }

    void tellListeners (bool locked)
    {
        // A copy: a listener may unregister itself (a window closed by the box).
        for (auto* listener : juce::Array<CStMenuLock::Listener*> (listeners()))
            if (listeners().contains (listener))
                listener->menuLockChanged (locked);
    }
}

CStMenuLock::CStMenuLock() noexcept
{
    // If you hit this, locks are leaking: something holds one for ever.
    jassert (openModalCount < std::numeric_limits<juce::uint16>::max());

    if (++openModalCount == 1)
        tellListeners (true);
}

CStMenuLock::~CStMenuLock()
{
    jassert (openModalCount > 0);

    if (--openModalCount == 0)
        tellListeners (false);
}

juce::uint16 CStMenuLock::counter() noexcept
{
    return openModalCount;
}

void CStMenuLock::addListener (Listener* listener)
{
    listeners().addIfNotAlreadyThere (listener);
}

void CStMenuLock::removeListener (Listener* listener)
{
    listeners().removeFirstMatchingValue (listener);
}
