#pragma once

#include <juce_core/juce_core.h>

#include <vector>

//==============================================================================
/** The choices a choice row offers: texts in index order, each standing for one
    stored value. An empty text is shown as a separator (and still has a value).
*/
class EditorChoices
{
public:
    /** Appends a choice at the next index. */
    void add (const juce::String& text, int value);

    /** The number of choices, separators included. */
    int size() const noexcept { return (int) values.size(); }

    /** The texts in index order. */
    const juce::StringArray& getTexts() const noexcept { return texts; }

    /** The value of that index; -1 when there is no such index. */
    int valueOfIndex (int index) const noexcept;

    /** The smallest index whose value is that value; -1 when none. */
    int indexOfValue (int value) const noexcept;

private:
    juce::StringArray texts;
    std::vector<int> values;
};
