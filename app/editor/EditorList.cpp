#include "app/editor/EditorList.h"

#include "app/editor/VlEditor.h"

namespace
{
    constexpr int rowPixels = 18;
    const juce::Colour background (0x66ffffff), selectedRow (0xff7fff7f);
}

EditorList::EditorList (VlEditor& editorToAsk, Kind listKind)
    : juce::ListBox ("EditorList", nullptr),
      editor (editorToAsk),
      kind (listKind),
      scrollBars (*getViewport())
{
    setModel (this);
    editor.registerList (*this);
    setRowHeight (rowPixels);
    setColour (juce::ListBox::backgroundColourId, background);

    auto* viewport = getViewport();
    viewport->setSingleStepSizes (0, rowPixels);
    viewport->setScrollBarsShown (kind != Kind::controls, false);
}

EditorList::~EditorList()
{
    editor.unregisterList (*this);
    setModel (nullptr);
}

//==============================================================================
int EditorList::getNumRows()
{
    switch (kind)
    {
        case Kind::patches: return editor.getPatchCount();
        case Kind::controls: return editor.getControlCount();
        case Kind::states: return editor.getStateCount();
        case Kind::actions: return editor.getActionCount();
    }

    return 0;
}

void EditorList::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool isSelected)
{
    juce::String text;

    switch (kind)
    {
        case Kind::patches: editor.getPatchText (row, text); break;
        case Kind::controls: editor.getControlRowText (nullptr, row, text); break;
        case Kind::states: editor.getStateText (nullptr, row, text); break;
        case Kind::actions: editor.getActionText (nullptr, row, text); break;
    }

    if (isSelected)
        g.fillAll (selectedRow);

    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (14.0f, juce::Font::plain));
    g.drawFittedText (text, 4, 0, width - 8, height, juce::Justification::centredLeft, 1, 1.0f);
}

void EditorList::backgroundClicked (const juce::MouseEvent&)
{
    if (kind == Kind::controls || kind == Kind::actions)
        deselectAllRows();
}

void EditorList::selectedRowsChanged (int lastRowSelected)
{
    switch (kind)
    {
        case Kind::patches: editor.patchSelectionChanged (lastRowSelected); break;
        case Kind::controls: editor.selectControl (lastRowSelected); break;
        case Kind::states: editor.selectState (lastRowSelected); break;
        case Kind::actions: editor.selectAction (lastRowSelected); break;
    }
}

juce::String EditorList::getTooltipForRow (int)
{
    // JUCE would show nothing over the rows, which cover most of the list.
    return getTooltip();
}
