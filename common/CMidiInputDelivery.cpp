#include "common/CMidiInputDelivery.h"

CMidiInputDelivery::CMidiInputDelivery (juce::MidiInputCallback* callbackToUse,
                                        std::shared_ptr<juce::CriticalSection> lock)
    : callback (callbackToUse), callbackLock (std::move (lock))
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
    const juce::ScopedLock sl (*callbackLock);

    if (! started.load() || callback == nullptr)
        return;

    juce::MidiMessage stamped (message);
    stamped.setTimeStamp (juce::Time::getMillisecondCounterHiRes() * 0.001);
    callback->handleIncomingMidiMessage (nullptr, stamped);
}
