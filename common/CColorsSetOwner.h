#pragma once

#include <juce_core/juce_core.h>

#include <set>

/** One colour library: distinct 32-bit ARGB values, iterated in ascending unsigned order. */
using ColorSet = std::set<juce::uint32>;

//==============================================================================
/** The owner of colour libraries, as the colour-library components see it.

    A component holds a pointer to one of the owner's sets as its handle: it reads
    the set's size and iterates it directly, and changes it only through these
    operations, which also recolour the items that use the set. A handle that names
    none of the owner's sets changes nothing. Main thread only.
*/
class CColorsSetOwner
{
public:
    /** Not owned through this interface. */
    virtual ~CColorsSetOwner() = default;

    /** Restores the set to its built-in colours (the owner decides which). */
    virtual void resetColors (const ColorSet* set) = 0;

    /** The set's default colour, which can never be deleted. */
    virtual juce::uint32 getDefaultColor (const ColorSet* set) const = 0;

    /** Inserts the colour; a colour already present is left alone. Items are not touched. */
    virtual void addColor (const ColorSet* set, juce::uint32 color) = 0;

    /** Gives every item of the set's kind that has the old colour the new one; the set
        itself is not changed.
    */
    virtual void replaceColor (const ColorSet* set, juce::uint32 oldColor, juce::uint32 newColor) = 0;

    /** Removes the colour (unless it is the default) and gives its items the default colour. */
    virtual void removeColor (const ColorSet* set, juce::uint32 color) = 0;

    /** Leaves only the default colour in the set and gives every item the default colour. */
    virtual void removeAllColors (const ColorSet* set) = 0;
};
