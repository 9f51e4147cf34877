#include "engine/VlExecutionStage.h"

#include "common/CXmlHelpers.h"
#include "engine/VlXmlVocabulary.h"

void VlExecutionStage::saveToXml (juce::XmlElement& element) const
{
    element.setAttribute (VlXml::stage, (int) stage);
}

bool VlExecutionStage::loadFromXml (const juce::XmlElement& element, juce::uint16)
{
    const auto* text = CXml::findAttribute (element, VlXml::stage);

    if (text == nullptr)
        return false;

    stage = (juce::uint8) text->getIntValue();
    return true;
}

void VlExecutionStage::addProperties (VlPropertyRows& rows) const
{
    rows.push_back (VlPropertyRow::choice ("execute at", PropertyId::executeAt));
}
