#include "engine/VlPatch.h"

#include "common/CXmlHelpers.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

VlPatch::VlPatch() = default;

VlPatch::VlPatch (const VlPatch& other)
{
    *this = other;
}

VlPatch& VlPatch::operator= (const VlPatch& other)
{
    if (this == &other)
        return *this;

    deleteAllControls();
    name = other.name;
    level = other.level;
    color = other.color;
    comment = other.comment;

    for (const auto& [id, control] : other.controls)
        controls.emplace (id, std::make_unique<VlControlCfg> (*control));

    return *this;
}

VlPatch::~VlPatch() = default;

VlControlCfg* VlPatch::getControl (int controlId) const
{
    const auto found = controls.find (controlId);
    return found != controls.end() ? found->second.get() : nullptr;
}

VlControlCfg* VlPatch::setControl (int controlId, std::unique_ptr<VlControlCfg> control)
{
    if (control == nullptr)
        return nullptr;

    const auto [where, placed] = controls.try_emplace (controlId, std::move (control));
    return placed ? where->second.get() : nullptr;
}

void VlPatch::removeControl (const VlControlCfg* control)
{
    for (auto it = controls.begin(); it != controls.end(); ++it)
    {
        if (it->second.get() == control)
        {
            controls.erase (it);
            return;
        }
    }
}

void VlPatch::deleteAllControls()
{
    controls.clear();
}

VlControlCfg* VlPatch::getControlAt (int position, int& controlId) const
{
    if (! juce::isPositiveAndBelow (position, (int) controls.size()))
        return nullptr;

    const auto it = std::next (controls.begin(), position);
    controlId = it->first;
    return it->second.get();
}

int VlPatch::indexOfControl (const VlControlCfg* control) const
{
    int position = 0;

    for (const auto& entry : controls)
    {
        if (entry.second.get() == control)
            return position;

        ++position;
    }

    return -1;
}

int VlPatch::getIdOfControl (const VlControlCfg* control) const
{
    for (const auto& [id, held] : controls)
        if (held.get() == control)
            return id;

    return -1;
}

int VlPatch::countControlsOfKind (int controlId) const
{
    const auto counts = [controlId] (int id) {
        if (isFootswitchId (controlId))
            return isFootswitchId (id);

        if (isPedalId (controlId))
            return isPedalId (id);

        return true;
    };

    return (int) std::count_if (controls.begin(), controls.end(),
                                [&counts] (const auto& entry) { return counts (entry.first); });
}

void VlPatch::rearrange (int footswitch)
{
    const auto found = controls.find (footswitch);

    if (found == controls.end())
        return;

    for (int id = 1; id <= 10; ++id)
    {
        if (controls.count (id) == 0)
        {
            auto control = std::move (found->second);
            controls.erase (found);
            controls.emplace (id, std::move (control));
            return;
        }
    }
}

std::unique_ptr<juce::XmlElement> VlPatch::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> (VlXml::patch);
    element->setAttribute (VlXml::name, name);
    element->setAttribute (VlXml::level, (int) level);
    element->setAttribute (VlXml::color, colorToText (color));
    element->setAttribute (VlXml::comment, comment);

    for (const auto& [id, control] : controls)
    {
        auto* item = element->createNewChildElement (VlXml::item);
        item->setAttribute (VlXml::id, id);
        control->saveToXml (*item);
    }

    return element;
}

bool VlPatch::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    for (const auto& attribute : { VlXml::name, VlXml::level, VlXml::color, VlXml::comment })
        if (! CXml::hasAttribute (element, attribute))
            return false;

    name = CXml::getString (element, VlXml::name);
    level = (juce::uint8) CXml::getInt (element, VlXml::level);
    color = colorFromText (CXml::getString (element, VlXml::color));
    comment = CXml::getString (element, VlXml::comment);

    for (auto* child : element.getChildIterator())
    {
        if (! CXml::hasTag (*child, VlXml::item))
            continue;

        const auto id = CXml::getInt (*child, VlXml::id);
        auto* control = id >= 1 && id <= SecondPedalId ? setControl (id, std::make_unique<VlControlCfg>()) : nullptr;

        // Null for an id out of range or one already used in this patch.
        if (control == nullptr || ! control->loadFromXml (isFootswitchId (id), *child, patchOffset))
            return false;
    }

    return true;
}
