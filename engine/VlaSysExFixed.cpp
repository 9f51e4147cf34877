#include "engine/VlaSysExFixed.h"

#include "engine/VlXmlVocabulary.h"

VlaSysExFixed::VlaSysExFixed() = default;

VlaSysExFixed::VlaSysExFixed (const VlaSysExFixed&) = default;

VlaSysExFixed::~VlaSysExFixed() = default;

juce::uint8 VlaSysExFixed::getDatumSize() const
{
    return 0;
}

juce::String VlaSysExFixed::getElementName() const
{
    return VlXml::sysex.toString();
}

void VlaSysExFixed::saveToXml (juce::XmlElement& element) const
{
    VlaSysEx::saveToXml (element);
    VlExecutionStage::saveToXml (element);
}

bool VlaSysExFixed::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    return VlaSysEx::loadFromXml (element, patchOffset) && VlExecutionStage::loadFromXml (element, patchOffset);
}

void VlaSysExFixed::addProperties (VlPropertyRows& rows) const
{
    VlaSysEx::addProperties (rows);
    VlExecutionStage::addProperties (rows);
}

void VlaSysExFixed::execute (juce::uint8 pressed)
{
    if (runsAt (pressed))
        sendBytes();
}

std::unique_ptr<VlAction> VlaSysExFixed::clone() const
{
    return std::make_unique<VlaSysExFixed> (*this);
}
