#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <vector>

/** The fuzzer's bytes as text, decoded as juce::String::createStringFromData decodes a
    file's bytes. JUCE reads the byte after a byte-order mark even when nothing follows it,
    and libFuzzer's buffer ends exactly where the input does: the copy that JUCE decodes
    ends with a zero byte.
*/
inline juce::String inputText (const uint8_t* data, size_t size)
{
    std::vector<char> copy (data, data + size);
    copy.push_back (0);
    return juce::String::createStringFromData (copy.data(), (int) size);
}
