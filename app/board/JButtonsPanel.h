#pragma once

#include "app/board/VlButton.h"

#include <array>

class VlControlCfg;

//==============================================================================
/** The ten footswitches of the on-screen pedal board, in two rows like the pedal
    board itself: 1..5 below, 6..10 above and shifted right by half a step.

    It shows what VlEngine::getDisplayedControl says for the engine's mode, and
    passes the pedal board's footswitch events on to the engine. Until the first
    refreshAll() every button reads "new button".

    Main thread, or the MIDI input thread while it holds the message-manager lock
    (footswitchEvent and whatever the engine refreshes from there).
*/
class JButtonsPanel : public juce::Component
{
public:
    /** Ten buttons named "1".."10", drawn by VlFCBLookAndFeel, without keyboard focus; 400 x 200. */
    JButtonsPanel();

    /** Takes the look-and-feel off the buttons, then deletes them. */
    ~JButtonsPanel() override;

    //==============================================================================
    /** Shows the engine's displayed control on every footswitch, 1 to 10. */
    void refreshAll();

    /** Shows the control (null for none) on footswitch 1..10; other numbers do nothing. */
    void refreshButton (int footswitch, const VlControlCfg* control);

    /** A footswitch of the pedal board went down or up: shows it and then passes it to
        VlEngine::onFootswitch. Numbers other than 1..10 do nothing at all.
    */
    void footswitchEvent (int footswitch, bool down);

    /** Shows the control on the button: its colour, label and target, and for a control
        with several states the label and colour of the current one (none when it has no
        current state). Without a control the button is grey, empty and disabled.
    */
    static void updateButton (VlButton& button, const VlControlCfg* control);

    /** The button of footswitch 1..10, or null. */
    VlButton* getButton (int footswitch) const noexcept;

    //==============================================================================
    /** Places the buttons in proportion to the panel. */
    void resized() override;

private:
    std::array<std::unique_ptr<VlButton>, 10> buttons;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JButtonsPanel)
};
