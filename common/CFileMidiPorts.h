#pragma once

#include "common/CMidiPorts.h"

//==============================================================================
/** MIDI devices made of files, for machines without MIDI hardware.

    Every entry of folder/in is an input device named by its file name: a named
    pipe (mkfifo) from which the started input reads raw MIDI bytes on a thread
    of its own and delivers each complete message (see CMidiStreamParser). When
    the last writer closes the pipe, the input waits for the next one. A regular
    file works too: it is read from the start, then followed as it grows.

    Every entry of folder/out is an output device: each message sent to it is
    appended to the file at once, as raw bytes. A named pipe works too while
    something reads it; when nothing does, the message is lost.

    Creating or deleting an entry plugs or unplugs that device; an entry
    created again is a new device with a new identifier. Hidden entries (names
    starting with ".") and folders are ignored. Inputs deliver under one
    callback lock for all ports, as JUCE's do (see CMidiInputDelivery).
*/
class CFileMidiPorts : public CMidiPorts
{
public:
    /** The devices of folder/in and folder/out; these need not exist yet. */
    explicit CFileMidiPorts (const juce::File& folder);

    ~CFileMidiPorts() override;

    //==============================================================================
    juce::Array<CMidiPortInfo> getInputs() override;
    juce::Array<CMidiPortInfo> getOutputs() override;
    std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo& device, juce::MidiInputCallback* callback) override;
    std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo& device) override;

private:
    //==============================================================================
    class Input;
    class Output;

    juce::File inputFolder, outputFolder;
    std::shared_ptr<juce::CriticalSection> callbackLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CFileMidiPorts)
};
