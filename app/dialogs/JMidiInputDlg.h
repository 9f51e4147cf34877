#pragma once

#include "app/board/JButtonsPanel.h"
#include "app/board/JSlidersPanel.h"

//==============================================================================
/** The content of the MIDI input setup, 650 x 340: on a black strip at the top the
    input device and channel choices and the "learn" button, below them the dialog's
    own copy of the pedal board, which shows the engine's learn patch.

    A device or channel choice and a click on "learn" go to the listener, the dialog
    that owns this content. Main thread, or the MIDI input thread while it holds the
    message-manager lock (the dialog refreshing the board and the button while it learns).
*/
class JMidiInputDlg : public juce::Component,
                      private juce::Button::Listener,
                      private juce::ComboBox::Listener
{
public:
    /** What the strip's choices and the "learn" button tell; main thread. */
    class Listener
    {
    public:
        /** Not owned by the content. */
        virtual ~Listener() = default;

        /** "learn" was clicked. */
        virtual void toggleLearning() = 0;

        /** The device choice changed to that index, -1 when nothing is selected. */
        virtual void deviceChanged (int index) = 0;

        /** The channel choice changed to that index, -1 when nothing is selected. */
        virtual void channelChanged (int index) = 0;
    };

    /** The children, with the help texts of the running application as tooltips. The
        listener outlives the content.
    */
    explicit JMidiInputDlg (Listener& owner);

    ~JMidiInputDlg() override;

    //==============================================================================
    JButtonsPanel& getButtonsPanel() noexcept { return *buttonsPanel; }
    JSlidersPanel& getSlidersPanel() noexcept { return *slidersPanel; }
    juce::TextButton& getLearnButton() noexcept { return *learnButton; }
    juce::ComboBox& getDeviceCombo() noexcept { return *deviceCombo; }
    juce::ComboBox& getChannelCombo() noexcept { return *channelCombo; }
    juce::Label& getDeviceLabel() noexcept { return *deviceLabel; }
    juce::Label& getChannelLabel() noexcept { return *channelLabel; }

    //==============================================================================
    /** The board's background in light grey below the strip, the black strip above. */
    void paint (juce::Graphics& g) override;

    /** The strip's children at fixed places from the edges; the board fills the rest. */
    void resized() override;

private:
    void buttonClicked (juce::Button* button) override;
    void comboBoxChanged (juce::ComboBox* comboBox) override;
    static void setUpCombo (juce::ComboBox& combo);
    static void setUpLabel (juce::Label& label);

    Listener& owner;
    std::unique_ptr<JButtonsPanel> buttonsPanel;
    std::unique_ptr<JSlidersPanel> slidersPanel;
    std::unique_ptr<juce::TextButton> learnButton;
    std::unique_ptr<juce::ComboBox> deviceCombo, channelCombo;
    std::unique_ptr<juce::Label> deviceLabel, channelLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JMidiInputDlg)
};
