#include "engine/VlDocumentStage.h"

#include "common/CXmlHelpers.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

VlDocumentStage::VlDocumentStage() = default;

VlDocumentStage::~VlDocumentStage() = default;

bool VlDocumentStage::readNavigation (const juce::XmlElement& navigation)
{
    if (! CXml::hasAttribute (navigation, VlXml::color))
        return false;

    navigationColor = colorFromText (CXml::getString (navigation, VlXml::color));
    functions.clear();

    for (auto* child : navigation.getChildIterator())
        if (CXml::hasTag (*child, VlXml::function))
            functions.emplace_back (CXml::getInt (*child, VlXml::type), CXml::getInt (*child, VlXml::control));

    navigationRead = true;
    return true;
}

bool VlDocumentStage::readPatches (const juce::XmlElement& element, bool merging, juce::uint16 patchOffset)
{
    if (! merging)
    {
        if (! CXml::hasAttribute (element, VlXml::current))
            return false;

        current = (juce::uint16) CXml::getInt (element, VlXml::current);
    }

    for (auto* child : element.getChildIterator())
    {
        if (! CXml::hasTag (*child, VlXml::patch))
            continue;

        patches.push_back (std::make_unique<VlPatch>());

        if (! patches.back()->loadFromXml (*child, patchOffset))
            return false;
    }

    return true;
}

std::vector<std::unique_ptr<VlPatch>> VlDocumentStage::takePatches() noexcept
{
    return std::exchange (patches, {});
}

void VlDocumentStage::addColorsTo (ColorSet& patchColors, ColorSet& controlColors, ColorSet& stateColors) const
{
    if (navigationRead)
        controlColors.insert (navigationColor);

    for (const auto& patch : patches)
    {
        patchColors.insert (patch->getColor());

        for (const auto& [id, control] : patch->getControls())
        {
            controlColors.insert (control->getOwnColor());

            for (const auto& state : control->getStates())
                stateColors.insert (state->getColor());
        }
    }
}
