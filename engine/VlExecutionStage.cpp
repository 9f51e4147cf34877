#include "engine/VlExecutionStage.h"

#include "common/CXmlHelpers.h"
#include "engine/VlXmlVocabulary.h"

void VlExecutionStage::saveToXml (juce::XmlElement& element) const
{
    element.setAttribute (VlXml::stage, (int) stage);
}

bool VlExecutionStage::loadFromXml (const juce::XmlElement& element, juce::uint16)
{
    if (! CXml::hasAttribute (element, VlXml::stage))
        return false;

    stage = (juce::uint8) CXml::getInt (element, VlXml::stage);
    return true;
}
