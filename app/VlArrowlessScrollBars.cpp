#include "app/VlArrowlessScrollBars.h"

VlArrowlessScrollBars::VlArrowlessScrollBars (juce::Viewport& viewportToChange)
    : viewport (viewportToChange)
{
    viewport.getVerticalScrollBar().setLookAndFeel (&look);
    viewport.getHorizontalScrollBar().setLookAndFeel (&look);
}

VlArrowlessScrollBars::~VlArrowlessScrollBars()
{
    viewport.getVerticalScrollBar().setLookAndFeel (nullptr);
    viewport.getHorizontalScrollBar().setLookAndFeel (nullptr);
}
