#pragma once

#include <juce_core/juce_core.h>

/** What incoming MIDI does; the engine holds one of these values (VlEngine::getMode). */
enum EngineMode : int
{
    ModePlay = 1,            ///< footswitches and pedals play the current patch
    ModeNavigation = 2,      ///< footswitches run navigation functions, pedals only move the board
    ModeMidiSetup = 3,       ///< the MIDI input dialog is open: input ignored
    ModeMidiLearn = 4,       ///< note-ons and controllers go to the learn dialog
    ModeInitialising = 5,    ///< initial states and values are being played: input ignored
    ModeEditing = 6          ///< the patches editor is open: input ignored
};

/** The six navigation functions, each assigned to at most one footswitch. */
enum NavigationFunction : int
{
    NavOnOff = 1,       ///< "*": enters and leaves navigation mode
    NavGoUp = 2,        ///< "^": a patch of higher rank that goes to this one
    NavBackward = 3,    ///< "<": the previous visit
    NavForward = 4,     ///< ">": the next visit
    NavPrevious = 5,    ///< "-": the previous patch of the list
    NavNext = 6         ///< "+": the next patch of the list
};

/** A patch position (or history position) that names nothing. */
constexpr juce::uint16 NoIndex = 0xFFFF;

/** The most patches a document holds: their positions 0..65534 stay apart from NoIndex. */
constexpr int MaxPatches = NoIndex;

/** The learn key of a control that has learnt nothing. */
constexpr int NoLearntKey = -1000;

/** Control ids: 1..10 are the footswitches, 11 and 12 the expression pedals. */
constexpr int FirstPedalId = 11;
constexpr int SecondPedalId = 12;

/** True for the footswitch ids 1..10. */
bool isFootswitchId (int controlId) noexcept;

/** True for the expression pedal ids 11 and 12. */
bool isPedalId (int controlId) noexcept;

/** "expr. pedal" for 11 and 12, "footswitch" for every other id. */
juce::String getControlTypeName (int controlId);

/** The value a continuous action sends for a pedal position: minValue at 0, maxValue at 127,
    rounded to the nearest integer (a fraction of exactly one half rounds down). A minimum above
    the maximum maps downward. Positions above 127 count as 127.
*/
int mapPedalValue (int minValue, int maxValue, int pedalValue) noexcept;

/** A patch index read from a document, moved behind `offset` patches already held.
    A stored value outside 0..65534, or a sum above 65534, names no patch (NoIndex).
*/
juce::uint16 rebasePatchIndex (int stored, juce::uint16 offset) noexcept;

/** A colour as the document writes it: lowercase hexadecimal digits without leading
    zeros ("ffe3e3e3", "ff0000", "0").
*/
juce::String colorToText (juce::uint32 color);

/** A colour as the document reads it: every character that is not a hexadecimal digit
    is skipped, and of more than eight digits the last eight count.
*/
juce::uint32 colorFromText (const juce::String& text) noexcept;
