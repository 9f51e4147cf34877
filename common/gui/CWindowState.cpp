// JUCE's X11 connection and its atoms, reached as JUCE's other modules reach them.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "common/gui/CWindowState.h"

#include "common/gui/CWindowPlacement.h"

namespace
{
    // What a window manager marks a window that it shows maximised with (EWMH).
    const char* const maximisedStates[] = { "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ" };
}

CWindowState::CWindowState (juce::ResizableWindow& windowToFollow)
    : window (windowToFollow)
{
    window.addComponentListener (this);
}

CWindowState::~CWindowState()
{
    window.removeComponentListener (this);
}

bool CWindowState::restore (const juce::String& state)
{
    juce::StringArray tokens;
    tokens.addTokens (state, false);
    tokens.removeEmptyStrings();

    // JUCE's own test for its full-screen mark. JUCE's full screen would not follow the
    // window manager's maximising: the bounds are restored as normal ones.
    const auto maximised = tokens[0].startsWithIgnoreCase ("fs");

    if (maximised)
        tokens.remove (0);

    const auto normalState = tokens.joinIntoString (" ");
    const auto fitted = window.getBounds();

    if (! window.restoreWindowStateFromString (normalState))
        return false;

    // A saved size would cut or stretch fixed content that has changed since.
    if (! window.isResizable())
        window.setSize (fitted.getWidth(), fitted.getHeight());

    // Saved on a larger screen, it could come back mostly off this one.
    CWindowPlacement::moveOnScreen (window, normalState);

    maximiseWhenFramed = maximised;

    return true;
}

juce::String CWindowState::toString() const
{
    const auto state = window.getWindowStateAsString();

    if (! isMaximised())
        return state;

    // The window manager may tell of the move to the maximised bounds before it marks the
    // window maximised: those bounds are then the last normal ones, the earlier the right.
    const auto normal =
        normalBounds != window.getBounds() || earlierNormalBounds.isEmpty() ? normalBounds : earlierNormalBounds;

    return CWindowPlacement::maximisedState (state, normal);
}

void CWindowState::componentMovedOrResized (juce::Component&, bool, bool)
{
    countFrameInLimits();
    maximiseOnceFramed();

    if (const auto bounds = window.getBounds(); bounds != normalBounds && ! isMaximised())
    {
        earlierNormalBounds = normalBounds;
        normalBounds = bounds;
    }
}

void CWindowState::countFrameInLimits()
{
    auto* peer = window.getPeer();
    const auto* limits = window.getConstrainer();

    if (frameCounted || peer == nullptr || limits == nullptr || ! window.isResizable())
        return;

    // JUCE reads the frame again for as long as it is nothing.
    const auto frame = peer->getFrameSizeIfPresent();

    if (! frame || (frame->getLeftAndRight() == 0 && frame->getTopAndBottom() == 0))
        return;

    frameCounted = true;
    window.setResizeLimits (
        limits->getMinimumWidth() + frame->getLeftAndRight(), limits->getMinimumHeight() + frame->getTopAndBottom(),
        limits->getMaximumWidth() + frame->getLeftAndRight(), limits->getMaximumHeight() + frame->getTopAndBottom());

#if JUCE_LINUX || JUCE_BSD
    // JUCE hands the window manager the limits again only at the window's next move.
    if (auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating())
        windowSystem->updateConstraints ((::Window) peer->getNativeHandle());
#endif
}

bool CWindowState::isMaximised() const
{
#if JUCE_LINUX || JUCE_BSD
    auto* peer = window.getPeer();
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();

    // Only a window manager, which frames the window, maximises it.
    if (peer == nullptr || windowSystem == nullptr || ! peer->getFrameSizeIfPresent())
        return false;

    auto* display = windowSystem->getDisplay();
    const juce::XWindowSystemUtilities::ScopedXLock lock;
    const juce::XWindowSystemUtilities::GetXProperty marks (
        display, (::Window) peer->getNativeHandle(), windowSystem->getAtoms().windowState, 0, 128, false, XA_ATOM);

    if (! marks.success || marks.actualType != XA_ATOM || marks.actualFormat != 32)
        return false;

    const auto* first = juce::unalignedPointerCast<const long*> (marks.data);
    const auto* last = first + marks.numItems;

    return std::all_of (std::begin (maximisedStates), std::end (maximisedStates), [&] (const char* name) {
        return std::find (first, last, (long) juce::XWindowSystemUtilities::Atoms::getIfExists (display, name)) != last;
    });
#else
    return false;
#endif
}

void CWindowState::maximiseOnceFramed()
{
#if JUCE_LINUX || JUCE_BSD
    auto* peer = window.getPeer();
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();

    // Framed at its normal bounds first: JUCE learns the frame once, and that of a window
    // shown maximised (less or none) would misplace the window when it is no longer.
    if (! maximiseWhenFramed || peer == nullptr || windowSystem == nullptr || ! peer->getFrameSizeIfPresent())
        return;

    maximiseWhenFramed = false;
    windowSystem->setMaximised ((::Window) peer->getNativeHandle(), true);
#endif
}
