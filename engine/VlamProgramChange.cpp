#include "engine/VlamProgramChange.h"

#include "common/CXmlHelpers.h"
#include "engine/VlXmlVocabulary.h"

VlamProgramChange::VlamProgramChange()
    : VlaMidi (VlNames::midiProgramChange)
{
}

VlamProgramChange::VlamProgramChange (const VlamProgramChange&) = default;

VlamProgramChange::~VlamProgramChange() = default;

juce::String VlamProgramChange::getElementName() const
{
    return VlXml::pc.toString();
}

void VlamProgramChange::saveToXml (juce::XmlElement& element) const
{
    VlaMidi::saveToXml (element);
    VlExecutionStage::saveToXml (element);
    element.setAttribute (VlXml::program, (int) program);
}

bool VlamProgramChange::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlaMidi::loadFromXml (element, patchOffset) || ! VlExecutionStage::loadFromXml (element, patchOffset)
        || ! hasAttributes (element, { VlXml::program }))
        return false;

    program = (juce::uint8) CXml::getInt (element, VlXml::program);
    return true;
}

void VlamProgramChange::addProperties (VlPropertyRows& rows) const
{
    VlaMidi::addProperties (rows);
    VlExecutionStage::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("program", PropertyId::program));
}

void VlamProgramChange::execute (juce::uint8 pressed)
{
    if (runsAt (pressed))
        send (juce::MidiMessage::programChange (getValidChannel(), program & 0x7f));
}

std::unique_ptr<VlAction> VlamProgramChange::clone() const
{
    return std::make_unique<VlamProgramChange> (*this);
}
