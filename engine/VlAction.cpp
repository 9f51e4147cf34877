#include "engine/VlAction.h"

#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlXmlVocabulary.h"
#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamCCFixed.h"
#include "engine/VlamNote.h"
#include "engine/VlamProgramChange.h"

VlAction::VlAction (const juce::String& name)
    : typeName (name)
{
}

VlAction::VlAction (const VlAction&) = default;

VlAction::~VlAction() = default;

bool VlAction::resolveReferences()
{
    return true;
}

bool VlAction::refersToPatch (const VlPatch&) const
{
    return false;
}

bool VlAction::refersToControl (const VlControlCfg&) const
{
    return false;
}

void VlAction::forgetTargets (const std::set<const VlPatch*>&, const std::set<const VlControlCfg*>&)
{
}

std::unique_ptr<juce::XmlElement> VlAction::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> (getElementName());
    saveToXml (*element);
    return element;
}

void VlAction::saveToXml (juce::XmlElement& element) const
{
    element.setAttribute (VlXml::comment, comment);
}

bool VlAction::loadFromXml (const juce::XmlElement& element, juce::uint16)
{
    const auto* text = CXml::findAttribute (element, VlXml::comment);

    if (text == nullptr)
        return false;

    comment = *text;
    return true;
}

void VlAction::addProperties (VlPropertyRows& rows) const
{
    rows.push_back (VlPropertyRow::text ("comment", PropertyId::actionComment, 1024, 75));
}

std::unique_ptr<VlAction> VlAction::createForTag (const juce::String& tag, bool footswitch)
{
    // Tested in this order: the first name that matches decides.
    if (footswitch)
    {
        if (CXml::equalsIgnoreCase (tag, VlXml::gotoPatch))
            return std::make_unique<VlaGoTo>();
        if (CXml::equalsIgnoreCase (tag, VlXml::mute))
            return std::make_unique<VlaMute>();
        if (CXml::equalsIgnoreCase (tag, VlXml::pc))
            return std::make_unique<VlamProgramChange>();
        if (CXml::equalsIgnoreCase (tag, VlXml::cc))
            return std::make_unique<VlamCCFixed>();
        if (CXml::equalsIgnoreCase (tag, VlXml::note))
            return std::make_unique<VlamNote>();
        if (CXml::equalsIgnoreCase (tag, VlXml::sysex))
            return std::make_unique<VlaSysExFixed>();
        return nullptr;
    }

    if (CXml::equalsIgnoreCase (tag, VlXml::cc))
        return std::make_unique<VlamCCContinuos>();
    if (CXml::equalsIgnoreCase (tag, VlXml::sysex))
        return std::make_unique<VlaSysExContinuos>();
    return nullptr;
}

VlEngine* VlAction::getEngine() noexcept
{
    return VlEngine::getInstance (false);
}

bool VlAction::resendsUnchangedValues() noexcept
{
    auto* engine = getEngine();
    const auto mode = engine != nullptr ? engine->getMode() : (int) ModePlay;
    return mode == ModeInitialising || mode == ModeEditing;
}

bool VlAction::hasAttributes (const juce::XmlElement& element, std::initializer_list<juce::StringRef> names)
{
    for (auto name : names)
        if (! CXml::hasAttribute (element, name))
            return false;

    return true;
}
