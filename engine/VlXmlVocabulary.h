#pragma once

#include <juce_core/juce_core.h>

/** The element and attribute names of the document and of the preferences
    file's product elements, the navigation symbols, and the display names of
    control kinds and action types. Shared by every reader and writer.

    The names are identifiers: the writers hand them to JUCE as they are, with no
    look-up in JUCE's pool of names for each attribute written.
*/
namespace VlXml
{
    // Document frame
    extern const juce::Identifier veltrino, version;

    // Navigation
    extern const juce::Identifier navigation, color, function, type, control;

    // Patches, controls, states
    extern const juce::Identifier patches, current, patch, name, level, comment, item, id, label, target, initState,
        initValue, linked, linkPatch, linkControl, state;

    // Actions
    extern const juce::Identifier gotoPatch, mute, pedal, muteSwitch, note, number, velocity, cc, controller, value, pc,
        program, sysex, sequence, datumSize, device, channel, stage, minValue, maxValue;

    // The product's preferences elements
    extern const juce::Identifier midiIn, mainWindow, patchesDlg, inputDlg, navDlg;

    /** "fs1".."fs10" for controls 1..10, "ep1" and "ep2" for 11 and 12; empty otherwise. */
    juce::String learntKeyAttribute (int controlId);
}

/** Display names shown in texts and menus (not element names). */
namespace VlNames
{
    extern const juce::String footswitch, exprPedal;
    extern const juce::String goToPatch, muteExprPedal, midiNote, midiControlChange, midiProgramChange, midiSysex;

    /** "*", "^", "<", ">", "-", "+" for navigation functions 1..6; empty otherwise. */
    juce::String navigationSymbol (int function);
}
