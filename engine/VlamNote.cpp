#include "engine/VlamNote.h"

#include "common/CXmlHelpers.h"
#include "engine/VlXmlVocabulary.h"

VlamNote::VlamNote()
    : VlaMidi (VlNames::midiNote)
{
}

VlamNote::VlamNote (const VlamNote&) = default;

VlamNote::~VlamNote() = default;

juce::String VlamNote::getElementName() const
{
    return VlXml::note.toString();
}

void VlamNote::saveToXml (juce::XmlElement& element) const
{
    VlaMidi::saveToXml (element);
    element.setAttribute (VlXml::number, (int) number);
    element.setAttribute (VlXml::velocity, (int) velocity);
}

bool VlamNote::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlaMidi::loadFromXml (element, patchOffset) || ! hasAttributes (element, { VlXml::number, VlXml::velocity }))
        return false;

    number = (juce::uint8) CXml::getInt (element, VlXml::number);
    velocity = (juce::uint8) CXml::getInt (element, VlXml::velocity);
    return true;
}

void VlamNote::addProperties (VlPropertyRows& rows) const
{
    VlaMidi::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("number", PropertyId::noteNumber));
    rows.push_back (VlPropertyRow::choice ("velocity", PropertyId::velocity));
}

void VlamNote::execute (juce::uint8 value)
{
    const auto note = number & 0x7f;

    if (value != 0)
        send (juce::MidiMessage::noteOn (getValidChannel(), note, velocity));
    else
        send (juce::MidiMessage::noteOff (getValidChannel(), note, (juce::uint8) 0));
}

std::unique_ptr<VlAction> VlamNote::clone() const
{
    return std::make_unique<VlamNote> (*this);
}
