#include "engine/VlaGoTo.h"
#include "engine/VlamNote.h"
#include "fixtures/BoardFixture.h"

// A footswitch held while something else happens: its release answers its press, and
// its button shows the foot.
class HeldFootswitchTests : public BoardFixture
{
protected:
    /** "One": footswitch 2 plays note 62, footswitch 3 notes 60 and 61 in turn, footswitch 6
        goes to "Two". "Two": footswitch 2 plays note 66, footswitch 3 notes 64 and 65.
        Navigation as by default: "*" on footswitch 10, "+" on 2, "<" on 4.
    */
    HeldFootswitchTests()
    {
        auto& one = addPatch ("One");
        note (addControl (one, 2), 0, 62);
        auto& turns = addControl (one, 3, 2);
        note (turns, 0, 60);
        note (turns, 1, 61);

        auto& two = addPatch ("Two");
        note (addControl (two, 2), 0, 66);
        auto& other = addControl (two, 3, 2);
        note (other, 0, 64);
        note (other, 1, 65);
        addAction<VlaGoTo> (*addControl (one, 6).getState (0)).setPatch (1);
        play();
        showOnDesktop();
    }

    static void note (VlControlCfg& control, int state, int number)
    {
        addAction<VlamNote> (*control.getState (state)).setNumber ((juce::uint8) number);
    }

    /** Gestures as the player makes them: "3v" footswitch 3 down, "3^" up, "row 1" a click
        on that row of the patch list.
    */
    void perform (const juce::String& gesture)
    {
        if (gesture.startsWith ("row "))
            click (list, list.getRowPosition (gesture.getTrailingIntValue(), true).getCentre());
        else
            buttons.footswitchEvent (gesture.getIntValue(), gesture.endsWith ("v"));
    }

    /** Drawn with the thick, brightened outline of a pressed pad, on the face or on nothing. */
    bool drawnDown (int footswitch)
    {
        auto& button = *buttons.getButton (footswitch);
        const auto pixel =
            button.createComponentSnapshot (button.getLocalBounds()).getPixelAt (2, button.getHeight() / 2);
        return pixel.getAlpha() > 0 && pixel.getBrightness() > 0.05f;
    }

    static MidiBytes on (int number) { return { 0x90, (juce::uint8) number, 100 }; }
    static MidiBytes off (int number) { return { 0x80, (juce::uint8) number, 0 }; }
};

//==============================================================================
TEST_F (HeldFootswitchTests, AReleaseGoesToTheControlThatPlayedItsPressWhateverCameBetween)
{
    struct Case
    {
        const char* what;
        juce::StringArray gestures;
        std::vector<MidiBytes> sent;
        int patch, mode;
    };

    // Each ends by playing footswitch 3 once more, which shows whose state stepped.
    const Case cases[] = {
        { "held into navigation mode, then back to play",
          { "3v", "10v", "10^", "3^", "10v", "10^", "3v", "3^" },
          { on (60), off (60), on (61), off (61) },
          0,
          ModePlay },
        { "held into navigation mode: lifting runs no \"+\"",
          { "2v", "10v", "10^", "2^" },
          { on (62), off (62) },
          0,
          ModeNavigation },
        { "held across a go-to",
          { "3v", "3^", "3v", "6v", "6^", "3^", "3v", "3^" },
          { on (60), off (60), on (61), off (61), on (64), off (64) },
          1,
          ModePlay },
        { "pressed again before it was lifted, across a go-to",
          { "3v", "6v", "6^", "3v", "3^", "3^", "3v", "3^" },
          { on (60), off (60), on (64), off (64), on (65), off (65) },
          1,
          ModePlay },
        { "held across a choice in the patch list",
          { "3v", "3^", "3v", "row 1", "3^", "3v", "3^" },
          { on (60), off (60), on (61), off (61), on (64), off (64) },
          1,
          ModePlay },
        { "held across a navigation function",
          { "3v", "10v", "10^", "2v", "2^", "3^", "3v", "3^" },
          { on (60), off (60), on (64), off (64) },
          1,
          ModePlay },
        { "pressed in navigation mode, lifted after leaving it",
          { "10v", "10^", "2v", "10v", "10^", "2^" },
          {},
          0,
          ModePlay },
    };

    for (const auto& c : cases)
    {
        engine.goToPatch (0, true);
        engine.getPatch (0)->getControl (3)->setCurrentState (0);
        engine.getPatch (1)->getControl (3)->setCurrentState (0);
        takeSent();

        for (const auto& gesture : c.gestures)
            perform (gesture);

        EXPECT_EQ (takeSent(), c.sent) << c.what;
        EXPECT_EQ (engine.getCurrentPatchIndex(), c.patch) << c.what;
        EXPECT_EQ (engine.getMode(), c.mode) << c.what;
    }
}

TEST_F (HeldFootswitchTests, TheButtonStaysDownWhileTheFootHoldsItInAnyMode)
{
    // Footswitch 3 shows nothing in navigation mode; footswitch 4 carries "<" there.
    const juce::StringArray gestures { "3v", "10v", "10^", "4v", "10v", "10^", "6v", "6^", "row 0", "3^", "4^" };
    juce::StringArray held;

    for (const auto& gesture : gestures)
    {
        perform (gesture);

        const auto footswitch = gesture.dropLastCharacters (1);

        if (gesture.endsWith ("v"))
            held.addIfNotAlreadyThere (footswitch);
        else if (gesture.endsWith ("^"))
            held.removeString (footswitch);

        for (auto shown : { 3, 4, 6 })
            EXPECT_EQ (drawnDown (shown), held.contains (juce::String (shown)))
                << "footswitch " << shown << " after " << gesture;
    }
}
