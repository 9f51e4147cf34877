#include "common/CMidiInputDelivery.h"

#include "common/CMidiInputLock.h"

#include <thread>

CMidiInputDelivery::CMidiInputDelivery (juce::MidiInputCallback* callbackToUse,
                                        std::shared_ptr<juce::CriticalSection> lock)
    : callback (callbackToUse),
      callbackLock (std::move (lock))
{
    jassert (callbackLock != nullptr);
}

CMidiInputDelivery::~CMidiInputDelivery()
{
    stop();
}

void CMidiInputDelivery::start() noexcept
{
    started = true;
}

void CMidiInputDelivery::stop()
{
    const juce::ScopedLock sl (*callbackLock);
    started = false;
}

void CMidiInputDelivery::deliver (const juce::MidiMessage& message)
{
    // Opening or closing a port waits for the callback lock, and a callback that comes
    // in meanwhile gives up and keeps its message. Taking the lock again at once for each
    // message behind would shut the main thread out: message after message would be kept,
    // up to the bound, and the rest dropped. Let the change through first.
    while (CMidiInputLock::isPortChangePending() && started.load()
           && ! juce::MessageManager::existsAndIsCurrentThread())
        std::this_thread::sleep_for (std::chrono::microseconds (100));

    const juce::ScopedLock sl (*callbackLock);

    if (! started.load() || callback == nullptr)
        return;

    juce::MidiMessage stamped (message);
    stamped.setTimeStamp (juce::Time::getMillisecondCounterHiRes() * 0.001);
    callback->handleIncomingMidiMessage (nullptr, stamped);
}
