#pragma once

#include "common/CColorsSetOwner.h"
#include "common/CMidiDevices.h"
#include "common/CMidiInputLock.h"
#include "engine/VlLearnTable.h"
#include "engine/VlPatch.h"
#include "engine/VlTypes.h"
#include "engine/VlUserInterface.h"

#include <array>
#include <atomic>
#include <map>
#include <vector>

class VlDocumentStage;

//==============================================================================
/** The centre of the system: owns the document's patches and knows the current one,
    receives the pedal board's MIDI, runs navigation and the learn table, and sends
    every MIDI message that an action produces to the output device of its name.

    A normal object: tests build their own with in-memory ports. While it exists it is
    the registered instance that getInstance() answers and through which the model
    (actions, controls) reaches it; getInstance(true) also creates one on first use.

    Threads: handleIncomingMidiMessage() runs on the MIDI input thread; it filters
    and looks up without a lock, then hands footswitches, pedals and learnt messages
    to the user interface under the message-manager lock (kept in order while ports
    change and handed on once they are done, see CMidiInputLock). Everything else
    runs on the main thread, or on the MIDI thread under that lock.
*/
class VlEngine : public juce::MidiInputCallback,
                 public CColorsSetOwner
{
public:
    /** Patch positions and the control ids listed for each (VlEngine::collectLinkableControls). */
    using ControlsByPatch = std::map<juce::uint16, std::vector<int>>;

    /** Controls gathered by the collectors: each at most once, in the order found. */
    using ControlRefs = std::vector<VlControlCfg*>;

    /** Actions gathered by the collectors: each at most once, in the order found. */
    using ActionRefs = std::vector<VlAction*>;

    //==============================================================================
    /** Builds the engine with its device manager over these ports, the default
        navigation and learn table, and registers it as the instance.
    */
    explicit VlEngine (std::unique_ptr<CMidiPorts> ports = CMidiPorts::createDefault());

    /** Deletes the patches, then closes the devices, then unregisters. */
    ~VlEngine() override;

    /** The registered engine; when there is none and `create` is true, a new one (with
        the default ports) owned until deleteInstance(). Null otherwise.
    */
    static VlEngine* getInstance (bool create);

    /** Deletes the engine that getInstance(true) created, if any. */
    static void deleteInstance();

    //==============================================================================
    /** Registers the user interface (not owned; null for none). Main thread. */
    void setUserInterface (VlUserInterface* ui) noexcept { userInterface = ui; }

    /** The registered user interface, or null. */
    VlUserInterface* getUserInterface() const noexcept { return userInterface; }

    /** The engine mode (EngineMode 1..6); any thread. */
    int getMode() const noexcept { return mode.load (std::memory_order_relaxed); }

    /** Sets the engine mode; used by the dialogs and the editor. */
    void setMode (int newMode) noexcept { mode.store (newMode, std::memory_order_relaxed); }

    //==============================================================================
    // The patch list (VlEngine.cpp).
    /** The number of patches. */
    int getNumPatches() const noexcept { return (int) patches.size(); }

    /** The patch at that position, or null. */
    VlPatch* getPatch (juce::uint16 index) const noexcept
    {
        return index < patches.size() ? patches[index].get() : nullptr;
    }

    /** The patches in list order. */
    const std::vector<std::unique_ptr<VlPatch>>& getPatches() const noexcept { return patches; }

    /** The position of the patch that plays, NoIndex when none. */
    juce::uint16 getCurrentPatchIndex() const noexcept { return currentPatch; }

    /** In navigation mode the navigation patch, otherwise the patch at the current index. */
    VlPatch* getCurrentPatch() noexcept;

    /** Mode 2: the navigation patch; mode 3: the learn patch; otherwise the current patch. */
    VlPatch* getPatchForMode (int forMode) noexcept;

    /** The patch's position, -1 when it is not in the list (or null). */
    int indexOfPatch (const VlPatch* patch) const noexcept;

    /** Appends the patch (ownership passes), refreshes the patch list; returns its position.
        A list of MaxPatches is full (positions are 16 bits, 65535 meaning none): the patch
        is then deleted, nothing else changes, and the answer is -1.
    */
    int addPatch (std::unique_ptr<VlPatch> patch);

    /** Releases the held footswitches (releaseHeldFootswitches), then deletes every patch
        and empties the visit history; nothing is current afterwards and no navigation
        function has a target. The navigation assignment, the colour sets and the learn
        table stay.
    */
    void clear();

    /** Exchanges the patches at positions a and b; nothing when either is outside the
        list. The current index keeps its number (the caller selects the moved patch);
        the navigation targets are those of the patch now at that number.
    */
    void movePatch (juce::uint16 a, juce::uint16 b);

    //==============================================================================
    // Playing: input filter, modes, patch selection, the road to the outputs (VlEnginePlaying.cpp).
    /** The MIDI input callback (MIDI input thread; tests may call it from any thread). */
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    /** A footswitch (1..10) pressed or released. A press plays the current patch's
        control in mode 1 (or enters navigation on the on/off footswitch), runs a
        navigation function in mode 2, and does nothing otherwise. A release answers its
        press, whatever happened in between: the control that the press played plays its
        release and steps on, in whatever patch and mode; a press made in mode 2 runs its
        function's release there; any other release (its press played nothing, or came
        while the board played nothing) does nothing at all.
    */
    void onFootswitch (int footswitch, bool pressed);

    /** Releases every footswitch still held, as its own release would, and the board shows
        it up; its later release then does nothing. Called where the board stops playing
        or the control that a press played may go: as the editor or the MIDI input setup
        opens, before a document is opened, merged or cleared, and as the application quits.
    */
    void releaseHeldFootswitches();

    /** Releases that one footswitch, as releaseHeldFootswitches() does. */
    void releaseHeldFootswitch (int footswitch);

    /** A pedal (11, 12) value: in mode 1 plays the current patch's pedal; otherwise nothing. */
    void onPedalValue (int pedal, juce::uint8 value);

    /** Makes the patch current (mode 1 whatever follows), records the visit, computes the
        navigation targets and refreshes the board. Out of range: only sets mode 1.
    */
    void selectPatch (juce::uint16 index);

    /** Selects the patch through the patch list when there is one, else directly;
        `record` says whether the visit goes into the history. Out of range: nothing.
    */
    void goToPatch (juce::uint16 index, bool record);

    /** After a load: plays every pedal's initial value, then every footswitch's initial
        state, of the patches from `firstPatch` on, in mode 5; then mode 1 and the
        current patch is selected again.
    */
    void startPlaying (juce::uint16 firstPatch);

    /** Sends the message at once to the open output of that name; dropped when none is open. */
    void sendMidiMessage (const juce::String& device, const juce::MidiMessage& message);

    /** Listens to that input device (empty: none) on that channel (its low 8 bits,
        0 taken as 1, above 16 as 16).
    */
    void setMidiInput (const juce::String& device, int channel);

    /** The input device listened to (empty when none). */
    const juce::String& getMidiInputDevice() const noexcept { return midiInDevice; }

    /** The MIDI channel 1..16 listened to; any thread. */
    int getMidiChannel() const noexcept { return midiChannel.load (std::memory_order_relaxed); }

    /** Listens on that channel (kept to 1..16) from the next message on; the device stays open. */
    void setMidiChannel (int channel) noexcept { midiChannel = juce::jlimit (1, 16, channel); }

    /** True when the input device is open. */
    bool isMidiInputOpen() const;

    /** Sets "device", "channel" and "fs1".."fs10", "ep1", "ep2" on the element. */
    void saveMidiInToXml (juce::XmlElement& element) const;

    /** Wants exactly the output devices that the actions of plain controls name, and
        opens those present.
    */
    void openMidiOutputs();

    /** The device manager. */
    CMidiDevices& getMidiDevices() noexcept { return *midiDevices; }

    //==============================================================================
    // Navigation (VlEngineNavigation.cpp).
    /** Assigns a navigation function to a footswitch (1..10, or -1 for none), taking the
        footswitch (none included) from the function that had it, so that one function at
        most holds none. With `ask`, for function 1 and a footswitch, asks first, before
        anything changes, whether every patch should move its own control off that
        footswitch; once answered, that footswitch is released if held
        (releaseHeldFootswitch): the control under it stops playing there, or moves. When
        function 1 is left without a footswitch in navigation mode, the board returns to
        play mode on the current patch. A function below 1 (from a file) is only kept for
        writing: no symbol, and no footswitch taken from a real function.
    */
    void setNavigationFunction (int function, int footswitch, bool ask);

    /** Removes every assignment and its symbol. */
    void clearNavigation();

    /** The function (1..6) on that footswitch, 0 when none. */
    int getFunctionOfFootswitch (int footswitch) const;

    /** The footswitch of that function, -1 when it has none. */
    int getFootswitchOfFunction (int function) const;

    /** The assignments, function -> footswitch, in ascending function order. */
    const std::map<int, int>& getNavigationFunctions() const noexcept { return navFunctions; }

    /** The colour of the navigation symbols. */
    juce::uint32 getNavigationColor() const noexcept { return navigationColor; }

    /** Recolours the navigation symbols. */
    void setNavigationColor (juce::uint32 color);

    /** The patch of navigation symbols shown in navigation mode. */
    const VlPatch& getNavigationPatch() const noexcept { return navigationPatch; }

    /** The control the pedal board shows for that id in the present mode, or null. */
    VlControlCfg* getDisplayedControl (int controlId);

    /** Computes the navigation targets for the current patch. */
    void updateNavigation();

    /** Fills `found` with the patches, in list order, of the greatest level below `level`
        that hold a go-to action to `target`; true when there is one.
    */
    bool findHigherRankPatches (juce::uint16 target, juce::uint8 level, std::vector<juce::uint16>& found) const;

    /** The visited patch positions, oldest first (at most 1000). */
    const std::vector<juce::uint16>& getHistory() const noexcept { return history; }

    /** The position in getHistory() of the present visit, -1 when empty. */
    int getHistoryPosition() const noexcept { return historyPos; }

    //==============================================================================
    // The learn table (VlLearnTable.cpp).
    /** Stores the note (footswitch) or controller (pedal) number for a control;
        NoLearntKey forgets its key. False, leaving the control with no key, when the
        message belongs to another control.
    */
    bool setLearntMessage (int controlId, int number) { return learnTable.set (controlId, number); }

    /** The control's key (note n, or 128 + controller c), NoLearntKey when none. */
    int getLearntMessage (int controlId) const { return learnTable.get (controlId); }

    /** Starts a learning pass of the MIDI input dialog, before its first learnInPass(). */
    void startLearningPass() { learnTable.startPass(); }

    /** Stores the note (footswitch) or controller (pedal) a control sends, within the
        learning pass: false, changing nothing (the control keeps its key), only when a
        control learnt earlier in the pass has that message. A message that a control
        still to come holds moves to this one; that control has no key until it is learnt.
        MIDI input thread under the message-manager lock, or the main thread.
    */
    bool learnInPass (int controlId, int number) { return learnTable.learn (controlId, number); }

    /** Restores the learn table saved by saveMidiInToXml: `saved` maps control ids
        1..12 to the texts written for them ("fs1".."ep2"). A swapped table comes back
        exactly; a control whose value is absent or not a number keeps its key.
    */
    void restoreLearntMessages (const std::map<int, juce::String>& saved) { learnTable.restore (saved); }

    /** The twelve plain controls shown while the MIDI input dialog is open. */
    VlPatch& getLearnPatch() noexcept { return learnPatch; }

    //==============================================================================
    // What refers to what (VlEngineDependants.cpp).
    /** The position of the patch that holds this very control, -1 when none. */
    int patchIndexOfControl (const VlControlCfg& control) const;

    /** Fills `result` with the controls a control of that id may link to: for every
        patch but `leaveOut`, its plain controls of the same kind. True when any.
    */
    bool collectLinkableControls (int controlId, ControlsByPatch& result, const VlPatch* leaveOut) const;

    /** Fills `result` with the pedals (11, 12; links included) of every patch that has
        one. True when any.
    */
    bool collectPatchPedals (ControlsByPatch& result) const;

    /** The plain control whose states hold this very state, or null. */
    VlControlCfg* controlOfState (const VlControlState& state) const;

    /** The state of a plain control that holds this very action, or null. */
    VlControlState* stateOfAction (const VlAction& action) const;

    //==============================================================================
    // Dependants and deletion (VlEngineDependants.cpp).
    /** Adds every link, of any patch, to this patch to `found`. */
    void collectControlsLinkedToPatch (const VlPatch& patch, ControlRefs& found) const;

    /** Adds every link, of any patch, to this control to `found`. */
    void collectControlsLinkedToControl (const VlControlCfg& control, ControlRefs& found) const;

    /** Adds every action of a plain control of another patch that targets this patch. */
    void collectActionsReferringToPatch (const VlPatch& patch, ActionRefs& found) const;

    /** Adds every action of a plain control, in any patch but `leaveOut`, that targets
        this control (the mute actions of that pedal).
    */
    void collectActionsReferringToControl (const VlControlCfg& control, ActionRefs& found,
                                           const VlPatch* leaveOut) const;

    /** Deletes this control of the current patch, or every control of it when null,
        with the links and actions that depend on them, after the user agreed in a
        question that lists those (asked also when the patch has no control): every
        link to what goes, at any depth, and every mute of a pedal that goes, the
        patch's own included. Nothing refers to a deleted control afterwards. False,
        changing nothing, when cancelled, without a current patch, or when the control
        is not the current patch's.
    */
    bool deleteControls (VlControlCfg* control);

    /** Makes the plain control a link (VlControlCfg::setLinked), which deletes its states:
        when they hold actions, only after the user agreed in a question that lists those,
        as the deletions ask. False, changing nothing, when cancelled.
    */
    bool makeLink (VlControlCfg& control);

    /** Deletes the patch with the links and actions that depend on it (those to its
        links too, at any depth), after the user agreed in a question that lists those.
        The current patch stays the same patch, with its navigation targets recomputed;
        when it was the one deleted, patch 0 is selected. False, changing nothing, when
        cancelled, when the patch is not in the list, or when it is the last one.
    */
    bool deletePatches (VlPatch* patch);

    //==============================================================================
    // The document's content and its load checks (VlEngineDocument.cpp).
    /** A new "navigation" element: "color", then one "function" per assignment in
        ascending function order. The caller owns it.
    */
    std::unique_ptr<juce::XmlElement> createNavigationXml() const;

    /** A new "patches" element: "current" (65535 when none), then one "patch" per
        patch in list order. The caller owns it.
    */
    std::unique_ptr<juce::XmlElement> createPatchesXml() const;

    /** Opens or merges a document's content, all or nothing. Reads the navigation
        (unless merging) and the patches apart from the engine; when both were read,
        replaces the document (or appends the patches behind the open ones, their
        patch indexes moved behind them), adds the colours in use (the sets hold only
        those after an open), opens the outputs the actions name and reports each
        target that cannot be found (checkTargets). Then the caller calls
        startPlaying() with the first patch read: 0, or the patch count before a merge.

        The engine is in mode 5 from the start of the reading until startPlaying()
        ends. False when anything is missing or invalid, or when the result would hold
        more than MaxPatches: the engine, its navigation and its colour sets are then as
        they were, back in mode 1 (the board and patch list refreshed when the mode was
        another, such as navigation).
    */
    bool loadDocumentContent (const juce::XmlElement& navigation, const juce::XmlElement& patches, bool merging);

    /** Reads a "navigation" element into the navigation settings, adding its colour to
        the control colours. When merging, reads nothing and answers true. False, with
        the navigation as it was, when "color" is missing.
    */
    bool loadNavigationFromXml (bool merging, const juce::XmlElement& navigation);

    /** Reads a "patches" element: replaces the patches (or, merging, appends them) and
        adds their colours to the sets, then opens the outputs the actions name. The
        engine enters mode 5 and stays there until startPlaying(), which the caller runs
        after checkTargets(). False, with the patches as they were and mode 1, when
        anything is missing or invalid or the result would hold more than MaxPatches.
    */
    bool loadPatchesFromXml (bool merging, const juce::XmlElement& patches);

    /** Resolves the links and action targets of the patches from `firstPatch` on, and
        shows one "Error in file data" message for each that finds no target. Removes
        nothing.
    */
    void checkTargets (juce::uint16 firstPatch);

    /** The default document, after clear(): resets the three colour sets, appends one
        new patch, goes to it and opens the outputs (none). Navigation, learn table and
        MIDI input stay.
    */
    void newDocument();

    //==============================================================================
    // The colour sets (VlEngineColors.cpp).
    /** The patch colour library (default 0xFFE3E3E3). */
    const ColorSet& getPatchColors() const noexcept { return patchColors; }

    /** The control colour library, which also serves the navigation symbols (default white). */
    const ColorSet& getControlColors() const noexcept { return controlColors; }

    /** The state colour library (default white). */
    const ColorSet& getStateColors() const noexcept { return stateColors; }

    /** Empties the set and refills it with its palette and the colours in use. */
    void resetColors (const ColorSet* set) override;

    /** 0xFFE3E3E3 for the patch colours, white for any other handle. */
    juce::uint32 getDefaultColor (const ColorSet* set) const override;

    /** Inserts the colour into one of the three sets. */
    void addColor (const ColorSet* set, juce::uint32 color) override;

    /** Recolours the patches, controls (at the end of their link chains, in their own
        field) or states of that colour; the set is unchanged. Not the navigation. Like
        removeColor() and removeAllColors(), has the board and the patch list redrawn.
    */
    void replaceColor (const ColorSet* set, juce::uint32 oldColor, juce::uint32 newColor) override;

    /** Removes a colour other than the default and gives its items the default. */
    void removeColor (const ColorSet* set, juce::uint32 color) override;

    /** Leaves the default colour alone in the set and gives every item the default. */
    void removeAllColors (const ColorSet* set) override;

    //==============================================================================
    // The board (VlEngine.cpp).
    /** Has the board redraw one footswitch with the control now displayed on it. */
    void refreshButton (int footswitch);

    /** Has the board redraw both pedals. */
    void refreshPedals();

private:
    //==============================================================================
    /** What a footswitch's press did, so that its release answers it. */
    struct HeldFootswitch
    {
        enum class Press
        {
            none,
            played,       // in play mode: `control` is the current patch's control then (null: none)
            navigating    // in navigation mode
        };

        Press press = Press::none;
        VlControlCfg* control = nullptr;
    };

    void refreshBoard();
    void pressFootswitch (int footswitch);
    void answerRelease (int footswitch);
    void runNavigationFunction (int footswitch, bool pressed);
    void leaveNavigation();
    void recordVisit (juce::uint16 index);
    juce::uint16 findVisit (int from, int step) const;
    bool confirmDeletion (const juce::String& title, const juce::String& question, const ControlRefs& controls,
                          const ActionRefs& actions);
    void collectDependants (const VlPatch* goingPatch, const std::vector<VlControlCfg*>& goingControls,
                            ControlRefs& links, ActionRefs& actions) const;
    juce::String describeDependants (const ControlRefs& controls, const ActionRefs& actions) const;
    void deleteWithDependants (const std::set<const VlPatch*>& goingPatches,
                               std::set<const VlControlCfg*> goingControls, const ControlRefs& dependantControls,
                               const ActionRefs& dependantActions);
    void abandonLoad (int modeBefore);
    void takeNavigation (const VlDocumentStage& stage);
    void takePatches (VlDocumentStage& stage, bool merging);
    ColorSet* findColorSet (const ColorSet* set) noexcept;
    void recolor (const ColorSet& set, juce::uint32 oldColor, juce::uint32 newColor, bool everyItem);
    void showRecoloring();

    std::atomic<int> mode { ModePlay };
    std::vector<std::unique_ptr<VlPatch>> patches;
    juce::uint16 currentPatch = NoIndex;
    bool recordNextVisit = true;
    std::array<HeldFootswitch, 11> heldFootswitches {};    // by footswitch 1..10
    std::map<int, int> navFunctions;
    VlPatch navigationPatch;
    juce::uint32 navigationColor = 0xff00ff00;
    std::vector<juce::uint16> history;
    int historyPos = -1;
    juce::uint16 goUpPatch = NoIndex, prevVisited = NoIndex, nextVisited = NoIndex, prevInList = NoIndex,
                 nextInList = NoIndex;
    CMidiInputLock inputLock;    // outlives midiDevices: their inputs call through it
    std::unique_ptr<CMidiDevices> midiDevices;
    juce::String midiInDevice;
    std::atomic<int> midiChannel { 1 };
    VlPatch learnPatch;
    VlLearnTable learnTable;
    ColorSet patchColors, controlColors, stateColors;

    VlUserInterface* userInterface = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlEngine)
};

// Inline, like getPatch(): every footswitch press asks it on its way to the output.
inline int VlEngine::getFootswitchOfFunction (int function) const
{
    const auto entry = navFunctions.find (function);
    return entry != navFunctions.end() ? entry->second : -1;
}
