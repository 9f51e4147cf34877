#include "app/dialogs/VlMidiInputDlg.h"

#include "app/dialogs/JMidiInputDlg.h"
#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "engine/VlEngine.h"

namespace
{
    const juce::Colour unlearntColour (0x44ffffff), learntColour (0xffffffff), learningColour (0xff00ff00);

    juce::String describeKey (int controlId, int key)
    {
        if (key == NoLearntKey)
            return "?";

        return isFootswitchId (controlId) ? "Note #" + juce::String (key) : "CC #" + juce::String (key - 128);
    }

    // Learning walks the first pedal, the footswitches in order, then the second pedal.
    int stepAfter (int controlId)
    {
        if (controlId == FirstPedalId)
            return 1;

        return controlId == 10 ? SecondPedalId : controlId + 1;
    }
}

VlMidiInputDlg::VlMidiInputDlg (VlEngine& engineToUse)
    : engine (engineToUse)
{
    for (int channel = 1; channel <= 16; ++channel)
        channelNames.add (juce::String (channel));
}

VlMidiInputDlg::~VlMidiInputDlg()
{
    cancelPendingUpdate();
    content = nullptr;
}

VlMidiInputDlg* VlMidiInputDlg::getInstance (bool create)
{
    return CSingleInstance<VlMidiInputDlg>::getOrCreate (
        create, [] { return std::make_unique<VlMidiInputDlg> (*VlEngine::getInstance (true)); });
}

void VlMidiInputDlg::deleteInstance()
{
    CSingleInstance<VlMidiInputDlg>::deleteInstance();
}

//==============================================================================
void VlMidiInputDlg::show()
{
    if (content == nullptr)
        content = std::make_unique<JMidiInputDlg> (*this);

    // A footswitch held now would never hear its release: the setup plays nothing.
    engine.releaseHeldFootswitches();
    engine.setMode (ModeMidiSetup);

    // Without notification: emptied, the device choice would report "nothing
    // selected", and a configured device that is absent now would be forgotten.
    auto& deviceCombo = content->getDeviceCombo();
    auto& channelCombo = content->getChannelCombo();
    deviceCombo.clear (juce::dontSendNotification);
    channelCombo.clear (juce::dontSendNotification);

    // The ports the engine opens, so that every device it can listen to is offered.
    deviceNames.clear();

    for (const auto& device : engine.getMidiDevices().getPorts().getInputs())
        deviceNames.addIfNotAlreadyThere (device.name);

    for (int i = 0; i < deviceNames.size(); ++i)
        deviceCombo.addItem (deviceNames[i], i + 1);

    for (int i = 0; i < channelNames.size(); ++i)
        channelCombo.addItem (channelNames[i], i + 1);

    deviceCombo.setTextWhenNothingSelected ("choose a device");
    channelCombo.setTextWhenNothingSelected ("choose a channel");

    if (const auto d = deviceNames.indexOf (engine.getMidiInputDevice()); d >= 0)
        deviceCombo.setSelectedItemIndex (d, juce::sendNotificationAsync);

    if (const auto c = channelNames.indexOf (juce::String (engine.getMidiChannel())); c >= 0)
        channelCombo.setSelectedItemIndex (c, juce::sendNotificationAsync);

    refreshLabels();
    showLearnButtonIfInputIsOpen();

    showModal ("MIDI input setup", *content, juce::Colours::white, false, false);

    engine.setMode (ModePlay);
    learnStep = -1;
    content->getLearnButton().setToggleState (false, juce::dontSendNotification);

    // A warning not shown yet belongs to a learning that is over.
    cancelPendingUpdate();
    conflictPending = false;

    refreshMainWindow();
}

void VlMidiInputDlg::refreshMainWindow()
{
    // Opened from navigation mode, the main board would go on showing the navigation
    // symbols while the footswitches play the patch again.
    if (auto* ui = engine.getUserInterface())
    {
        ui->refreshButtons();
        ui->refreshPedals();
        ui->repaintBoard();
        ui->refreshPatchList();
    }
}

void VlMidiInputDlg::toggleLearning()
{
    if (engine.getMode() == ModeMidiLearn)
    {
        engine.setMode (ModeMidiSetup);
        learnStep = -1;

        if (content != nullptr)
            content->getLearnButton().setToggleState (false, juce::dontSendNotification);

        refreshLabels();
        return;
    }

    {
        CStMenuLock lock;
        CPrompts::get().showMessage (CPrompts::Icon::info, "Entering MIDI learning mode",
                                     "When a footswitch or an expression pedal is shown in green, "
                                     "press the corresponding control on your FCB 1010.");
    }

    engine.startLearningPass();
    engine.setMode (ModeMidiLearn);
    learnStep = FirstPedalId;

    if (content != nullptr)
        content->getLearnButton().setToggleState (true, juce::dontSendNotification);

    refreshLabels();
}

void VlMidiInputDlg::learnMessage (bool isController, int number)
{
    // While the warning is up, or about to be, the pass waits at the control behind it.
    if (engine.getMode() != ModeMidiLearn || conflictPending)
        return;

    const int step = learnStep;

    if (isController != isPedalId (step))
        return;

    if (! engine.learnInPass (step, number))
    {
        // No box can run on the MIDI thread: the main thread shows it.
        conflictPending = true;
        triggerAsyncUpdate();
        return;
    }

    if (step == SecondPedalId)
    {
        toggleLearning();
        return;
    }

    learnStep = stepAfter (step);
    refreshLabels();
}

void VlMidiInputDlg::handleAsyncUpdate()
{
    // One box at a time: JUCE would run this again inside the box's own modal loop, were
    // it triggered meanwhile (learnMessage() takes nothing until the box is closed).
    if (! conflictPending || warningShowing)
        return;

    // The dialog's window is closing (its modal loop still runs): learning is over.
    if (content == nullptr || ! content->isShowing())
    {
        conflictPending = false;
        return;
    }

    warningShowing = true;

    {
        CStMenuLock lock;
        CPrompts::get().showMessage (CPrompts::Icon::warning, "This message is already in use",
                                     "Either you pressed the wrong control or the FCB 1010 is programmed "
                                     "to emit the same message from different controls.");
    }

    warningShowing = false;
    conflictPending = false;
}

void VlMidiInputDlg::refreshLabels()
{
    const auto mode = engine.getMode();

    if (auto* patch = engine.getPatchForMode (ModeMidiSetup);
        patch != nullptr && (mode == ModeMidiSetup || mode == ModeMidiLearn))
    {
        for (const auto& [id, control] : patch->getControls())
        {
            const auto key = engine.getLearntMessage (id);
            const auto learning = mode == ModeMidiLearn && id == learnStep;

            control->setLabel (learning ? "?" : describeKey (id, key));

            if (learning)
                control->setColor (learningColour.getARGB());
            else if (mode == ModeMidiSetup && key != NoLearntKey)
                control->setColor (learntColour.getARGB());
            else
                control->setColor (unlearntColour.getARGB());
        }
    }

    if (content != nullptr)
    {
        content->getButtonsPanel().refreshAll();
        content->getSlidersPanel().refreshAll();
        content->repaint();
    }
}

void VlMidiInputDlg::deviceChanged (int index)
{
    if (index < 0)
        return;

    engine.setMidiInput (deviceNames[index], engine.getMidiChannel());
    showLearnButtonIfInputIsOpen();
}

void VlMidiInputDlg::channelChanged (int index)
{
    if (index >= 0)
        engine.setMidiChannel (index + 1);
}

void VlMidiInputDlg::showLearnButtonIfInputIsOpen()
{
    if (content != nullptr)
        content->getLearnButton().setVisible (engine.isMidiInputOpen());
}
