#include "engine/VlEngine.h"

#include "engine/VlXmlVocabulary.h"

// Playing: the MIDI input filter, the modes, patch selection and the road from a
// footswitch or pedal to the output devices.

//==============================================================================
void VlEngine::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto currentMode = getMode();

    if (currentMode != ModePlay && currentMode != ModeNavigation && currentMode != ModeMidiLearn)
        return;

    if (! message.isForChannel (getMidiChannel()))
        return;

    const auto isController = message.isController();

    if (currentMode == ModeMidiLearn)
    {
        if (! isController && ! message.isNoteOn())
            return;

        const auto number = isController ? message.getControllerNumber() : message.getNoteNumber();

        inputLock.callLocked ([this, isController, number] {
            if (userInterface != nullptr)
                userInterface->learnMessage (isController, number);
        });
        return;
    }

    if (! isController && ! message.isNoteOnOrOff())
        return;

    const auto key = isController ? 128 + message.getControllerNumber() : message.getNoteNumber();
    const auto controlId = learnTable.getControlOfKey (key);

    if (controlId == 0)
        return;

    if (isController)
    {
        const auto value = message.getControllerValue();

        inputLock.callLocked ([this, controlId, value] {
            if (userInterface != nullptr)
                userInterface->setPedalValue (controlId, value);
        });
    }
    else
    {
        const auto down = message.isNoteOn();    // a note-on with velocity 0 is a release

        inputLock.callLocked ([this, controlId, down] {
            if (userInterface != nullptr)
                userInterface->footswitchEvent (controlId, down);
        });
    }
}

void VlEngine::onFootswitch (int footswitch, bool pressed)
{
    const auto currentMode = getMode();

    if (currentMode == ModeNavigation)
    {
        runNavigationFunction (footswitch, pressed);
        return;
    }

    if (currentMode != ModePlay)
        return;

    const auto onOff = getFootswitchOfFunction (NavOnOff);

    if (footswitch == onOff && isFootswitchId (onOff))
    {
        if (pressed)
        {
            setMode (ModeNavigation);

            if (userInterface != nullptr)
                userInterface->refreshPatchList();

            refreshBoard();
        }

        return;
    }

    if (! isFootswitchId (footswitch))
        return;

    // A release answers a press that played: one pressed while the board played nothing
    // (the editor was open) would send a release nobody asked for and step the states on.
    if (pressed || heldFootswitches[(size_t) footswitch])
        playFootswitch (footswitch, pressed);
}

void VlEngine::releaseHeldFootswitches()
{
    for (int footswitch = 1; footswitch < (int) heldFootswitches.size(); ++footswitch)
    {
        if (! heldFootswitches[(size_t) footswitch])
            continue;

        // Whatever the mode: in navigation mode the release would run a navigation function.
        playFootswitch (footswitch, false);

        if (userInterface != nullptr)
            userInterface->showFootswitchUp (footswitch);
    }
}

void VlEngine::playFootswitch (int footswitch, bool pressed)
{
    heldFootswitches[(size_t) footswitch] = pressed;

    if (auto* patch = getPatch (currentPatch))
        if (auto* control = patch->getControl (footswitch))
            control->trigger (footswitch, pressed ? 1 : 0);
}

void VlEngine::onPedalValue (int pedal, juce::uint8 value)
{
    if (getMode() != ModePlay)
        return;

    if (auto* patch = getPatch (currentPatch))
        if (auto* control = patch->getControl (pedal))
            control->trigger (pedal, value);
}

void VlEngine::selectPatch (juce::uint16 index)
{
    setMode (ModePlay);

    if (index >= patches.size())
        return;

    if (recordNextVisit && index != currentPatch)
        recordVisit (index);

    currentPatch = index;
    updateNavigation();

    if (userInterface != nullptr)
        userInterface->scrollPatchListTo (index);

    refreshBoard();
}

void VlEngine::goToPatch (juce::uint16 index, bool record)
{
    if (index >= patches.size())
        return;

    recordNextVisit = record;

    // The list's selection callback selects the patch, so list and engine agree
    // whichever side starts the change.
    if (userInterface == nullptr || userInterface->getSelectedPatchRow() == (int) index
        || ! userInterface->selectPatchRow (index))
        selectPatch (index);

    recordNextVisit = true;
}

void VlEngine::startPlaying (juce::uint16 firstPatch)
{
    setMode (ModeInitialising);

    // Every pedal of those patches before any footswitch.
    for (size_t i = firstPatch; i < patches.size(); ++i)
        for (const auto& [id, control] : patches[i]->getControls())
            if (isPedalId (id))
                control->sendInitValue();

    for (size_t i = firstPatch; i < patches.size(); ++i)
        for (const auto& [id, control] : patches[i]->getControls())
            if (isFootswitchId (id))
                control->playInitState();

    setMode (ModePlay);

    // Without a patch nothing is selected, and the board still shows mode 5's nothing.
    if (currentPatch >= patches.size())
        refreshBoard();

    goToPatch (currentPatch, true);
}

void VlEngine::sendMidiMessage (const juce::String& device, const juce::MidiMessage& message)
{
    if (auto* output = midiDevices->getOpenOutput (device))
        output->sendMessageNow (message);
}

void VlEngine::setMidiInput (const juce::String& device, int channel)
{
    if (device != midiInDevice)
    {
        midiDevices->removeInput (midiInDevice);
        midiInDevice = device;

        if (device.isNotEmpty())
            midiDevices->addInput (device);
    }

    midiDevices->updateInputs();
    midiChannel = juce::jlimit (1, 16, channel & 0xff);
}

bool VlEngine::isMidiInputOpen() const
{
    return midiDevices->getOpenInput (midiInDevice) != nullptr;
}

void VlEngine::saveMidiInToXml (juce::XmlElement& element) const
{
    element.setAttribute (VlXml::device, midiInDevice);
    element.setAttribute (VlXml::channel, getMidiChannel());
    learnTable.writeTo (element);
}

void VlEngine::openMidiOutputs()
{
    midiDevices->clearOutputs();

    // Actions one after another mostly name the same device: it is added once.
    juce::String last;

    const auto want = [this, &last] (const juce::String& device) {
        if (device != last || last.isEmpty())
        {
            midiDevices->addOutput (device);
            last = device;
        }
    };

    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            if (! control->isLinked())
                for (const auto& state : control->getStates())
                    for (const auto& action : state->getActions())
                        if (const auto* device = action->getOutputDevice())
                            want (*device);

    midiDevices->updateOutputs();
}
