#include "engine/VlTypes.h"

#include "engine/VlXmlVocabulary.h"

#include <cmath>

bool isFootswitchId (int controlId) noexcept
{
    return controlId >= 1 && controlId <= 10;
}

bool isPedalId (int controlId) noexcept
{
    return controlId == FirstPedalId || controlId == SecondPedalId;
}

juce::String getControlTypeName (int controlId)
{
    return isPedalId (controlId) ? VlNames::exprPedal : VlNames::footswitch;
}

int mapPedalValue (int minValue, int maxValue, int pedalValue) noexcept
{
    // A pedal value above 127 can only come from a file; it would map beyond the maximum.
    const auto position = juce::jlimit (0, 127, pedalValue);
    const auto x = minValue + (maxValue - minValue) * (position / 127.0);
    const auto whole = std::floor (x);
    return (int) whole + (x - whole > 0.5 ? 1 : 0);
}

juce::uint16 rebasePatchIndex (int stored, juce::uint16 offset) noexcept
{
    if (stored < 0 || stored >= (int) NoIndex)
        return NoIndex;

    const auto sum = stored + (int) offset;
    return sum >= (int) NoIndex ? NoIndex : (juce::uint16) sum;
}

juce::String colorToText (juce::uint32 color)
{
    return juce::String::toHexString (color);
}

juce::uint32 colorFromText (const juce::String& text) noexcept
{
    juce::uint32 color = 0;

    for (auto c : text)
        if (const auto digit = juce::CharacterFunctions::getHexDigitValue (c); digit >= 0)
            color = (color << 4) | (juce::uint32) digit;

    return color;
}
