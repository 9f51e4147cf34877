#pragma once

#include <juce_core/juce_core.h>

#include <vector>

//==============================================================================
/** The editable properties of a document, each under its own number. A row of the
    patches editor or of the navigation setup carries one of these, and the id alone
    decides what the row edits, which choices it offers, which tooltip it shows (help
    text 49 + id) and whom it tells after a change.
*/
enum class PropertyId : int
{
    patchName = 1,
    patchComment = 2,
    controlLabel = 3,
    controlTarget = 4,
    stateLabel = 5,
    actionComment = 6,
    sysexSequence = 7,
    sysexMinValue = 8,
    sysexMaxValue = 9,
    patchLevel = 10,
    initState = 11,
    initValue = 12,
    isLink = 13,
    linkPatch = 14,
    linkControl = 15,
    executeAt = 16,
    goToPatch = 17,
    mutePatch = 18,
    mutePedal = 19,
    muteSwitch = 20,
    midiChannel = 21,
    midiDevice = 22,
    sysexDevice = 23,
    datumSize = 24,
    program = 25,
    ccValue = 26,
    ccMinValue = 27,
    ccMaxValue = 28,
    controller = 29,
    velocity = 30,
    noteNumber = 31,
    navOnOff = 32,
    navGoUp = 33,
    navGoBackward = 34,
    navGoForward = 35,
    navNextPatch = 36,
    navLastPatch = 37,
    patchColor = 38,
    controlColor = 39,
    stateColor = 40,
    switchesColor = 41
};

//==============================================================================
/** One row of a property panel as the model describes it: what kind of row, its label,
    its property id and, for a text row, its length. The editor turns descriptions into
    row components; the model knows nothing of components.
*/
struct VlPropertyRow
{
    enum class Kind
    {
        text,
        choice,
        color
    };

    Kind kind;
    juce::String label;
    PropertyId id;

    /** Text rows: the most characters the row takes. */
    int maxChars = 0;

    /** Text rows: the height in pixels of a multi-line row; -1 for a single line. */
    int multiLineHeight = -1;

    /** A text row of at most `maxChars` characters, multi-line when a height is given. */
    static VlPropertyRow text (const juce::String& label, PropertyId id, int maxChars, int multiLineHeight = -1)
    {
        return { Kind::text, label, id, maxChars, multiLineHeight };
    }

    /** A row that offers a list of choices. */
    static VlPropertyRow choice (const juce::String& label, PropertyId id) { return { Kind::choice, label, id }; }

    /** A row that shows a colour of a colour library. */
    static VlPropertyRow color (const juce::String& label, PropertyId id) { return { Kind::color, label, id }; }
};

/** A panel's rows, top to bottom. */
using VlPropertyRows = std::vector<VlPropertyRow>;
