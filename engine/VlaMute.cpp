#include "engine/VlaMute.h"

#include "common/CXmlHelpers.h"
#include "engine/VlControlCfg.h"
#include "engine/VlPatch.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

namespace
{
    VlControlCfg* pedalOf (VlPatch* patch, int controlId)
    {
        return patch != nullptr && isPedalId (controlId) ? patch->getControl (controlId) : nullptr;
    }
}

VlaMute::VlaMute()
    : VlaPatch (VlNames::muteExprPedal)
{
}

VlaMute::VlaMute (const VlaMute& other)
    : VlaPatch (other),
      pedal (other.pedal),
      pendingPedal (other.pendingPedal),
      muteSwitch (other.muteSwitch)
{
}

VlaMute::~VlaMute() = default;

void VlaMute::setPatch (juce::uint16 index)
{
    VlaPatch::setPatch (index);
    pendingPedal.reset();

    pedal = pedalOf (patch, FirstPedalId);

    if (pedal == nullptr)
        pedal = pedalOf (patch, SecondPedalId);
}

void VlaMute::setPedalId (int controlId)
{
    if (patch != nullptr)
        pedal = pedalOf (patch, controlId);
}

int VlaMute::getPedalId() const
{
    return patch != nullptr && pedal != nullptr ? patch->getIdOfControl (pedal) : -1;
}

bool VlaMute::resolveReferences()
{
    const auto pedalId = pendingPedal;
    pendingPedal.reset();

    if (! VlaPatch::resolveReferences())
    {
        pedal = nullptr;
        return false;
    }

    if (pedalId.has_value())
        pedal = pedalOf (patch, *pedalId);

    return pedal != nullptr;
}

bool VlaMute::refersToControl (const VlControlCfg& control) const
{
    return pedal == &control;
}

void VlaMute::forgetTargets (const std::set<const VlPatch*>& patches, const std::set<const VlControlCfg*>& controls)
{
    VlaPatch::forgetTargets (patches, controls);

    if (patch == nullptr || controls.count (pedal) != 0)
        pedal = nullptr;
}

juce::String VlaMute::getElementName() const
{
    return VlXml::mute.toString();
}

void VlaMute::saveToXml (juce::XmlElement& element) const
{
    VlaPatch::saveToXml (element);
    element.setAttribute (VlXml::pedal, getPedalId());
    element.setAttribute (VlXml::muteSwitch, (int) muteSwitch);
}

bool VlaMute::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlaPatch::loadFromXml (element, patchOffset)
        || ! hasAttributes (element, { VlXml::pedal, VlXml::muteSwitch }))
        return false;

    pedal = nullptr;
    pendingPedal = CXml::getInt (element, VlXml::pedal);
    muteSwitch = (juce::uint8) CXml::getInt (element, VlXml::muteSwitch);
    return true;
}

void VlaMute::addProperties (VlPropertyRows& rows) const
{
    VlaPatch::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("patch", PropertyId::mutePatch));
    rows.push_back (VlPropertyRow::choice ("pedal", PropertyId::mutePedal));
    rows.push_back (VlPropertyRow::choice ("action", PropertyId::muteSwitch));
}

void VlaMute::execute (juce::uint8 value)
{
    if (value == 0 && pedal != nullptr)
        pedal->setMuted (muteSwitch == 1);
}

std::unique_ptr<VlAction> VlaMute::clone() const
{
    return std::make_unique<VlaMute> (*this);
}
