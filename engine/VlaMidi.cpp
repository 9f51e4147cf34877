#include "engine/VlaMidi.h"

#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlXmlVocabulary.h"

VlaMidi::VlaMidi (const juce::String& typeName)
    : VlAction (typeName)
{
}

VlaMidi::VlaMidi (const VlaMidi&) = default;

VlaMidi::~VlaMidi() = default;

void VlaMidi::saveToXml (juce::XmlElement& element) const
{
    VlAction::saveToXml (element);
    element.setAttribute (VlXml::device, device);
    element.setAttribute (VlXml::channel, (int) channel);
}

bool VlaMidi::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlAction::loadFromXml (element, patchOffset))
        return false;

    const auto* deviceText = CXml::findAttribute (element, VlXml::device);
    const auto* channelText = deviceText != nullptr ? CXml::findAttribute (element, VlXml::channel) : nullptr;

    if (channelText == nullptr)
        return false;

    device = *deviceText;
    channel = (juce::uint8) channelText->getIntValue();
    return true;
}

void VlaMidi::addProperties (VlPropertyRows& rows) const
{
    VlAction::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("device", PropertyId::midiDevice));
    rows.push_back (VlPropertyRow::choice ("channel", PropertyId::midiChannel));
}

int VlaMidi::getValidChannel() const noexcept
{
    return juce::jlimit (1, 16, (int) channel);
}

void VlaMidi::send (const juce::MidiMessage& message) const
{
    if (auto* engine = getEngine())
        engine->sendMidiMessage (device, message);
}
