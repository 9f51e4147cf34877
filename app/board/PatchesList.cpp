#include "app/board/PatchesList.h"

#include "app/VlFCBLookAndFeel.h"
#include "engine/VlEngine.h"
#include "engine/VlTypes.h"

namespace
{
    const juce::Colour otherRowText (0xff606060);
}

PatchesList::PatchesList()
    : juce::ListBox ("PatchesList", nullptr),
      scrollBars (*getViewport())
{
    setModel (this);
    setRowHeight (40);
    setColour (juce::ListBox::backgroundColourId, juce::Colours::black);

    auto* viewport = getViewport();
    viewport->setSingleStepSizes (0, 40);
    viewport->setScrollBarsShown (true, false);
    viewport->getVerticalScrollBar().setAutoHide (true);
}

PatchesList::~PatchesList()
{
    setModel (nullptr);
}

PatchesList* PatchesList::getInstance() noexcept
{
    return CSingleInstance<PatchesList>::get();
}

//==============================================================================
void PatchesList::refresh()
{
    updateContent();
    repaint();
}

int PatchesList::getNumRows()
{
    auto* engine = VlEngine::getInstance (false);
    return engine != nullptr ? (int) (juce::uint16) engine->getNumPatches() : 0;
}

void PatchesList::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool)
{
    auto* engine = VlEngine::getInstance (false);
    auto* patch = engine != nullptr && row >= 0 ? engine->getPatch ((juce::uint16) row) : nullptr;

    if (patch == nullptr)
        return;

    // In navigation mode the current patch is the navigation patch, which no row holds.
    const auto current = patch == engine->getCurrentPatch();

    if (current)
    {
        // A band with a square left end and a round right end, showing the part of the
        // window's background gradient that lies under the row.
        const auto* parent = getParentComponent() != nullptr ? getParentComponent() : this;
        const auto offset = getPosition() + getRowPosition (row, true).getPosition();

        const auto parentArea = parent->getLocalBounds().toFloat() - offset.toFloat();
        g.setGradientFill (VlFCBLookAndFeel::createPanelGradient (juce::Colour (patch->getColor()), parentArea));
        g.fillRoundedRectangle ((float) -width, 0.0f, 2.0f * (float) width - 3.0f, (float) height, 8.0f);
    }

    g.setColour (current ? juce::Colour (0xff00ff00) : otherRowText);
    g.setFont (juce::Font (28.0f, juce::Font::bold));
    g.drawFittedText (juce::String (row), 0, 0, 50, height, juce::Justification::centred, 1, 1.0f);

    g.setColour (current ? juce::Colours::white : otherRowText);
    g.setFont (juce::Font (16.0f, juce::Font::bold));
    g.drawFittedText (patch->getName(), 54, 0, width - 62, height, juce::Justification::centredLeft, 2, 1.0f);
}

void PatchesList::selectedRowsChanged (int lastRowSelected)
{
    if (lastRowSelected >= 0)
        VlEngine::getInstance (true)->selectPatch ((juce::uint16) lastRowSelected);
}

void PatchesList::listBoxItemClicked (int row, const juce::MouseEvent&)
{
    // A click on the row already selected changes no selection, so the engine has not
    // heard of it: in navigation mode it would stay there.
    auto* engine = VlEngine::getInstance (true);

    if (row >= 0 && isRowSelected (row)
        && (engine->getMode() != ModePlay || engine->getCurrentPatchIndex() != (juce::uint16) row))
        engine->selectPatch ((juce::uint16) row);
}

void PatchesList::listBoxItemDoubleClicked (int, const juce::MouseEvent&)
{
    if (onDoubleClick != nullptr)
        onDoubleClick();
}
