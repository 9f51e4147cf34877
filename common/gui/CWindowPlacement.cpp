#include "common/gui/CWindowPlacement.h"

namespace
{
    // Saved positions come from a file that may hold anything: the distances are summed in 64 bits.
    juce::int64 gapBetween (juce::int64 start, juce::int64 length, juce::int64 areaStart, juce::int64 areaLength)
    {
        return std::max ({ juce::int64 (0), areaStart - (start + length), start - (areaStart + areaLength) });
    }

    int placeOnAxis (int start, int length, int areaStart, int areaLength)
    {
        // jlimit asserts on an empty range: a window larger than the area takes its edge.
        if (length >= areaLength)
            return areaStart;

        return juce::jlimit (areaStart, areaStart + areaLength - length, start);
    }
}

juce::Rectangle<int> CWindowPlacement::placeOnScreen (juce::Rectangle<int> bounds,
                                                      const juce::Array<juce::Rectangle<int>>& areas)
{
    // Across two screens side by side is on the screen too.
    juce::RectangleList<int> screens;

    for (const auto& area : areas)
        screens.add (area);

    if (screens.containsRectangle (bounds))
        return bounds;

    const juce::Rectangle<int>* best = nullptr;
    juce::int64 bestOverlap = -1, bestGap = 0;

    for (const auto& area : areas)
    {
        const auto overlap = area.getIntersection (bounds);
        const auto overlapArea = (juce::int64) overlap.getWidth() * overlap.getHeight();
        const auto dx = gapBetween (bounds.getX(), bounds.getWidth(), area.getX(), area.getWidth());
        const auto dy = gapBetween (bounds.getY(), bounds.getHeight(), area.getY(), area.getHeight());
        const auto gap = dx + dy;

        if (overlapArea > bestOverlap || (overlapArea == 0 && bestOverlap == 0 && gap < bestGap))
        {
            best = &area;
            bestOverlap = overlapArea;
            bestGap = gap;
        }
    }

    if (best == nullptr)
        return bounds;

    return bounds.withPosition (placeOnAxis (bounds.getX(), bounds.getWidth(), best->getX(), best->getWidth()),
                                placeOnAxis (bounds.getY(), bounds.getHeight(), best->getY(), best->getHeight()));
}

void CWindowPlacement::moveOnScreen (juce::ResizableWindow& window, const juce::String& savedState)
{
    if (window.isFullScreen())
        return;

    juce::Array<juce::Rectangle<int>> areas;

    for (const auto& display : juce::Desktop::getInstance().getDisplays().displays)
        areas.add (display.userArea);

    const auto bounds = window.getBounds();

    if (auto* peer = window.getPeer())
    {
        if (const auto frame = peer->getFrameSizeIfPresent())
        {
            const auto framed = frame->addedTo (bounds);

            if (const auto placed = placeOnScreen (framed, areas); placed != framed)
                window.setTopLeftPosition (frame->subtractedFrom (placed).getPosition());

            return;
        }
    }

    // Not shown yet, the window has no frame that X11 tells of: the window manager will put
    // the frame that the state saved where the window now stands, the window inside it.
    juce::StringArray tokens;
    tokens.addTokens (savedState, false);
    tokens.removeEmptyStrings();
    const auto at = tokens.indexOf ("frame");
    juce::BorderSize<int> frame;

    if (at >= 0 && tokens.size() >= at + 5)
    {
        const juce::BorderSize<int> saved (tokens[at + 1].getIntValue(), tokens[at + 2].getIntValue(),
                                           tokens[at + 3].getIntValue(), tokens[at + 4].getIntValue());

        // A frame is a few pixels wide; a hand-edited file's numbers are not trusted beyond that.
        const auto plausible = [] (int side) { return side >= 0 && side <= 1000; };

        if (plausible (saved.getTop()) && plausible (saved.getLeft()) && plausible (saved.getBottom())
            && plausible (saved.getRight()))
            frame = saved;
    }

    const auto outer =
        bounds.withSize (bounds.getWidth() + frame.getLeftAndRight(), bounds.getHeight() + frame.getTopAndBottom());

    if (const auto placed = placeOnScreen (outer, areas); placed != outer)
        window.setTopLeftPosition (placed.getPosition());
}

juce::String CWindowPlacement::maximisedState (const juce::String& state, juce::Rectangle<int> normalBounds)
{
    juce::StringArray tokens;
    tokens.addTokens (state, false);
    tokens.removeEmptyStrings();

    // JUCE's own test for the mark.
    if (tokens[0].startsWithIgnoreCase ("fs"))
        tokens.remove (0);

    if (tokens.size() >= 4 && ! normalBounds.isEmpty())
    {
        tokens.removeRange (0, 4);
        tokens.insert (0, normalBounds.toString());
    }

    tokens.insert (0, "fs");
    return tokens.joinIntoString (" ");
}
