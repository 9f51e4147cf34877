#include "app/editor/EditorProperty.h"

#include "app/editor/EditorProperties.h"

void EditorProperty::initTooltip (juce::PropertyComponent& row) const
{
    const auto tooltip = EditorProperties::getTooltip (propertyId);

    if (tooltip.isEmpty())
        return;

    row.setTooltip (tooltip);

    for (auto* child : row.getChildren())
        if (auto* client = dynamic_cast<juce::SettableTooltipClient*> (child))
            client->setTooltip (tooltip);
}
