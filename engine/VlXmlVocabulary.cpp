#include "engine/VlXmlVocabulary.h"

namespace VlXml
{
    const juce::Identifier veltrino ("veltrino"), version ("version");

    const juce::Identifier navigation ("navigation"), color ("color"), function ("function"), type ("type"),
        control ("control");

    const juce::Identifier patches ("patches"), current ("current"), patch ("patch"), name ("name"), level ("level"),
        comment ("comment"), item ("item"), id ("id"), label ("label"), target ("target"), initState ("init_state"),
        initValue ("init_value"), linked ("linked"), linkPatch ("link_patch"), linkControl ("link_control"),
        state ("state");

    const juce::Identifier gotoPatch ("goto"), mute ("mute"), pedal ("pedal"), muteSwitch ("switch"), note ("note"),
        number ("number"), velocity ("velocity"), cc ("cc"), controller ("controller"), value ("value"), pc ("pc"),
        program ("program"), sysex ("sysex"), sequence ("sequence"), datumSize ("datum_size"), device ("device"),
        channel ("channel"), stage ("stage"), minValue ("min_value"), maxValue ("max_value");

    const juce::Identifier midiIn ("midi_in"), mainWindow ("main_window"), patchesDlg ("patches_dlg"),
        inputDlg ("input_dlg"), navDlg ("nav_dlg");

    juce::String learntKeyAttribute (int controlId)
    {
        if (controlId >= 1 && controlId <= 10)
            return "fs" + juce::String (controlId);

        if (controlId == 11 || controlId == 12)
            return "ep" + juce::String (controlId - 10);

        return {};
    }
}

namespace VlNames
{
    const juce::String footswitch ("footswitch"), exprPedal ("expr. pedal");

    const juce::String goToPatch ("go to patch"), muteExprPedal ("mute expr. pedal"), midiNote ("midi note"),
        midiControlChange ("midi control change"), midiProgramChange ("midi program change"), midiSysex ("midi sysex");

    juce::String navigationSymbol (int function)
    {
        static const char* const symbols[] = { "*", "^", "<", ">", "-", "+" };
        return function >= 1 && function <= 6 ? juce::String (symbols[function - 1]) : juce::String();
    }
}
