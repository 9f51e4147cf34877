#include "common/CJuceMidiPorts.h"

namespace
{
    juce::Array<CMidiPortInfo> toPortInfos (const juce::Array<juce::MidiDeviceInfo>& devices)
    {
        juce::Array<CMidiPortInfo> result;

        for (auto& device : devices)
            result.add ({ device.name, device.identifier });

        return result;
    }

    class JuceInput : public CMidiInputPort
    {
    public:
        explicit JuceInput (std::unique_ptr<juce::MidiInput> inputToUse)
            : input (std::move (inputToUse))
        {
        }

        void start() override { input->start(); }
        void stop() override { input->stop(); }

    private:
        std::unique_ptr<juce::MidiInput> input;
    };

    class JuceOutput : public CMidiOutputPort
    {
    public:
        explicit JuceOutput (std::unique_ptr<juce::MidiOutput> outputToUse)
            : output (std::move (outputToUse))
        {
        }

        void sendMessageNow (const juce::MidiMessage& message) override { output->sendMessageNow (message); }
        void startBackgroundThread() override { output->startBackgroundThread(); }
        void stopBackgroundThread() override { output->stopBackgroundThread(); }

    private:
        std::unique_ptr<juce::MidiOutput> output;
    };
}

juce::Array<CMidiPortInfo> CJuceMidiPorts::getInputs()
{
    return toPortInfos (juce::MidiInput::getAvailableDevices());
}

juce::Array<CMidiPortInfo> CJuceMidiPorts::getOutputs()
{
    return toPortInfos (juce::MidiOutput::getAvailableDevices());
}

std::unique_ptr<CMidiInputPort> CJuceMidiPorts::openInput (const CMidiPortInfo& device,
                                                           juce::MidiInputCallback* callback)
{
    if (auto input = juce::MidiInput::openDevice (device.identifier, callback))
        return std::make_unique<JuceInput> (std::move (input));

    return nullptr;
}

std::unique_ptr<CMidiOutputPort> CJuceMidiPorts::openOutput (const CMidiPortInfo& device)
{
    if (auto output = juce::MidiOutput::openDevice (device.identifier))
        return std::make_unique<JuceOutput> (std::move (output));

    return nullptr;
}
