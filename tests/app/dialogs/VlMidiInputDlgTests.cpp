#include "app/dialogs/JMidiInputDlg.h"
#include "app/dialogs/VlMidiInputDlg.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/BoardFixture.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/ModalTest.h"
#include "fixtures/RunningApplication.h"

#include <thread>

/** The dialog over the engine fixture, with the main window's content as the engine's
    user interface, so that learnt messages take the application's road to the dialog.
*/
class VlMidiInputDlgTests : public BoardFixture
{
protected:
    /** Shows the dialog, runs `steps` inside its modal loop, then closes it with Escape. */
    void whileShown (std::function<void()> steps)
    {
        ModalTest::whileShown ([this] { dialog.show(); }, std::move (steps));
    }

    JMidiInputDlg& dlg() { return *dialog.getContent(); }
    void clickLearn() { click (dlg().getLearnButton(), { 5, 5 }); }
    void note (int n)
    {
        engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOn (1, n, (juce::uint8) 100));
    }
    void cc (int n) { engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, n, 64)); }

    /** The dialog board's labels in the order of learning, or with `colours` its colours:
        W white, - translucent white, G green.
    */
    juce::String board (bool colours = false)
    {
        juce::StringArray texts;

        for (auto id : { 11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12 })
        {
            auto* button = dlg().getButtonsPanel().getButton (id);
            const auto colour = button != nullptr ? button->findColour (juce::TextButton::buttonColourId)
                                                  : dlg().getSlidersPanel().getSlider (id)->getBarColour();
            const std::map<juce::uint32, juce::String> names { { 0xffffffff, "W" },
                                                               { 0x44ffffff, "-" },
                                                               { 0xff00ff00, "G" } };

            if (colours)
                texts.add (names.count (colour.getARGB()) != 0 ? names.at (colour.getARGB())
                                                               : colour.toDisplayString (true));
            else
                texts.add (button != nullptr ? button->getButtonText()
                                             : dlg().getSlidersPanel().getNameLabel (id)->getText());
        }

        return texts.joinIntoString (colours ? "" : ",");
    }

    /** Sends the message through the input port, as the pedal board does, and runs the
        message loop until the dialog has taken it: learning moved on, or it warned.
    */
    void fromBoard (const juce::MidiMessage& message)
    {
        const int step = dialog.getLearnStep(), warned = warnings();
        ASSERT_TRUE (ports.injectMessage (fcb, message));
        MessageLoop::pumpUntil ([&] { return dialog.getLearnStep() != step || warnings() != warned; });
    }
    static juce::MidiMessage noteOn (int n) { return juce::MidiMessage::noteOn (1, n, (juce::uint8) 100); }
    static juce::MidiMessage controller (int n) { return juce::MidiMessage::controllerEvent (1, n, 64); }

    int warnings() const
    {
        return (int) std::count_if (prompts.prompts.begin(), prompts.prompts.end(),
                                    [] (auto& prompt) { return prompt.title == "This message is already in use"; });
    }

    FakePrompts prompts;
    VlMidiInputDlg dialog { engine };
};

//==============================================================================
TEST_F (VlMidiInputDlgTests, LearnsPedalOneTheFootswitchesThenPedalTwoWarningOnceOfAMessageInUse)
{
    engine.setMidiInput ("FCB1010", 1);

    // JUCE runs the warning's update again inside the box's loop when another message is refused.
    prompts.whileOpen = [this] (auto& prompt) {
        if (prompt.icon == CPrompts::Icon::warning)
        {
            note (22);
            deliverNotifications();
        }
    };

    whileShown ([this] {
        EXPECT_EQ (board(),
                   "CC #1,Note #1,Note #2,Note #3,Note #4,Note #5,Note #6,Note #7,Note #8,Note #9,Note #10,CC #7");
        EXPECT_EQ (board (true), "WWWWWWWWWWWW");
        clickLearn();
        ASSERT_EQ (prompts.prompts.size(), 1u);
        EXPECT_EQ (prompts.prompts[0].title + " " + juce::String (prompts.prompts[0].lockCount),
                   "Entering MIDI learning mode 2");
        EXPECT_EQ (board().upToFirstOccurrenceOf (",", false, false), "?");
        EXPECT_EQ (board (true), "G-----------");

        note (40);    // the wrong kind for each step changes nothing
        cc (5);
        cc (6);
        EXPECT_EQ (board (true), "-G----------");

        for (int n = 20; n <= 23; ++n)
            note (n);

        // Footswitch 2's note, twice, for footswitch 5: one warning; 5 stays asked, keeping its note.
        note (21);
        note (21);
        deliverNotifications();
        EXPECT_EQ (warnings(), 1);
        EXPECT_EQ (dialog.getLearnStep(), 5);
        EXPECT_EQ (engine.getLearntMessage (5), 5);
        EXPECT_EQ (board(),
                   "CC #5,Note #20,Note #21,Note #22,Note #23,?,Note #6,Note #7,Note #8,Note #9,Note #10,CC #7");
        EXPECT_EQ (board (true), "-----G------");

        for (int n = 24; n <= 29; ++n)
            note (n);

        cc (8);
        EXPECT_EQ (engine.getMode(), ModeMidiSetup);
        EXPECT_FALSE (dlg().getLearnButton().getToggleState());
        EXPECT_EQ (
            board(),
            "CC #5,Note #20,Note #21,Note #22,Note #23,Note #24,Note #25,Note #26,Note #27,Note #28,Note #29,CC #8");
        EXPECT_EQ (board (true), "WWWWWWWWWWWW");
    });

    EXPECT_EQ (warnings(), 1);
}

TEST_F (VlMidiInputDlgTests, ABoardSendingWhatControlsStillToComeHoldIsLearntInOnePass)
{
    // Pedal 1 sends controller 7 (pedal 2's until its turn), footswitch n sends note n + 1.
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (60);
    play();
    engine.setMidiInput ("FCB1010", 1);

    whileShown ([this] {
        clickLearn();
        fromBoard (controller (7));
        EXPECT_EQ (board(), "CC #7,?,Note #2,Note #3,Note #4,Note #5,Note #6,Note #7,Note #8,Note #9,Note #10,?");
        fromBoard (noteOn (2));
        EXPECT_EQ (board(), "CC #7,Note #2,?,Note #3,Note #4,Note #5,Note #6,Note #7,Note #8,Note #9,Note #10,?");
        EXPECT_EQ (board (true), "--G---------");

        for (int n = 3; n <= 11; ++n)
            fromBoard (noteOn (n));

        // Only what this pass learnt is in use.
        fromBoard (controller (7));
        EXPECT_EQ (warnings(), 1);
        fromBoard (controller (1));
        EXPECT_EQ (engine.getMode(), ModeMidiSetup);
        EXPECT_EQ (board(), "CC #7,Note #2,Note #3,Note #4,Note #5,Note #6,Note #7,Note #8,Note #9,Note #10,Note "
                            "#11,CC #1");
    });

    ports.injectMessage (fcb, noteOn (2));
    MessageLoop::pumpUntil ([this] { return ! ports.getSentMessages (synth).isEmpty(); });
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 60, 100 } }));
}

TEST_F (VlMidiInputDlgTests, StoppingEarlyLeavesTheControlsNotReachedWithWhatTheyHold)
{
    engine.setMidiInput ("FCB1010", 1);

    whileShown ([this] {
        clickLearn();
        fromBoard (controller (7));
        fromBoard (noteOn (2));
        clickLearn();
        EXPECT_EQ (engine.getMode(), ModeMidiSetup);
        EXPECT_EQ (board(), "CC #7,Note #2,?,Note #3,Note #4,Note #5,Note #6,Note #7,Note #8,Note #9,Note #10,?");
        EXPECT_EQ (board (true), "WW-WWWWWWWW-");
    });

    EXPECT_EQ (juce::String (engine.getLearntMessage (2)) + " " + juce::String (engine.getLearntMessage (12)),
               "-1000 -1000");
}

TEST_F (VlMidiInputDlgTests, LearningStartsOnlyOnceTheInformationBoxIsClosed)
{
    engine.setMidiInput ("FCB1010", 1);
    prompts.whileOpen = [this] (auto&) {
        EXPECT_EQ (engine.getMode(), ModeMidiSetup);
        EXPECT_EQ (board (true), "WWWWWWWWWWWW");
        cc (5);
        note (20);
    };

    whileShown ([this] {
        clickLearn();
        EXPECT_EQ (engine.getMode(), ModeMidiLearn);
        EXPECT_EQ (board (true), "G-----------");
    });

    EXPECT_EQ (juce::String (engine.getLearntMessage (11)) + " " + juce::String (engine.getLearntMessage (1)), "129 1");
}

TEST_F (VlMidiInputDlgTests, ASecondShowingListsEachChoiceOnceAndADeviceChoiceKeepsTheChannel)
{
    ports.plugInput ("Other");
    engine.setMidiInput ("FCB1010", 1);

    for (const auto& [device, channel] : { std::pair { 1, 4 }, std::pair { 0, 11 } })
    {
        whileShown ([this, device = device, channel = channel] {
            EXPECT_EQ (dlg().getDeviceCombo().getNumItems(), 2);
            EXPECT_EQ (dlg().getChannelCombo().getNumItems(), 16);
            deliverNotifications();

            // The combo boxes' own pop-ups choose with an asynchronous notification.
            dlg().getChannelCombo().setSelectedItemIndex (channel, juce::sendNotificationAsync);
            deliverNotifications();
            dlg().getDeviceCombo().setSelectedItemIndex (device, juce::sendNotificationAsync);
            deliverNotifications();
            EXPECT_EQ (engine.getMidiInputDevice() + " " + juce::String (engine.getMidiChannel()) + " "
                           + dlg().getChannelCombo().getText(),
                       dialog.getDeviceNames()[device] + " " + juce::String (channel + 1) + " "
                           + juce::String (channel + 1));
        });
    }
}

TEST_F (VlMidiInputDlgTests, ClosingWhileLearningPlaysTheKeysLearntOnTheBoardOfPlayModeAndItsOwnBoardPlaysNothing)
{
    auto& patch = addPatch();
    auto& lead = addControl (patch, 1);
    lead.setLabel ("Lead");
    addAction<VlamNote> (*lead.getState (0)).setNumber (60);
    addAction<VlamCCContinuos> (*addControl (patch, 11).getState (0));
    play();
    engine.setMidiInput ("FCB1010", 1);
    engine.onFootswitch (10, true);    // navigation mode, whose symbols the board shows
    ASSERT_NE (buttons.getButton (1)->getButtonText(), "Lead");

    whileShown ([this] {
        click (*dlg().getButtonsPanel().getButton (1), { 5, 5 });
        auto& pedal = *dlg().getSlidersPanel().getSlider (11);
        for (auto value : { 0, 127 })
            click (pedal, { pedal.getWidth() / 2, juce::roundToInt (pedal.getPositionOfValue (value)) });

        clickLearn();
        cc (5);
        note (20);
        note (20);    // refused: its warning is still pending when the dialog closes
    });

    deliverNotifications();
    EXPECT_EQ (warnings(), 0);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (dialog.getLearnStep(), -1);
    EXPECT_EQ (juce::String (engine.getLearntMessage (11)) + " " + juce::String (engine.getLearntMessage (1)) + " "
                   + juce::String (engine.getLearntMessage (2)) + " " + juce::String (engine.getLearntMessage (3)),
               "133 20 2 3");
    EXPECT_EQ (buttons.getButton (1)->getButtonText(), "Lead");
    EXPECT_TRUE (takeSent().empty());
    note (20);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 60, 100 } }));
}

// The setup plays nothing: a footswitch held as it opens would never hear its release.
TEST_F (VlMidiInputDlgTests, AFootswitchHeldAsTheSetupOpensIsReleasedAtOnce)
{
    addAction<VlamNote> (*addControl (addPatch(), 1).getState (0)).setNumber (60);
    play();
    note (1);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 60, 100 } }));

    whileShown ([this] {
        EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x80, 60, 0 } }));
        EXPECT_FALSE (buttons.getButton (1)->isDown());
    });

    engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOff (1, 1));
    EXPECT_TRUE (takeSent().empty());
}

TEST_F (VlMidiInputDlgTests, AnAbsentDeviceStaysConfiguredAndAChoiceActsAtOnce)
{
    const auto namesake = ports.plugInput ("FCB1010");
    const auto broken = ports.plugInput ("Broken");
    engine.setMidiInput ("FCB1010", 5);

    whileShown ([this] {
        EXPECT_EQ (dialog.getDeviceNames(), juce::StringArray ({ "FCB1010", "Broken" }));
        EXPECT_EQ (dlg().getDeviceCombo().getText() + " " + dlg().getChannelCombo().getText(), "FCB1010 5");
        EXPECT_TRUE (dlg().getLearnButton().isVisible());
    });

    // Unplugged, it stays configured, to be opened once it is plugged in again.
    ports.unplug (fcb);
    ports.unplug (namesake);
    engine.getMidiDevices().updateInputs();

    whileShown ([&] {
        auto& devices = dlg().getDeviceCombo();
        EXPECT_EQ (devices.getSelectedItemIndex(), -1);
        EXPECT_EQ (devices.getTextWhenNothingSelected(), "choose a device");
        EXPECT_FALSE (dlg().getLearnButton().isVisible());
        deliverNotifications();
        dialog.deviceChanged (-1);
        dialog.channelChanged (-1);
        EXPECT_EQ (engine.getMidiInputDevice() + " " + juce::String (engine.getMidiChannel()), "FCB1010 5");

        dlg().getChannelCombo().setSelectedItemIndex (0, juce::sendNotificationSync);
        EXPECT_EQ (engine.getMidiChannel(), 1);
        ports.failNextOpen (broken);
        devices.setSelectedItemIndex (0, juce::sendNotificationSync);
        EXPECT_EQ (engine.getMidiInputDevice(), "Broken");
        EXPECT_FALSE (dlg().getLearnButton().isVisible());
        dialog.deviceChanged (0);    // chosen again: it opens now
        EXPECT_TRUE (dlg().getLearnButton().isVisible());
    });
}

TEST_F (VlMidiInputDlgTests, PaintsTheBoardBelowABlackStripAndReopensWhereItWasLeft)
{
    whileShown ([this] {
        auto& window = *dlg().getTopLevelComponent();
        EXPECT_EQ (window.getName() + " " + window.getBounds().withZeroOrigin().toString(),
                   "MIDI input setup 0 0 650 340");
        window.setTopLeftPosition (70, 90);
    });

    const auto image = dlg().createComponentSnapshot (dlg().getLocalBounds());
    EXPECT_EQ (image.getPixelAt (10, 2), juce::Colours::black);
    EXPECT_EQ (image.getPixelAt (378, 30), juce::Colours::black);
    EXPECT_NEAR (image.getPixelAt (3, 36).getBrightness(), juce::Colour (0xffe3e3e3).getBrightness(), 0.01f);
    EXPECT_NEAR (image.getPixelAt (646, 336).getBrightness(), 0.6f, 0.1f);    // darker to the bottom right

    whileShown ([this] { EXPECT_EQ (dlg().getTopLevelComponent()->getPosition(), juce::Point<int> (70, 90)); });
}

TEST_F (VlMidiInputDlgTests, LearningWhileTheInputDeviceChangesNeverHangs)
{
    const auto other = ports.plugInput ("Other");
    engine.setMidiInput ("FCB1010", 1);

    whileShown ([&] {
        std::atomic<bool> stop { false };
        std::thread pedalBoard ([&] {
            for (int i = 0; ! stop; ++i, std::this_thread::sleep_for (std::chrono::microseconds (200)))
                for (const auto& device : { fcb, other })
                    ports.injectMessage (device, i % 2 == 0 ? juce::MidiMessage::noteOn (1, i % 128, (juce::uint8) 100)
                                                            : juce::MidiMessage::controllerEvent (1, 2 + i % 126, 64));
        });

        for (int i = 0; i < 200; ++i, MessageLoop::pumpFor (1))
        {
            if (engine.getMode() != ModeMidiLearn)
                dialog.toggleLearning();

            dialog.deviceChanged (i % 2);
        }

        stop = true;
        pedalBoard.join();
    });

    // CC #1 (129) is pedal 11's message before learning; the board never sends it, so it shows nothing was learnt.
    EXPECT_NE (engine.getLearntMessage (11), 129);
}

//==============================================================================
class VlMidiInputDlgAppTests : public RunningApplication
{
protected:
    /** Starts listening to "FCB1010", opens the MIDI setup from the menu, clicks "learn",
        has pedal 1 and footswitch 1 learn controller 5 and note 20, runs `steps` at
        footswitch 2's step, closes the setup with Escape and quits. Returns the keys that
        the preferences saved for footswitches 1 to 3, as "20 2 3".
    */
    juce::String learnThenQuit (std::function<void()> steps)
    {
        start (R"(<preferences><midi_in device="FCB1010" channel="1"/></preferences>)");

        ModalTest::whenModal ([this, steps] (juce::Component& window) {
            VlMidiInputDlg::getInstance (false)->getContent()->getLearnButton().triggerClick();
            MessageLoop::pumpUntil ([this] { return engine.getMode() == ModeMidiLearn; });
            send (juce::MidiMessage::controllerEvent (1, 5, 64));
            send (noteOn (20));
            steps();
            ModalTest::pressEscape (window);
        });

        EXPECT_TRUE (perform (VlApplication::CommandId::midiPreferences));
        stop();
        const auto saved = juce::parseXML (home.getPreferencesFile());
        auto* midiIn = saved != nullptr ? saved->getChildByName ("midi_in") : nullptr;
        return midiIn == nullptr ? juce::String()
                                 : midiIn->getStringAttribute ("fs1") + " " + midiIn->getStringAttribute ("fs2") + " "
                                       + midiIn->getStringAttribute ("fs3");
    }

    /** What the pedal board sends, handed to the engine's input callback. */
    void send (const juce::MidiMessage& message) { engine.handleIncomingMidiMessage (nullptr, message); }
    static juce::MidiMessage noteOn (int n) { return juce::MidiMessage::noteOn (1, n, (juce::uint8) 100); }

    static int learnStep() { return VlMidiInputDlg::getInstance (false)->getLearnStep(); }

    /** Footswitch 1's note again at footswitch 2's step, and the warning shown and closed. */
    void sendARefusedNote()
    {
        send (noteOn (20));
        MessageLoop::pumpUntil ([this] {
            return ! promptsOf (FakePrompts::Kind::message).empty()
                   && prompts.prompts.back().icon == CPrompts::Icon::warning;
        });
    }
};

// Stopped right after a refusal, the control being learnt keeps the note it had.
TEST_F (VlMidiInputDlgAppTests, AStopAfterARefusalKeepsWhatTheControlBeingLearntHad)
{
    const auto saved = learnThenQuit ([this] {
        sendARefusedNote();
        EXPECT_EQ (learnStep(), 2);
    });

    EXPECT_EQ (saved, "20 2 3");
}

// What the board sends while the warning shows belongs to no control: the pass waits behind the box.
TEST_F (VlMidiInputDlgAppTests, NothingIsLearntWhileTheWarningShows)
{
    prompts.whileOpen = [this] (const FakePrompts::Prompt& prompt) {
        if (prompt.icon == CPrompts::Icon::warning)
            send (noteOn (22));
    };

    const auto saved = learnThenQuit ([this] {
        sendARefusedNote();
        EXPECT_EQ (learnStep(), 2);
        send (noteOn (23));
        EXPECT_EQ (learnStep(), 3);
    });

    EXPECT_EQ (saved, "20 23 3");
}

TEST_F (VlMidiInputDlgAppTests, OpensFromTheEditMenuReceivesWhatTheEngineLearnsAndKeepsItsPlace)
{
    start (R"(<preferences><midi_in device="FCB1010" channel="1"/><input_dlg state="200 100 650 340"/></preferences>)");

    ModalTest::whenModal ([this] (juce::Component& window) {
        EXPECT_EQ (window.getPosition(), juce::Point<int> (200, 100));
        EXPECT_TRUE (isGreyed (VlApplication::CommandId::midiPreferences));
        VlMidiInputDlg::getInstance (false)->toggleLearning();
        engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::controllerEvent (1, 9, 64));
        window.setTopLeftPosition (300, 220);
        ModalTest::pressEscape (window);
    });

    EXPECT_TRUE (perform (VlApplication::CommandId::midiPreferences));
    stop();
    const auto saved = home.getPreferencesFile().loadFileAsString();
    EXPECT_TRUE (saved.contains (R"(ep1="137")")) << saved;
    EXPECT_TRUE (saved.contains (R"(<input_dlg state="300 220 650 340)")) << saved;
}
