#include "app/VlFCBLookAndFeel.h"
#include "app/board/JContentComponent.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/MessageLoop.h"

// The main window's content is the engine's user interface while it exists.
class JContentComponentTests : public EngineFixture
{
protected:
    std::unique_ptr<JContentComponent> content = std::make_unique<JContentComponent>();

    /** Sends the message from the pedal board (handed over on the input's own thread) and runs the
        message loop until "Synth" receives something; returns what it received.
    */
    std::vector<MidiBytes> fromPedalBoard (const juce::MidiMessage& message)
    {
        std::vector<MidiBytes> received;
        EXPECT_TRUE (ports.injectMessage (fcb, message));
        MessageLoop::pumpUntil ([&] { return ! (received = takeSent()).empty(); });
        return received;
    }

    juce::Colour backgroundPixel()
    {
        return content->createComponentSnapshot (content->getLocalBounds()).getPixelAt (1, 1);
    }
};

//==============================================================================
TEST_F (JContentComponentTests, ThePedalBoardsMidiReachesTheBoardWhileItExists)
{
    // Footswitch 3 (note 3) plays note 64, pedal 11 (controller 1) follows with controller 7.
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 3).getState (0)).setNumber (64);
    addAction<VlamCCContinuos> (*addControl (patch, 11).getState (0)).setController (7);
    play();
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());
    auto* button = content->getButtonsPanel().getButton (3);
    using Sent = std::vector<MidiBytes>;
    EXPECT_EQ (fromPedalBoard (juce::MidiMessage::noteOn (1, 3, (juce::uint8) 100)), (Sent { { 0x90, 64, 100 } }));
    EXPECT_TRUE (button->isDown());
    EXPECT_EQ (fromPedalBoard (juce::MidiMessage::noteOff (1, 3)), (Sent { { 0x80, 64, 0 } }));
    EXPECT_FALSE (button->isDown());
    EXPECT_EQ (fromPedalBoard (juce::MidiMessage::controllerEvent (1, 1, 100)), (Sent { { 0xb0, 7, 100 } }));
    EXPECT_EQ (content->getSlidersPanel().getSlider (11)->getValue(), 100.0);

    // Gone: the engine drops what the pedal board sends; a new one takes over the board
    // (the release of the press dropped meanwhile plays nothing).
    content = nullptr;
    EXPECT_EQ (PatchesList::getInstance(), nullptr);
    EXPECT_EQ (engine.getUserInterface(), nullptr);
    engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOn (1, 3, (juce::uint8) 100));
    EXPECT_TRUE (takeSent().empty());
    content = std::make_unique<JContentComponent>();
    engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOff (1, 3));
    EXPECT_TRUE (takeSent().empty());
    EXPECT_EQ (fromPedalBoard (juce::MidiMessage::noteOn (1, 3, (juce::uint8) 100)), (Sent { { 0x90, 64, 100 } }));
    EXPECT_EQ (fromPedalBoard (juce::MidiMessage::noteOff (1, 3)), (Sent { { 0x80, 64, 0 } }));
}

TEST_F (JContentComponentTests, TheBoardWidensAndTheSlidersAndListKeepTheirWidths)
{
    auto& buttons = content->getButtonsPanel();
    auto& sliders = content->getSlidersPanel();
    auto& list = content->getPatchesList();
    using R = juce::Rectangle<int>;

    content->setSize (1000, 500);
    EXPECT_EQ (buttons.getBounds(), R (0, 0, 620, 500));
    EXPECT_EQ (sliders.getBounds(), R (620, 0, 170, 500));
    EXPECT_EQ (list.getBounds(), R (790, 12, 210, 476));
}

TEST_F (JContentComponentTests, TheBackgroundShowsTheShownPatchsColourOrNothing)
{
    content->setSize (830, 280);
    EXPECT_EQ (backgroundPixel().getAlpha(), 0);
    addPatch().setColor (0xff3060c0);
    addPatch().setColor (0xffc06030);
    play();
    EXPECT_NEAR (backgroundPixel().getRed(), 0x30, 2);
    EXPECT_NEAR (backgroundPixel().getBlue(), 0xc0, 2);
    engine.goToPatch (1, true);
    EXPECT_NEAR (backgroundPixel().getRed(), 0xc0, 2);

    // Towards the bottom right light colours (red + green + blue >= 384) darken, others lighten.
    const juce::Colour light (0xff808080), dark (0xff80807f);
    EXPECT_EQ (VlFCBLookAndFeel::createPanelGradient (light, { 10, 10 }).getColourAtPosition (1.0),
               light.overlaidWith (juce::Colours::black.withAlpha (0.3f)));
    EXPECT_EQ (VlFCBLookAndFeel::createPanelGradient (dark, { 10, 10 }).getColourAtPosition (1.0),
               dark.overlaidWith (juce::Colours::white.withAlpha (0.3f)));
}
