#pragma once

#include "common/CStMenuLock.h"
#include "common/gui/CWindowState.h"

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The application's main window: a title that names the product, its version
    and the document, the application's menu bar, and the pedal board with the
    patch list as content.

    It is made hidden and centred, on the desktop; the application restores its
    saved place (getPlacement()) and shows it. Closing it is a quit request. One
    ".vlt" file dropped on it is opened. The menu bar's titles show greyed exactly
    while the menus are locked (a box or dialog is open), whether or not the
    window has the keyboard focus. Main thread only.
*/
class VlWindow : public juce::DocumentWindow,
                 public juce::FileDragAndDropTarget,
                 private CStMenuLock::Listener
{
public:
    /** A hidden window of 830 x (menu bar + 280), centred, that cannot be made
        smaller; `menuBarModel` (not owned, may be null) supplies the menus.
    */
    explicit VlWindow (juce::MenuBarModel* menuBarModel);
    ~VlWindow() override;

    //==============================================================================
    /** Titles the window "Veltrino 1.1 - <documentTitle>", followed by " *" while
        the application's document has unsaved changes.
    */
    void setName (const juce::String& documentTitle) override;

    /** Asks the application to quit, which it ignores while anything modal is open. */
    void closeButtonPressed() override;

    //==============================================================================
    /** True for exactly one file whose path ends with ".vlt" (in that case) and is
        not the open document's own file, while nothing modal is open.
    */
    bool isInterestedInFileDrag (const juce::StringArray& files) override;

    /** Opens the dropped file through the application, after checking it again:
        the drop is delivered later, when a box may have opened meanwhile.
    */
    void filesDropped (const juce::StringArray& files, int x, int y) override;

    //==============================================================================
    /** Keeps the menu bar's titles following the menu lock, not the window's focus. */
    void activeWindowStatusChanged() override;

    /** Where the window comes back and what to save of it. */
    CWindowState& getPlacement() noexcept { return placement; }

private:
    void menuLockChanged (bool locked) override;
    void showMenusUsable (bool usable);

    CWindowState placement { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlWindow)
};
