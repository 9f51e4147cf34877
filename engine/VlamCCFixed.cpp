#include "engine/VlamCCFixed.h"

#include "common/CXmlHelpers.h"
#include "engine/VlXmlVocabulary.h"

VlamCCFixed::VlamCCFixed() = default;

VlamCCFixed::VlamCCFixed (const VlamCCFixed&) = default;

VlamCCFixed::~VlamCCFixed() = default;

void VlamCCFixed::saveToXml (juce::XmlElement& element) const
{
    VlamControlChange::saveToXml (element);
    VlExecutionStage::saveToXml (element);
    element.setAttribute (VlXml::value, (int) value);
}

bool VlamCCFixed::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlamControlChange::loadFromXml (element, patchOffset)
        || ! VlExecutionStage::loadFromXml (element, patchOffset) || ! hasAttributes (element, { VlXml::value }))
        return false;

    value = (juce::uint8) CXml::getInt (element, VlXml::value);
    return true;
}

void VlamCCFixed::addProperties (VlPropertyRows& rows) const
{
    VlamControlChange::addProperties (rows);
    VlExecutionStage::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("value", PropertyId::ccValue));
}

void VlamCCFixed::execute (juce::uint8 pressed)
{
    if (runsAt (pressed))
        sendValue (value);
}

std::unique_ptr<VlAction> VlamCCFixed::clone() const
{
    return std::make_unique<VlamCCFixed> (*this);
}
