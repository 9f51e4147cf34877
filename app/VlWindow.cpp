#include "app/VlWindow.h"

#include "app/VlApplication.h"
#include "app/VlDocument.h"
#include "app/board/JContentComponent.h"
#include "common/CStMenuLock.h"

namespace
{
    constexpr int minimumWidth = 830;
    constexpr int contentHeight = 280;
}

VlWindow::VlWindow (juce::MenuBarModel* menuBarModel)
    : juce::DocumentWindow (VlApplication::productName, juce::Colours::lightgrey, juce::DocumentWindow::allButtons,
                            false)
{
    setContentOwned (std::make_unique<JContentComponent>().release(), false);

    setDropShadowEnabled (false);
    setUsingNativeTitleBar (true);
    setResizable (true, false);

    const auto menuBarHeight = getLookAndFeel().getDefaultMenuBarHeight();
    const auto height = menuBarHeight + contentHeight;
    setMenuBar (menuBarModel, menuBarHeight);
    setResizeLimits (minimumWidth, height, std::numeric_limits<int>::max() / 2, std::numeric_limits<int>::max() / 2);
    centreWithSize (minimumWidth, height);

    // On the desktop only now: JUCE shows a window that is there as its title bar or its
    // resizing changes, and a window manager would frame it before it has its place.
    addToDesktop();

    CStMenuLock::addListener (this);
    showMenusUsable (CStMenuLock::counter() == 0);
}

VlWindow::~VlWindow()
{
    CStMenuLock::removeListener (this);
    setMenuBar (nullptr);
}

//==============================================================================
void VlWindow::activeWindowStatusChanged()
{
    juce::DocumentWindow::activeWindowStatusChanged();

    // JUCE greys the titles while the window lacks the focus. Nothing gives the focus
    // back when a box closes (no window manager does without a click), so the titles
    // would stay grey although the menus work.
    showMenusUsable (CStMenuLock::counter() == 0);
}

void VlWindow::menuLockChanged (bool locked)
{
    showMenusUsable (! locked);
}

void VlWindow::showMenusUsable (bool usable)
{
    if (auto* menuBar = getMenuBarComponent())
    {
        menuBar->setEnabled (usable);
        menuBar->repaint();
    }
}

//==============================================================================
void VlWindow::setName (const juce::String& documentTitle)
{
    auto title = VlApplication::productName + " " + VlApplication::productVersion + " - " + documentTitle;

    if (auto* app = VlApplication::getInstance())
        if (auto* document = app->getDocument(); document != nullptr && document->hasChangedSinceSaved())
            title << " *";

    juce::DocumentWindow::setName (title);
}

void VlWindow::closeButtonPressed()
{
    if (auto* app = juce::JUCEApplication::getInstance())
        app->systemRequestedQuit();
}

//==============================================================================
bool VlWindow::isInterestedInFileDrag (const juce::StringArray& files)
{
    if (CStMenuLock::counter() != 0 || files.size() != 1 || ! files[0].endsWith (".vlt"))
        return false;

    auto* app = VlApplication::getInstance();
    auto* document = app != nullptr ? app->getDocument() : nullptr;
    const auto ownPath = document != nullptr ? document->getFile().getFullPathName() : juce::String();

    return files[0] != ownPath;
}

void VlWindow::filesDropped (const juce::StringArray& files, int, int)
{
    if (! isInterestedInFileDrag (files))
        return;

    if (auto* app = VlApplication::getInstance())
        app->openFile (files[0]);
}
