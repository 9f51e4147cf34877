#include "engine/VlamControlChange.h"

#include "common/CXmlHelpers.h"
#include "engine/VlXmlVocabulary.h"

VlamControlChange::VlamControlChange()
    : VlaMidi (VlNames::midiControlChange)
{
}

VlamControlChange::VlamControlChange (const VlamControlChange&) = default;

VlamControlChange::~VlamControlChange() = default;

juce::String VlamControlChange::getElementName() const
{
    return VlXml::cc.toString();
}

void VlamControlChange::saveToXml (juce::XmlElement& element) const
{
    VlaMidi::saveToXml (element);
    element.setAttribute (VlXml::controller, (int) controller);
}

bool VlamControlChange::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlaMidi::loadFromXml (element, patchOffset) || ! hasAttributes (element, { VlXml::controller }))
        return false;

    controller = (juce::uint8) CXml::getInt (element, VlXml::controller);
    return true;
}

void VlamControlChange::addProperties (VlPropertyRows& rows) const
{
    VlaMidi::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("controller", PropertyId::controller));
}

void VlamControlChange::sendValue (int value) const
{
    send (juce::MidiMessage::controllerEvent (getValidChannel(), controller & 0x7f, value & 0x7f));
}
