#pragma once

#include <juce_core/juce_core.h>

/** File writing that never leaves a damaged file behind. */
namespace CFiles
{
    /** Replaces the file's contents with the text, as UTF-8 without a byte-order
        mark and with the line endings as they stand in the text.

        The text goes into a temporary file beside the target, which then takes the
        target's place: when any step fails (a folder that cannot be written, a full
        disk) the previous file stays exactly as it was and the result says why.
        Main thread or any other; nothing is shared.
    */
    juce::Result replaceAtomically (const juce::File& file, const juce::String& text);
}
