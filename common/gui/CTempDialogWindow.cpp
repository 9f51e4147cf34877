#include "common/gui/CTempDialogWindow.h"

CTempDialogWindow::CTempDialogWindow (const juce::String& title, juce::Component& content, juce::Colour background,
                                      bool escapeKeyTriggersCloseButton, bool resizable, bool useCornerResizer,
                                      const juce::String& windowState)
    : juce::DialogWindow (title, background, escapeKeyTriggersCloseButton, false),
      escapeCloses (escapeKeyTriggersCloseButton)
{
    setDropShadowEnabled (true);
    setUsingNativeTitleBar (true);
    setContentNonOwned (&content, true);
    setResizable (resizable, useCornerResizer);

    // On the desktop only now: JUCE shows a window that is there as its title bar or its
    // resizing changes, and a window manager would frame it before it has its size and place.
    addToDesktop();

    if (windowState.isEmpty() || ! placement.restore (windowState))
        centreWithSize (getWidth(), getHeight());
}

CTempDialogWindow::~CTempDialogWindow() = default;

void CTempDialogWindow::closeButtonPressed()
{
    setVisible (false);
}

bool CTempDialogWindow::escapeKeyPressed()
{
    // JUCE's own Escape handling hides the window without passing through
    // closeButtonPressed; route both to the same place.
    if (! escapeCloses)
        return false;

    closeButtonPressed();
    return true;
}
