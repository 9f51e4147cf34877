#pragma once

#include "app/board/VlSlider.h"

class VlControlCfg;

//==============================================================================
/** The two expression pedals of the on-screen pedal board (ids 11 and 12), each a
    VlSlider with the control's label above and its target text below.

    It shows what VlEngine::getDisplayedControl says for the engine's mode. A value
    from the pedal board (setPedalValue) only moves the slider; every change of a
    slider, from the mouse or from the pedal board, reaches VlEngine::onPedalValue on
    the main thread, and only once the slider is taken over (soft take-over, see
    VlSlider). Values from the pedal board are delivered asynchronously, so several
    that arrive before the main thread runs reach the engine as one, the latest.

    Main thread, or the MIDI input thread while it holds the message-manager lock
    (setPedalValue and whatever the engine refreshes from there).
*/
class JSlidersPanel : public juce::Component,
                      private juce::Slider::Listener
{
public:
    /** Two sliders drawn by VlFCBLookAndFeel and four labels ("Control name", "Target"); 250 x 400. */
    JSlidersPanel();

    /** Takes the look-and-feel off the sliders, then deletes them and the labels. */
    ~JSlidersPanel() override;

    //==============================================================================
    /** Shows the engine's displayed controls 11 and 12; each pedal starts a new
        take-over from its control's current value, unless it is taken over and shows
        the same control, whose value has not changed meanwhile (VlSlider::showControl).
    */
    void refreshAll();

    /** Moves the slider of pedal 11 or 12 to the value; other ids do nothing. The
        engine hears of it later, on the main thread.
    */
    void setPedalValue (int controlId, juce::uint8 value);

    /** Shows the control (null for none) on the slider and its labels: its label,
        target and colour, a take-over towards its current value (kept when already
        taken over on that control, see VlSlider::showControl), its muted flag.
        Without a control the slider is grey, without bar, and disabled; the labels
        are emptied.
    */
    static void updateSlider (VlSlider& slider, juce::Label& nameLabel, juce::Label& targetLabel,
                              const VlControlCfg* control);

    /** The slider of pedal 11 or 12, or null. */
    VlSlider* getSlider (int controlId) const noexcept;

    /** The label above pedal 11 or 12 (its control's label), or null. */
    juce::Label* getNameLabel (int controlId) const noexcept;

    /** The label below pedal 11 or 12 (its control's target), or null. */
    juce::Label* getTargetLabel (int controlId) const noexcept;

    //==============================================================================
    /** Places the sliders and labels: widths in proportion, heights in pixels. */
    void resized() override;

private:
    void sliderValueChanged (juce::Slider* slider) override;
    static void setUpLabel (juce::Label& label, bool bold);

    std::unique_ptr<VlSlider> slider11;
    std::unique_ptr<juce::Label> nameLabel11, nameLabel12, targetLabel11, targetLabel12;
    std::unique_ptr<VlSlider> slider12;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JSlidersPanel)
};
