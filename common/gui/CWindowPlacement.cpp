#include "common/gui/CWindowPlacement.h"

namespace
{
    // Saved positions come from a file that may hold anything: no int arithmetic overflows here.
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
    const juce::Rectangle<int>* best = nullptr;
    juce::int64 bestOverlap = -1, bestGap = 0;

    for (const auto& area : areas)
    {
        if (area.contains (bounds))
            return bounds;

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

void CWindowPlacement::moveOnScreen (juce::ResizableWindow& window)
{
    if (window.isFullScreen())
        return;

    juce::BorderSize<int> frame;

    if (auto* peer = window.getPeer())
        if (const auto size = peer->getFrameSizeIfPresent())
            frame = *size;

    juce::Array<juce::Rectangle<int>> areas;

    for (const auto& display : juce::Desktop::getInstance().getDisplays().displays)
        areas.add (display.userArea);

    const auto framed = frame.addedTo (window.getBounds());
    const auto placed = placeOnScreen (framed, areas);

    if (placed != framed)
        window.setTopLeftPosition (frame.subtractedFrom (placed).getPosition());
}
