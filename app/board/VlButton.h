#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** One footswitch of the on-screen pedal board.

    Holds what the board shows of a control: the label (the button text), the target
    text and, for a multi-state control, the current state's label and colour; the
    control's colour is the button's buttonColourId and buttonOnColourId.
    VlFCBLookAndFeel draws it as a footswitch.

    A mouse press and release are reported to the engine singleton as a footswitch
    press and release, exactly as the pedal board's own notes would be. Main thread.
*/
class VlButton : public juce::TextButton
{
public:
    /** A button named with its footswitch number ("1".."10"), which becomes getNumber(). */
    VlButton (const juce::String& name, const juce::String& tooltip);

    ~VlButton() override;

    //==============================================================================
    /** The footswitch number 1..10, read from the name. */
    int getNumber() const noexcept { return number; }

    /** True when the shown control has more than one state: the face keeps a line for it. */
    bool isMultiState() const noexcept { return multiState; }

    /** Gives or takes away the line for the state's label; repaints. */
    void setMultiState (bool shouldShowState);

    /** The shown control's target text. */
    const juce::String& getTargetText() const noexcept { return targetText; }

    /** Changes the target text; repaints. */
    void setTargetText (const juce::String& newText);

    /** The label of the shown control's current state (empty when there is none). */
    const juce::String& getStateLabel() const noexcept { return stateLabel; }

    /** The colour the state's label is drawn in. */
    juce::Colour getStateColour() const noexcept { return stateColour; }

    /** Changes the state's label and colour; repaints. */
    void setStateLabel (const juce::String& newLabel, juce::Colour newColour);

    /** Shows the pedal board's footswitch held down or let go. While it is held the button
        is drawn down, whatever a refresh or the mouse does to the button's own state.
    */
    void setFootDown (bool isDown);

    /** True while the pedal board's footswitch is held. */
    bool isFootDown() const noexcept { return footDown; }

    //==============================================================================
    /** Presses the footswitch in the engine, then the button's own handling. */
    void mouseDown (const juce::MouseEvent& event) override;

    /** Releases the footswitch in the engine, then the button's own handling. */
    void mouseUp (const juce::MouseEvent& event) override;

    /** Draws the button down while the foot holds it. */
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    const int number;
    bool multiState = false, footDown = false;
    juce::String targetText, stateLabel;
    juce::Colour stateColour { 0xffffffff };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlButton)
};
