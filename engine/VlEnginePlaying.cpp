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
    if (! isFootswitchId (footswitch))
        return;

    if (pressed)
        pressFootswitch (footswitch);
    else
        answerRelease (footswitch);
}

void VlEngine::pressFootswitch (int footswitch)
{
    using Press = HeldFootswitch::Press;

    // Pressed again before a release came (the on-screen button under the foot, a release
    // lost on the way): the first press's note must still stop, where it was played.
    if (heldFootswitches[(size_t) footswitch].press == Press::played)
        answerRelease (footswitch);

    auto& held = heldFootswitches[(size_t) footswitch];
    held = {};

    switch (getMode())
    {
        case ModeNavigation:
            held.press = Press::navigating;
            runNavigationFunction (footswitch, true);
            break;

        case ModePlay:
        {
            held.press = Press::played;

            if (footswitch == getFootswitchOfFunction (NavOnOff))
            {
                setMode (ModeNavigation);

                if (userInterface != nullptr)
                    userInterface->refreshPatchList();

                refreshBoard();
                break;
            }

            if (auto* patch = getPatch (currentPatch))
                held.control = patch->getControl (footswitch);

            if (held.control != nullptr)
                held.control->trigger (footswitch, 1);
            break;
        }

        default: break;
    }
}

void VlEngine::answerRelease (int footswitch)
{
    using Press = HeldFootswitch::Press;
    const auto held = std::exchange (heldFootswitches[(size_t) footswitch], {});

    // The control that played the press, even when another patch or navigation mode came
    // meanwhile: the note it started must stop there, and its state step on there.
    if (held.press == Press::played && held.control != nullptr)
        held.control->trigger (footswitch, 0);
    else if (held.press == Press::navigating && getMode() == ModeNavigation)
        runNavigationFunction (footswitch, false);
}

void VlEngine::releaseHeldFootswitches()
{
    for (int footswitch = 1; footswitch < (int) heldFootswitches.size(); ++footswitch)
        releaseHeldFootswitch (footswitch);
}

void VlEngine::releaseHeldFootswitch (int footswitch)
{
    using Press = HeldFootswitch::Press;

    if (! isFootswitchId (footswitch) || heldFootswitches[(size_t) footswitch].press == Press::none)
        return;

    // A navigation function is the player's choice of a patch: never made for them.
    if (heldFootswitches[(size_t) footswitch].press == Press::navigating)
        heldFootswitches[(size_t) footswitch] = {};
    else
        answerRelease (footswitch);

    if (userInterface != nullptr)
        userInterface->showFootswitchUp (footswitch);
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
