#include "engine/VlaPatch.h"

#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

VlaPatch::VlaPatch (const juce::String& typeName)
    : VlAction (typeName)
{
}

VlaPatch::VlaPatch (const VlaPatch& other)
    : VlAction (other),
      patch (other.patch),
      pendingPatch (other.pendingPatch)
{
}

VlaPatch::~VlaPatch() = default;

void VlaPatch::setPatch (juce::uint16 index)
{
    auto* engine = getEngine();
    patch = engine != nullptr ? engine->getPatch (index) : nullptr;
    pendingPatch.reset();
}

juce::uint16 VlaPatch::getPatchIndex() const
{
    auto* engine = getEngine();
    return engine != nullptr ? (juce::uint16) engine->indexOfPatch (patch) : NoIndex;
}

bool VlaPatch::resolveReferences()
{
    if (pendingPatch.has_value())
    {
        auto* engine = getEngine();
        patch = engine != nullptr ? engine->getPatch (*pendingPatch) : nullptr;
        pendingPatch.reset();
    }

    return patch != nullptr;
}

bool VlaPatch::refersToPatch (const VlPatch& other) const
{
    return patch == &other;
}

void VlaPatch::forgetTargets (const std::set<const VlPatch*>& patches, const std::set<const VlControlCfg*>&)
{
    if (patches.count (patch) != 0)
        patch = nullptr;
}

void VlaPatch::saveToXml (juce::XmlElement& element) const
{
    VlAction::saveToXml (element);
    element.setAttribute (VlXml::patch, (int) getPatchIndex());
}

bool VlaPatch::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlAction::loadFromXml (element, patchOffset) || ! CXml::hasAttribute (element, VlXml::patch))
        return false;

    patch = nullptr;
    pendingPatch = rebasePatchIndex (CXml::getInt (element, VlXml::patch), patchOffset);
    return true;
}
