#include "common/CStMenuLock.h"

namespace
{
    juce::uint16 openModalCount = 0;
}

CStMenuLock::CStMenuLock() noexcept
{
    // If you hit this, locks are leaking: something holds one for ever.
    jassert (openModalCount < std::numeric_limits<juce::uint16>::max());
    ++openModalCount;
}

CStMenuLock::~CStMenuLock()
{
    jassert (openModalCount > 0);
    --openModalCount;
}

juce::uint16 CStMenuLock::counter() noexcept
{
    return openModalCount;
}
