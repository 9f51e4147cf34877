#pragma once

#include "common/CSingleInstance.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The look of the on-screen pedal board: footswitch pads and faces (VlButton), the
    frames and thumbs of the pedals (VlSlider), and the bevelled background panel that
    the main window and the MIDI input dialog paint in a patch's colour.

    A pad is a black rounded face outlined in the button's buttonColourId, thin at rest
    and thick under the mouse or pressed; a disabled pad is only the thin outline. Its
    face shows the footswitch number, the label (one word a line, centred as a block),
    the state's label for a multi-state control and the target text, in buttonOnColourId.
    A pedal gets an outline in its thumbColourId and an outlined thumb; its black back
    and value bar are the slider's own.

    One instance, made on first use through getInstance(). The board panels set it on
    their buttons and sliders and take it off before they go. The application deletes it
    at shutdown; otherwise JUCE does, when it shuts down. Main thread only.
*/
class VlFCBLookAndFeel : public juce::LookAndFeel_V2,
                         private juce::DeletedAtShutdown
{
public:
    /** The instance; when there is none and `create` is true, makes it first, else null. */
    static VlFCBLookAndFeel* getInstance (bool create);

    /** Deletes the instance, if any. Nothing may still use it. */
    static void deleteInstance();

    ~VlFCBLookAndFeel() override;

    //==============================================================================
    /** The board's colour under the mouse or pressed: pressed, brighter by 0.4; under the
        mouse, darker by 0.1 when its brightness is above 0.5, else brighter by 0.1;
        otherwise the colour itself.
    */
    static juce::Colour getHighlightColour (juce::Colour colour, bool isMouseOver, bool isDown);

    /** The background's diagonal gradient over `area`: the colour at its top left, the
        colour with 30 % of black (red + green + blue of 384 or more) or of white laid over
        it at its bottom right. The patch list's highlight shows the same gradient.
    */
    static juce::ColourGradient createPanelGradient (juce::Colour colour, juce::Rectangle<float> area);

    /** Fills the graphics' whole clip with the panel gradient over (x, y, width, height),
        then draws a groove just above the middle (a dark line with a faint light edge above
        and below) and a shadow along the bottom. The groove's line is 0.008 of the height
        and the edges 0.012, each rounded to whole pixels: below 63 pixels there is no line,
        below 42 only the gradient.
    */
    static void drawBevelledPanel (juce::Graphics& g, int x, int y, int width, int height, juce::Colour colour);

    //==============================================================================
    /** The pad of a footswitch. */
    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

    /** The face of a footswitch; draws nothing on buttons other than VlButton. */
    void drawButtonText (juce::Graphics& g, juce::TextButton& button, bool isMouseOverButton,
                         bool isButtonDown) override;

    /** The frame and thumb of a linear slider; other styles are JUCE's own. */
    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle style, juce::Slider& slider) override;

    /** Half the slider's narrow side less one, at most 16; 10 for other styles. */
    int getSliderThumbRadius (juce::Slider& slider) override;

    /** A plain "+" or "-" text button. */
    juce::Button* createSliderButton (juce::Slider& slider, bool isIncrement) override;

    /** An empty, centred label named "n" in the slider's text-box colours, its font 0.7 of the slider's height. */
    juce::Label* createSliderTextBox (juce::Slider& slider) override;

private:
    VlFCBLookAndFeel();
    friend class CSingleInstance<VlFCBLookAndFeel>;

    CSingleInstance<VlFCBLookAndFeel> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlFCBLookAndFeel)
};
