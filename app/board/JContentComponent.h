#pragma once

#include "app/board/JButtonsPanel.h"
#include "app/board/JSlidersPanel.h"
#include "app/board/PatchesList.h"
#include "common/CSingleInstance.h"
#include "engine/VlUserInterface.h"

//==============================================================================
/** The main window's content: the on-screen pedal board (ten footswitches, two
    pedals) beside the patch list, on a background in the colour of the patch the
    engine shows (none painted while there is no such patch).

    While it exists it is the engine's user interface: the engine singleton (made on
    first use) drives the board and the list through it, and the pedal board's MIDI
    reaches the board, and what the engine learns goes to the MIDI input dialog; before
    it is made and after it is gone, that MIDI is dropped.
    It needs no application object: a window only has to own it.

    One exists at a time, reachable through getInstance(). Main thread; the engine's
    MIDI input thread reaches it only while it holds the message-manager lock.
*/
class JContentComponent : public juce::Component,
                          private VlUserInterface
{
public:
    /** Makes the list and the board and registers with the engine singleton; 830 x 400.
        The board reads "new button" until the engine first refreshes it (a patch
        selection).
    */
    JContentComponent();

    /** Unregisters from the engine (when it still exists), then deletes the list and the board. */
    ~JContentComponent() override;

    /** The content that exists, or null. */
    static JContentComponent* getInstance() noexcept;

    //==============================================================================
    /** The patch list. */
    PatchesList& getPatchesList() noexcept { return *patchesList; }

    /** The ten footswitches. */
    JButtonsPanel& getButtonsPanel() noexcept { return *buttonsPanel; }

    /** The two pedals. */
    JSlidersPanel& getSlidersPanel() noexcept { return *slidersPanel; }

    //==============================================================================
    /** The bevelled panel (VlFCBLookAndFeel::drawBevelledPanel) in the shown patch's
        colour; nothing without a shown patch.
    */
    void paint (juce::Graphics& g) override;

    /** The board takes what the sliders and list leave: they keep widths of 170 and 210. */
    void resized() override;

private:
    //==============================================================================
    void footswitchEvent (int footswitch, bool down) override;
    void showFootswitchUp (int footswitch) override;
    void setPedalValue (int pedal, int value) override;
    void learnMessage (bool isController, int number) override;
    void refreshButtons() override;
    void refreshPedals() override;
    void refreshButton (int footswitch, const VlControlCfg* control) override;
    void repaintBoard() override;
    void refreshPatchList() override;
    void scrollPatchListTo (int row) override;
    int getSelectedPatchRow() override;
    bool selectPatchRow (int row) override;

    std::unique_ptr<PatchesList> patchesList;
    std::unique_ptr<JButtonsPanel> buttonsPanel;
    std::unique_ptr<JSlidersPanel> slidersPanel;

    // Last: one content at a time, since the engine drives one board.
    CSingleInstance<JContentComponent> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JContentComponent)
};
