#pragma once

#include "app/dialogs/JMidiInputDlg.h"
#include "common/CSingleInstance.h"
#include "common/gui/CModalDialog.h"

#include <atomic>

class VlEngine;

//==============================================================================
/** The MIDI input setup: the user picks the input device and channel that the pedal
    board is heard on, and teaches the engine, control by control, which note each
    footswitch sends and which controller each pedal sends (MIDI learn).

    While it is open the engine is in mode 3 (input plays nothing) and, while it
    learns, in mode 4: then the engine hands every note-on and controller to
    learnMessage(). Learning walks pedal 11, footswitches 1 to 10, then pedal 12, the
    control being learnt shown green on the dialog's own board; a message that a control
    learnt earlier in the pass uses is refused and warned about once, the control being
    learnt keeping what it had and nothing learnt until the warning is closed, while one
    that a control still to come holds moves to the control being learnt (the other shows
    "?" until its turn). Every choice takes effect in the engine at once; nothing is undone
    when the dialog closes, which returns the engine to mode 1.

    A normal object over an engine that outlives it; while it exists it is the instance
    that getInstance() answers (getInstance(true) makes one over the engine singleton,
    owned until deleteInstance()). The window's place is kept in windowState.

    Main thread; learnMessage() (and what it calls) on the MIDI input thread while the
    engine holds the message-manager lock.
*/
class VlMidiInputDlg : public CModalDialog,
                       public JMidiInputDlg::Listener,
                       private juce::AsyncUpdater
{
public:
    /** Channels "1".."16"; the content is made at the first showing. */
    explicit VlMidiInputDlg (VlEngine& engine);

    ~VlMidiInputDlg() override;

    /** The dialog that exists; when there is none and `create` is true, a new one over
        the engine singleton, owned until deleteInstance(). Null otherwise.
    */
    static VlMidiInputDlg* getInstance (bool create);

    /** Deletes the dialog that getInstance(true) made, if any. */
    static void deleteInstance();

    //==============================================================================
    /** Shows the dialog modally and returns when it is closed (Escape or the close
        button). Lists the present input devices, each name once, and selects the
        engine's device and channel; a configured device that is absent stays
        configured, with nothing selected. "learn" shows only while the input is open.
        On closing: mode 1, learning over (what it learnt stays), a warning not yet
        shown dropped, and the main board and patch list refreshed for mode 1.
    */
    void show();

    /** Starts learning, after an information box, or stops it when it runs. */
    void toggleLearning() override;

    /** MIDI thread, under the message-manager lock: a note-on (number = note) or a
        controller (number = controller) while learning. A message of the kind the
        control being learnt takes is stored for it and learning moves on; one that a
        control learnt earlier in this pass uses leaves the control as it was, and asks
        again after a warning. A message of the other kind, or one that comes while the
        warning is pending or open, is ignored.
    */
    void learnMessage (bool isController, int number);

    /** Labels and colours the learn patch's controls for the mode ("Note #n",
        "CC #n", "?") and redraws the dialog's board.
    */
    void refreshLabels();

    /** The device choice at that index: the engine listens to it (its channel kept).
        -1 (nothing selected) changes nothing.
    */
    void deviceChanged (int index) override;

    /** The channel choice at that index: the engine listens on channel index + 1.
        -1 (nothing selected) changes nothing.
    */
    void channelChanged (int index) override;

    //==============================================================================
    /** The control being learnt (11, 1..10, 12), -1 while not learning. */
    int getLearnStep() const noexcept { return learnStep; }

    /** The input devices listed at the last showing, as the device choice holds them. */
    const juce::StringArray& getDeviceNames() const noexcept { return deviceNames; }

    /** The content, null before the first showing. */
    JMidiInputDlg* getContent() const noexcept { return content.get(); }

private:
    //==============================================================================
    void handleAsyncUpdate() override;
    void showLearnButtonIfInputIsOpen();
    void refreshMainWindow();

    VlEngine& engine;
    std::unique_ptr<JMidiInputDlg> content;
    juce::StringArray deviceNames, channelNames;
    std::atomic<int> learnStep { -1 };

    // A refused message, carried from the MIDI thread to the warning on the main thread.
    std::atomic<bool> conflictPending { false };
    bool warningShowing = false;

    // One dialog at a time: the engine's learnt messages reach only one.
    CSingleInstance<VlMidiInputDlg> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlMidiInputDlg)
};
