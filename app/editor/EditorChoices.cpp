#include "app/editor/EditorChoices.h"

#include <algorithm>

void EditorChoices::add (const juce::String& text, int value)
{
    texts.add (text);
    values.push_back (value);
}

int EditorChoices::valueOfIndex (int index) const noexcept
{
    return juce::isPositiveAndBelow (index, size()) ? values[(size_t) index] : -1;
}

int EditorChoices::indexOfValue (int value) const noexcept
{
    const auto found = std::find (values.begin(), values.end(), value);
    return found != values.end() ? (int) (found - values.begin()) : -1;
}
