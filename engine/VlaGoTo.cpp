#include "engine/VlaGoTo.h"

#include "engine/VlEngine.h"
#include "engine/VlXmlVocabulary.h"

VlaGoTo::VlaGoTo()
    : VlaPatch (VlNames::goToPatch)
{
}

VlaGoTo::VlaGoTo (const VlaGoTo&) = default;

VlaGoTo::~VlaGoTo() = default;

juce::String VlaGoTo::getElementName() const
{
    return VlXml::gotoPatch.toString();
}

void VlaGoTo::addProperties (VlPropertyRows& rows) const
{
    VlaPatch::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("patch", PropertyId::goToPatch));
}

void VlaGoTo::execute (juce::uint8 value)
{
    if (value != 0)
        return;

    auto* engine = getEngine();

    if (engine == nullptr)
        return;

    const auto mode = engine->getMode();

    if (mode == ModePlay || mode == ModeNavigation)
        engine->goToPatch (getPatchIndex(), true);
}

std::unique_ptr<VlAction> VlaGoTo::clone() const
{
    return std::make_unique<VlaGoTo> (*this);
}
