#include "app/JContentComponent.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/MessageLoop.h"

// The main window's content: the engine's user interface while it exists, its
// layout, its background, and the pedal board's MIDI reaching the on-screen board
// through the engine's input callback, on the input's own thread.
class JContentComponentTests : public EngineFixture
{
protected:
    std::unique_ptr<JContentComponent> content = std::make_unique<JContentComponent>();

    /** Footswitch 3 (note 3 of the pedal board) plays note 64 and pedal 11 (its
        controller 1) follows with controller 7, both on "Synth"; the pedal board's
        input is open.
    */
    void setUpPlayedPatch()
    {
        auto& patch = addPatch();
        addAction<VlamNote> (*addControl (patch, 3).getState (0)).setNumber (64);
        addAction<VlamCCContinuos> (*addControl (patch, 11).getState (0)).setController (7);
        play();
        engine.setMidiInput ("FCB1010", 1);
        ASSERT_TRUE (engine.isMidiInputOpen());
    }

    /** The pedal board sends the message; the input's own thread hands it to the engine. */
    void fromPedalBoard (const juce::MidiMessage& message)
    {
        ASSERT_TRUE (ports.injectMessage (fcb, message));
    }

    /** Runs the message loop until "Synth" receives something; returns what it received. */
    std::vector<MidiBytes> receive()
    {
        std::vector<MidiBytes> received;
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
    setUpPlayedPatch();
    auto* button = content->getButtonsPanel().getButton (3);

    EXPECT_EQ (JContentComponent::getInstance(), content.get());
    fromPedalBoard (juce::MidiMessage::noteOn (1, 3, (juce::uint8) 100));

    EXPECT_EQ (receive(), (std::vector<MidiBytes> { { 0x90, 64, 100 } }));
    EXPECT_TRUE (button->isDown());

    fromPedalBoard (juce::MidiMessage::noteOff (1, 3));
    EXPECT_EQ (receive(), (std::vector<MidiBytes> { { 0x80, 64, 0 } }));
    EXPECT_FALSE (button->isDown());

    // A pedal moves its slider under the lock; the main thread plays the value later.
    fromPedalBoard (juce::MidiMessage::controllerEvent (1, 1, 100));
    EXPECT_EQ (receive(), (std::vector<MidiBytes> { { 0xb0, 7, 100 } }));
    EXPECT_EQ (content->getSlidersPanel().getSlider (11)->getValue(), 100.0);

    // Gone: the engine drops what the pedal board sends.
    content = nullptr;
    EXPECT_EQ (JContentComponent::getInstance(), nullptr);
    EXPECT_EQ (PatchesList::getInstance(), nullptr);
    EXPECT_EQ (engine.getUserInterface(), nullptr);

    engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOn (1, 3, (juce::uint8) 100));
    EXPECT_TRUE (takeSent().empty());

    // A new one takes over the board.
    content = std::make_unique<JContentComponent>();
    fromPedalBoard (juce::MidiMessage::noteOff (1, 3));
    EXPECT_EQ (receive(), (std::vector<MidiBytes> { { 0x80, 64, 0 } }));
}

TEST_F (JContentComponentTests, TheBoardWidensAndTheSlidersAndListKeepTheirWidths)
{
    auto& buttons = content->getButtonsPanel();
    auto& sliders = content->getSlidersPanel();
    auto& list = content->getPatchesList();

    content->setSize (830, 280);
    EXPECT_EQ (buttons.getBounds(), juce::Rectangle<int> (0, 0, 450, 280));
    EXPECT_EQ (sliders.getBounds(), juce::Rectangle<int> (450, 0, 170, 280));
    EXPECT_EQ (list.getBounds(), juce::Rectangle<int> (620, 7, 210, 266));
    EXPECT_EQ (buttons.getButton (6)->getBounds(), juce::Rectangle<int> (43, 5, 59, 126));

    content->setSize (1000, 500);
    EXPECT_EQ (buttons.getBounds(), juce::Rectangle<int> (0, 0, 620, 500));
    EXPECT_EQ (sliders.getBounds(), juce::Rectangle<int> (620, 0, 170, 500));
    EXPECT_EQ (list.getBounds(), juce::Rectangle<int> (790, 12, 210, 476));
}

TEST_F (JContentComponentTests, TheBackgroundShowsTheShownPatchsColourOrNothing)
{
    content->setSize (830, 280);
    EXPECT_EQ (backgroundPixel().getAlpha(), 0);

    addPatch().setColor (0xff3060c0);
    addPatch().setColor (0xffc06030);
    play();

    const auto colour = backgroundPixel();
    EXPECT_NEAR (colour.getRed(), 0x30, 2);
    EXPECT_NEAR (colour.getGreen(), 0x60, 2);
    EXPECT_NEAR (colour.getBlue(), 0xc0, 2);

    engine.goToPatch (1, true);
    EXPECT_NEAR (backgroundPixel().getRed(), 0xc0, 2);

    // Towards the bottom right light colours (red + green + blue >= 384) darken, others lighten.
    const juce::Colour light (0xff808080), dark (0xff80807f);
    EXPECT_EQ (JContentComponent::createBackgroundGradient (light, { 10, 10 }).getColourAtPosition (1.0),
               light.overlaidWith (juce::Colours::black.withAlpha (0.3f)));
    EXPECT_EQ (JContentComponent::createBackgroundGradient (dark, { 10, 10 }).getColourAtPosition (1.0),
               dark.overlaidWith (juce::Colours::white.withAlpha (0.3f)));
}
