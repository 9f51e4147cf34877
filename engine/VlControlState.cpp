#include "engine/VlControlState.h"

#include "common/CXmlHelpers.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"
#include "engine/VlaGoTo.h"

VlControlState::VlControlState() = default;

VlControlState::VlControlState (const VlControlState& other)
{
    *this = other;
}

VlControlState& VlControlState::operator= (const VlControlState& other)
{
    if (this == &other)
        return *this;

    actions.clear();
    label = other.label;
    color = other.color;

    for (const auto& action : other.actions)
        actions.push_back (action->clone());

    return *this;
}

VlControlState::~VlControlState() = default;

VlAction& VlControlState::addAction (std::unique_ptr<VlAction> action)
{
    jassert (action != nullptr);
    actions.push_back (std::move (action));
    return *actions.back();
}

void VlControlState::deleteAction (const VlAction* action)
{
    const auto found =
        std::find_if (actions.begin(), actions.end(), [action] (const auto& held) { return held.get() == action; });

    if (found != actions.end())
        actions.erase (found);
}

void VlControlState::deleteAllActions()
{
    actions.clear();
}

void VlControlState::moveAction (int a, int b)
{
    const auto count = (int) actions.size();

    if (juce::isPositiveAndBelow (a, count) && juce::isPositiveAndBelow (b, count))
        std::swap (actions[(size_t) a], actions[(size_t) b]);
}

bool VlControlState::hasGoToAction() const
{
    return std::any_of (actions.begin(), actions.end(),
                        [] (const auto& action) { return dynamic_cast<const VlaGoTo*> (action.get()) != nullptr; });
}

void VlControlState::execute (juce::uint8 value)
{
    for (const auto& action : actions)
        action->execute (value);
}

std::unique_ptr<juce::XmlElement> VlControlState::createXml() const
{
    auto element = std::make_unique<juce::XmlElement> (VlXml::state);
    element->setAttribute (VlXml::label, label);
    element->setAttribute (VlXml::color, colorToText (color));

    for (const auto& action : actions)
        element->addChildElement (action->createXml().release());

    return element;
}

bool VlControlState::loadFromXml (bool footswitch, const juce::XmlElement& element, juce::uint16 patchOffset)
{
    const auto* labelText = CXml::findAttribute (element, VlXml::label);
    const auto* colorText = labelText != nullptr ? CXml::findAttribute (element, VlXml::color) : nullptr;

    if (colorText == nullptr)
        return false;

    label = *labelText;
    color = colorFromText (*colorText);

    // Text between the children has an empty tag, which names no action.
    for (auto* child : element.getChildIterator())
        if (auto action = VlAction::createForTag (child->getTagName(), footswitch))
            if (! addAction (std::move (action)).loadFromXml (*child, patchOffset))
                return false;

    return true;
}
