#include "engine/VlamCCContinuos.h"

#include "common/CXmlHelpers.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

VlamCCContinuos::VlamCCContinuos() = default;

VlamCCContinuos::VlamCCContinuos (const VlamCCContinuos& other)
    : VlamControlChange (other),
      minValue (other.minValue),
      maxValue (other.maxValue)
{
}

VlamCCContinuos::~VlamCCContinuos() = default;

void VlamCCContinuos::saveToXml (juce::XmlElement& element) const
{
    VlamControlChange::saveToXml (element);
    element.setAttribute (VlXml::minValue, (int) minValue);
    element.setAttribute (VlXml::maxValue, (int) maxValue);
}

bool VlamCCContinuos::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlamControlChange::loadFromXml (element, patchOffset)
        || ! hasAttributes (element, { VlXml::minValue, VlXml::maxValue }))
        return false;

    minValue = (juce::uint8) CXml::getInt (element, VlXml::minValue);
    maxValue = (juce::uint8) CXml::getInt (element, VlXml::maxValue);
    return true;
}

void VlamCCContinuos::addProperties (VlPropertyRows& rows) const
{
    VlamControlChange::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("min value", PropertyId::ccMinValue));
    rows.push_back (VlPropertyRow::choice ("max value", PropertyId::ccMaxValue));
}

void VlamCCContinuos::execute (juce::uint8 pedalValue)
{
    // A stored minimum or maximum above 127 must not become a status byte.
    const auto mapped = (juce::uint8) juce::jlimit (0, 127, mapPedalValue (minValue, maxValue, pedalValue));
    if (mapped == lastSent && ! resendsUnchangedValues())
        return;

    sendValue (mapped);
    lastSent = mapped;
}

std::unique_ptr<VlAction> VlamCCContinuos::clone() const
{
    return std::make_unique<VlamCCContinuos> (*this);
}
