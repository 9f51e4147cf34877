#include "app/editor/JEditorContentComponent.h"

#include "common/gui/CLookAndFeel.h"

namespace
{
    const juce::Colour top (0xffe3e3e3), bar (0xffa0a0a0);
}

JEditorContentComponent::JEditorContentComponent (VlEditor& editor)
{
    patchesPane = std::make_unique<JEditorPatches> (editor);
    addAndMakeVisible (*patchesPane);
    controlsPane = std::make_unique<JEditorControls> (editor);
    addAndMakeVisible (*controlsPane);
    actionsPane = std::make_unique<JEditorActions> (editor);
    addAndMakeVisible (*actionsPane);
    statesPane = std::make_unique<JEditorStates> (editor);
    addAndMakeVisible (*statesPane);

    setSize (1020, 500);
}

JEditorContentComponent::~JEditorContentComponent()
{
    patchesPane = nullptr;
    controlsPane = nullptr;
    actionsPane = nullptr;
    statesPane = nullptr;
}

JEditorPane* JEditorContentComponent::getPane (int kind) const noexcept
{
    switch ((EditorList::Kind) kind)
    {
        case EditorList::Kind::patches: return patchesPane.get();
        case EditorList::Kind::controls: return controlsPane.get();
        case EditorList::Kind::states: return statesPane.get();
        case EditorList::Kind::actions: return actionsPane.get();
    }

    return nullptr;
}

//==============================================================================
void JEditorContentComponent::paint (juce::Graphics& g)
{
    g.setGradientFill (juce::ColourGradient (top, 0.0f, 0.0f, CLookAndFeel::contrastingBySum (top, 0.3f), 0.0f,
                                             (float) getHeight(), false));
    g.fillAll();

    g.setColour (bar);
    g.fillRect (369, 4, 2, getHeight() - 8);
    g.fillRect (647, 4, 2, getHeight() - 8);
}

void JEditorContentComponent::resized()
{
    const auto h = getHeight();
    const auto controlsHeight = proportionOfHeight (0.4894f);

    patchesPane->setBounds (0, 0, 368, h);
    controlsPane->setBounds (372, 0, 274, controlsHeight);
    statesPane->setBounds (372, controlsHeight, 274, proportionOfHeight (0.5106f));
    actionsPane->setBounds (650, 0, 388, h);
}
