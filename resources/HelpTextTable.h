#pragma once

/** The explanations shown as tooltips by the patches editor, the MIDI input
    dialog and the property rows, looked up by number.
*/
namespace VlResources
{
    /** Number of help texts: indexes 0 to numHelpTexts - 1. */
    inline constexpr int numHelpTexts = 91;

    /** The help texts, plain ASCII, in index order, followed by a null entry so
        that juce::StringArray (helpTextTable) copies exactly numHelpTexts of them.
        Unused indexes hold empty texts.
    */
    extern const char* const helpTextTable[numHelpTexts + 1];
}
