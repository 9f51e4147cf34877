#include "common/CMidiDevices.h"

#include "common/CMidiInputLock.h"

namespace
{
    constexpr int checkIntervalMs = 1500;

    const CMidiPortInfo* findFirstNamed (const juce::Array<CMidiPortInfo>& present, const juce::String& name)
    {
        for (auto& device : present)
            if (device.name == name)
                return &device;

        return nullptr;
    }

    /*  Closes the open entries that are no longer wanted, or whose device (the
        identifier they were opened under) is gone, then opens the wanted names
        that are present and not open. A device plugged in again has a new
        identifier: it is closed and opened again in the same pass. Returns true
        when anything was closed or opened.

        Every open, stop and delete raises the port-change signal: JUCE's ALSA
        client takes the lock that it holds around input callbacks for all of
        them, so a callback waiting for the message-manager lock must give up.
    */
    template <typename OpenMap, typename Open, typename Start, typename Stop>
    bool reconcile (const juce::StringArray& wanted, OpenMap& open, const juce::Array<CMidiPortInfo>& present,
                    Open&& openPort, Start&& start, Stop&& stop)
    {
        bool changed = false;

        for (auto it = open.begin(); it != open.end();)
        {
            if (wanted.contains (it->first) && present.contains ({ it->first, it->second.identifier }))
            {
                ++it;
                continue;
            }

            {
                const CMidiInputLock::ScopedPortChange change;
                stop (*it->second.port);
                it->second.port.reset();
            }

            it = open.erase (it);
            changed = true;
        }

        for (auto& name : wanted)
        {
            auto* device = findFirstNamed (present, name);

            if (device == nullptr || open.count (name) != 0)
                continue;

            const CMidiInputLock::ScopedPortChange change;

            if (auto port = openPort (*device))
            {
                auto& entry = open[name] = { device->identifier, std::move (port) };
                start (*entry.port);
                changed = true;
            }
        }

        return changed;
    }
}

//==============================================================================
CMidiDevices::CMidiDevices (juce::MidiInputCallback* ownerToUse, std::unique_ptr<CMidiPorts> portsToUse)
    : ports (portsToUse != nullptr ? std::move (portsToUse) : CMidiPorts::createDefault()),
      owner (ownerToUse)
{
    startTimer (checkIntervalMs);
}

CMidiDevices::~CMidiDevices()
{
    stopTimer();
    clearInputs();
    reconcileInputs();
    clearOutputs();
    reconcileOutputs();
}

//==============================================================================
void CMidiDevices::addInput (const juce::String& name)
{
    wantedInputs.addIfNotAlreadyThere (name);
}
void CMidiDevices::removeInput (const juce::String& name)
{
    wantedInputs.removeString (name);
}
void CMidiDevices::clearInputs()
{
    wantedInputs.clear();
}

void CMidiDevices::addOutput (const juce::String& name)
{
    wantedOutputs.addIfNotAlreadyThere (name);
}
void CMidiDevices::clearOutputs()
{
    wantedOutputs.clear();
}

//==============================================================================
void CMidiDevices::updateInputs()
{
    if (reconcileInputs())
        sendChangeMessage();
}

void CMidiDevices::updateOutputs()
{
    if (reconcileOutputs())
        sendChangeMessage();
}

bool CMidiDevices::reconcileInputs()
{
    return reconcile (
        wantedInputs, openInputs, ports->getInputs(),
        [this] (const CMidiPortInfo& device) { return ports->openInput (device, owner); },
        [] (CMidiInputPort& port) { port.start(); }, [] (CMidiInputPort& port) { port.stop(); });
}

bool CMidiDevices::reconcileOutputs()
{
    return reconcile (
        wantedOutputs, openOutputs, ports->getOutputs(),
        [this] (const CMidiPortInfo& device) { return ports->openOutput (device); },
        [] (CMidiOutputPort& port) { port.startBackgroundThread(); },
        [] (CMidiOutputPort& port) { port.stopBackgroundThread(); });
}

//==============================================================================
CMidiInputPort* CMidiDevices::getOpenInput (const juce::String& name) const
{
    auto it = openInputs.find (name);
    return it != openInputs.end() ? it->second.port.get() : nullptr;
}

CMidiOutputPort* CMidiDevices::getOpenOutput (const juce::String& name) const
{
    auto it = openOutputs.find (name);
    return it != openOutputs.end() ? it->second.port.get() : nullptr;
}

void CMidiDevices::timerCallback()
{
    updateInputs();
    updateOutputs();
}
