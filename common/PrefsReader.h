#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/** The preferences read at start-up, as a flat table of texts.

    An attribute is stored under its element's tag name, "-" and the attribute
    name (`tooltips-visible`); an element's text under the tag name and "-"
    (`recent_files-`). Keys compare without regard to case, both when a value is
    stored (an equal key's value is replaced) and when it is looked up. The
    getters prefix `section` and "-" to the name they are given.

    It lives only while the application starts: whoever needs a value copies it.
*/
class PrefsReader
{
public:
    /** An empty table, not loaded. */
    PrefsReader();

    //==============================================================================
    /** Stores the element's attribute (looked up ignoring case) under
        "<tag>-<attributeName>"; the empty text when the element has no such
        attribute. Marks the table loaded.
    */
    void readAttribute (const juce::XmlElement& element, const juce::String& attributeName);

    /** Stores the text under "<tag>-". Marks the table loaded. */
    void readText (const juce::XmlElement& element, const juce::String& text);

    /** True once a preferences file has been parsed into the table. */
    bool isLoaded() const noexcept { return loaded; }

    /** Marks the table loaded: a parsed file counts even when it holds nothing we know. */
    void markLoaded() noexcept { loaded = true; }

    //==============================================================================
    /** The value under "<section>-<name>", or the empty text. */
    juce::String getString (const juce::String& name) const;

    /** The leading decimal integer of getString (name); 0 when absent or not a number. */
    int getInt (const juce::String& name) const;

    /** True only when getInt (name) is 1. */
    bool getBool (const juce::String& name) const;

    /** The element name that the getters look under; set it before each group of queries. */
    juce::String section;

private:
    static juce::String keyFor (const juce::String& tag, const juce::String& name);

    bool loaded = false;
    juce::StringPairArray values { true };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PrefsReader)
};
