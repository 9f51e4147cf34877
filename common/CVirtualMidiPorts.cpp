#include "common/CVirtualMidiPorts.h"

#include "common/CMidiInputDelivery.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

//==============================================================================
struct CVirtualMidiPorts::Devices
{
    struct Device
    {
        CMidiPortInfo info;
        bool isInput;
        int failingOpens = 0;
    };

    // Lock order: callbackLock, then mutex, then an input's queue lock.
    std::shared_ptr<juce::CriticalSection> callbackLock = std::make_shared<juce::CriticalSection>();
    mutable std::mutex mutex;
    std::vector<Device> present;
    int numPlugged = 0;
    std::vector<Input*> openInputs;
    std::map<juce::String, int> numOpenPorts;
    std::vector<std::pair<juce::String, juce::MidiMessage>> sent;
    juce::StringArray events;

    Device* find (const juce::String& identifier)
    {
        for (auto& device : present)
            if (device.info.identifier == identifier)
                return &device;

        return nullptr;
    }

    juce::String plug (const juce::String& name, bool isInput)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        auto identifier = name + "#" + juce::String (++numPlugged);
        present.push_back ({ { name, identifier }, isInput });
        return identifier;
    }

    juce::Array<CMidiPortInfo> list (bool inputs) const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        juce::Array<CMidiPortInfo> result;

        for (auto& device : present)
            if (device.isInput == inputs)
                result.add (device.info);

        return result;
    }

    // Under the mutex: true when the open may go ahead, and counts the port.
    bool beginOpen (const juce::String& identifier, bool isInput)
    {
        auto* device = find (identifier);

        if (device == nullptr || device->isInput != isInput || device->failingOpens > 0)
        {
            if (device != nullptr && device->failingOpens > 0)
                --device->failingOpens;

            events.add ("fail " + identifier);
            return false;
        }

        ++numOpenPorts[identifier];
        events.add ((isInput ? "open in " : "open out ") + identifier);
        return true;
    }

    // Under the mutex.
    void endOpen (const juce::String& identifier, bool isInput)
    {
        if (--numOpenPorts[identifier] == 0)
            numOpenPorts.erase (identifier);

        events.add ((isInput ? "close in " : "close out ") + identifier);
    }

    void log (const juce::String& event)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        events.add (event);
    }
};

//==============================================================================
class CVirtualMidiPorts::Input : public CMidiInputPort
{
public:
    Input (std::shared_ptr<Devices> devicesToUse, const juce::String& identifierToUse,
           juce::MidiInputCallback* callback)
        : devices (std::move (devicesToUse)),
          identifier (identifierToUse),
          delivery (callback, devices->callbackLock),
          thread ([this] { run(); })
    {
    }

    ~Input() override
    {
        delivery.stop();

        {
            // Deleting a port takes the callback lock, as JUCE's does.
            const juce::ScopedLock cl (*devices->callbackLock);
            const std::lock_guard<std::mutex> lock (devices->mutex);
            std::erase (devices->openInputs, this);
            devices->endOpen (identifier, true);
        }

        {
            const std::lock_guard<std::mutex> lock (queueMutex);
            quitting = true;
        }

        queueChanged.notify_one();
        thread.join();
    }

    void start() override
    {
        delivery.start();
        devices->log ("start in " + identifier);
    }

    void stop() override
    {
        delivery.stop();
        devices->log ("stop in " + identifier);
    }

    const juce::String& getIdentifier() const noexcept { return identifier; }
    bool isStarted() const noexcept { return delivery.isStarted(); }

    void push (const juce::MidiMessage& message)
    {
        {
            const std::lock_guard<std::mutex> lock (queueMutex);
            queue.push_back (message);
        }

        queueChanged.notify_one();
    }

private:
    void run()
    {
        for (;;)
        {
            juce::MidiMessage message;

            {
                std::unique_lock<std::mutex> lock (queueMutex);
                queueChanged.wait (lock, [this] { return quitting || ! queue.empty(); });

                if (quitting)
                    return;

                message = queue.front();
                queue.pop_front();
            }

            delivery.deliver (message);
        }
    }

    std::shared_ptr<Devices> devices;
    juce::String identifier;
    CMidiInputDelivery delivery;
    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<juce::MidiMessage> queue;
    bool quitting = false;
    std::thread thread;    // last: it runs as soon as it is made
};

//==============================================================================
class CVirtualMidiPorts::Output : public CMidiOutputPort
{
public:
    Output (std::shared_ptr<Devices> devicesToUse, const juce::String& identifierToUse)
        : devices (std::move (devicesToUse)),
          identifier (identifierToUse)
    {
    }

    ~Output() override
    {
        const juce::ScopedLock cl (*devices->callbackLock);
        const std::lock_guard<std::mutex> lock (devices->mutex);
        devices->endOpen (identifier, false);
    }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        const std::lock_guard<std::mutex> lock (devices->mutex);

        if (devices->find (identifier) != nullptr)
            devices->sent.emplace_back (identifier, message);
    }

    void startBackgroundThread() override { devices->log ("start thread " + identifier); }
    void stopBackgroundThread() override { devices->log ("stop thread " + identifier); }

private:
    std::shared_ptr<Devices> devices;
    juce::String identifier;
};

//==============================================================================
CVirtualMidiPorts::CVirtualMidiPorts()
    : devices (std::make_shared<Devices>())
{
}

CVirtualMidiPorts::~CVirtualMidiPorts() = default;

std::unique_ptr<CVirtualMidiPorts> CVirtualMidiPorts::share() const
{
    auto handle = std::make_unique<CVirtualMidiPorts>();
    handle->devices = devices;
    return handle;
}

juce::String CVirtualMidiPorts::plugInput (const juce::String& name)
{
    return devices->plug (name, true);
}
juce::String CVirtualMidiPorts::plugOutput (const juce::String& name)
{
    return devices->plug (name, false);
}

bool CVirtualMidiPorts::unplug (const juce::String& identifier)
{
    const std::lock_guard<std::mutex> lock (devices->mutex);
    return std::erase_if (devices->present, [&] (auto& d) { return d.info.identifier == identifier; }) > 0;
}

void CVirtualMidiPorts::failNextOpen (const juce::String& identifier)
{
    const std::lock_guard<std::mutex> lock (devices->mutex);

    if (auto* device = devices->find (identifier))
        ++device->failingOpens;
}

bool CVirtualMidiPorts::injectMessage (const juce::String& identifier, const juce::MidiMessage& message)
{
    const std::lock_guard<std::mutex> lock (devices->mutex);

    if (devices->find (identifier) == nullptr)
        return false;

    bool queued = false;

    for (auto* input : devices->openInputs)
    {
        if (input->getIdentifier() == identifier && input->isStarted())
        {
            input->push (message);
            queued = true;
        }
    }

    return queued;
}

juce::Array<juce::MidiMessage> CVirtualMidiPorts::getSentMessages (const juce::String& identifier) const
{
    const std::lock_guard<std::mutex> lock (devices->mutex);
    juce::Array<juce::MidiMessage> result;

    for (auto& [to, message] : devices->sent)
        if (to == identifier)
            result.add (message);

    return result;
}

bool CVirtualMidiPorts::isOpen (const juce::String& identifier) const
{
    const std::lock_guard<std::mutex> lock (devices->mutex);
    return devices->numOpenPorts.count (identifier) > 0;
}

juce::StringArray CVirtualMidiPorts::getEvents() const
{
    const std::lock_guard<std::mutex> lock (devices->mutex);
    return devices->events;
}

void CVirtualMidiPorts::clearEvents()
{
    const std::lock_guard<std::mutex> lock (devices->mutex);
    devices->events.clear();
}

//==============================================================================
juce::Array<CMidiPortInfo> CVirtualMidiPorts::getInputs()
{
    return devices->list (true);
}
juce::Array<CMidiPortInfo> CVirtualMidiPorts::getOutputs()
{
    return devices->list (false);
}

std::unique_ptr<CMidiInputPort> CVirtualMidiPorts::openInput (const CMidiPortInfo& device,
                                                              juce::MidiInputCallback* callback)
{
    // Opening a port takes the callback lock, as JUCE's does.
    const juce::ScopedLock cl (*devices->callbackLock);
    const std::lock_guard<std::mutex> lock (devices->mutex);

    if (! devices->beginOpen (device.identifier, true))
        return nullptr;

    auto input = std::make_unique<Input> (devices, device.identifier, callback);
    devices->openInputs.push_back (input.get());
    return input;
}

std::unique_ptr<CMidiOutputPort> CVirtualMidiPorts::openOutput (const CMidiPortInfo& device)
{
    const juce::ScopedLock cl (*devices->callbackLock);
    const std::lock_guard<std::mutex> lock (devices->mutex);

    if (! devices->beginOpen (device.identifier, false))
        return nullptr;

    return std::make_unique<Output> (devices, device.identifier);
}
