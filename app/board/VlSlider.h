#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class VlControlCfg;

//==============================================================================
/** One expression pedal of the on-screen pedal board: a vertical slider 0..127 drawn
    as a segmented bar in the control's colour, rising from the bottom, with an
    outlined thumb where the slider stands.

    It implements the soft take-over: after setTargetValue() (the shown control's last
    value) the slider is "pending" until it reaches or passes that value from the side
    it stood on; only then is it taken over, and from then on getTargetValue() follows
    the slider. While pending, and while the control is muted, the bar is dimmed and
    shows the control's value; the thumb always shows where the slider is.

    Main thread, or the MIDI input thread while it holds the message-manager lock.
*/
class VlSlider : public juce::Slider
{
public:
    /** Range 0..127, step 1; taken over at 0, white bar. */
    VlSlider();

    ~VlSlider() override;

    //==============================================================================
    /** Starts a take-over towards this value: pending below or above it, or taken over
        at once when the slider already stands there.
    */
    void setTargetValue (juce::uint8 value);

    /** Shows a control's last value (null: no control). Starts a take-over towards it,
        except when the slider is taken over, already shows this control and the control
        still has the value last passed on to it: a value still on its way to the engine
        then stays valid, so a refresh in between does not lose it.
    */
    void showControl (const VlControlCfg* control, juce::uint8 value);

    /** Records that the slider's value was passed on to the shown control. */
    void valuePassedOn (juce::uint8 value) noexcept { controlValue = value; }

    /** While pending the value to reach; once taken over the slider's own value. */
    juce::uint8 getTargetValue() const noexcept { return targetValue; }

    /** -1 pending above the target, 1 pending below it, 0 taken over. */
    int getDirection() const noexcept { return direction; }

    /** True when taken over: changes are then passed on. */
    bool isTakenOver() const noexcept { return direction == 0; }

    /** Marks the shown pedal muted (dimmed bar) or not; repaints. */
    void setMuted (bool shouldBeMuted);

    /** True when the shown pedal is muted. */
    bool isMuted() const noexcept { return muted; }

    /** Recolours the bar and rebuilds its images. */
    void setBarColour (juce::Colour newColour);

    /** The bar's colour. */
    juce::Colour getBarColour() const noexcept { return barColour; }

    //==============================================================================
    /** Runs inside every change of the value (mouse or setValue), before the listeners
        hear of it: completes a pending take-over once the target is reached or passed.
    */
    void valueChanged() override;

    /** Black back and the bar up to getTargetValue(), then the look-and-feel's frame and thumb. */
    void paint (juce::Graphics& g) override;

    /** Rebuilds the bar images for the new size. */
    void resized() override;

private:
    void rebuildImages();
    juce::uint8 currentValue() const noexcept { return (juce::uint8) (int) getValue(); }

    static constexpr int segmentHeight = 5, segmentGap = 3, margin = 16;

    juce::uint8 targetValue = 0;
    int direction = 0;
    const VlControlCfg* shownControl = nullptr;    // only compared, never followed
    juce::uint8 controlValue = 0;                  // the shown control's value as last known here
    bool muted = false;
    juce::Colour barColour { 0xffffffff };
    juce::Image barImage, dimmedImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlSlider)
};
