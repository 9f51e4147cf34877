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
    */
    template <typename OpenMap, typename Close, typename Open>
    bool reconcile (const juce::StringArray& wanted, OpenMap& open, const juce::Array<CMidiPortInfo>& present,
                    Close&& close, Open&& openDevice)
    {
        bool changed = false;

        for (auto it = open.begin(); it != open.end();)
        {
            const CMidiPortInfo opened { it->first, it->second.identifier };

            if (wanted.contains (it->first) && present.contains (opened))
            {
                ++it;
                continue;
            }

            close (it->second.port);
            it = open.erase (it);
            changed = true;
        }

        for (auto& name : wanted)
        {
            if (open.count (name) != 0)
                continue;

            if (auto* device = findFirstNamed (present, name))
                if (openDevice (name, *device))
                    changed = true;
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
void CMidiDevices::addInput (const juce::String& name)     { wantedInputs.addIfNotAlreadyThere (name); }
void CMidiDevices::removeInput (const juce::String& name)  { wantedInputs.removeString (name); }
void CMidiDevices::clearInputs()                           { wantedInputs.clear(); }

void CMidiDevices::addOutput (const juce::String& name)    { wantedOutputs.addIfNotAlreadyThere (name); }
void CMidiDevices::clearOutputs()                          { wantedOutputs.clear(); }

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

// Every open, stop and delete of a port raises the port-change signal: JUCE's
// ALSA client takes the lock that an input callback holds for all of them, so an
// input callback waiting for the message-manager lock must give up first.
bool CMidiDevices::reconcileInputs()
{
    auto close = [] (std::unique_ptr<CMidiInputPort>& port)
    {
        const CMidiInputLock::ScopedPortChange change;
        port->stop();
        port.reset();
    };

    auto open = [this] (const juce::String& name, const CMidiPortInfo& device)
    {
        const CMidiInputLock::ScopedPortChange change;
        auto port = ports->openInput (device, owner);

        if (port == nullptr)
            return false;

        auto& entry = openInputs[name] = { device.identifier, std::move (port) };
        entry.port->start();
        return true;
    };

    return reconcile (wantedInputs, openInputs, ports->getInputs(), close, open);
}

bool CMidiDevices::reconcileOutputs()
{
    auto close = [] (std::unique_ptr<CMidiOutputPort>& port)
    {
        const CMidiInputLock::ScopedPortChange change;
        port->stopBackgroundThread();
        port.reset();
    };

    auto open = [this] (const juce::String& name, const CMidiPortInfo& device)
    {
        const CMidiInputLock::ScopedPortChange change;
        auto port = ports->openOutput (device);

        if (port == nullptr)
            return false;

        auto& entry = openOutputs[name] = { device.identifier, std::move (port) };
        entry.port->startBackgroundThread();
        return true;
    };

    return reconcile (wantedOutputs, openOutputs, ports->getOutputs(), close, open);
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
