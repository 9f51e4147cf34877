#include "app/dialogs/VlNavOptionsDlg.h"

#include "app/dialogs/JNavOptionsDlg.h"
#include "app/editor/EditorHost.h"
#include "app/editor/EditorRows.h"
#include "engine/VlEngine.h"
#include "engine/VlXmlVocabulary.h"

namespace
{
    // "go up (^)": the function's name and its symbol.
    VlPropertyRow footswitchRow (const juce::String& name, NavigationFunction function, PropertyId id)
    {
        return VlPropertyRow::choice (name + " (" + VlNames::navigationSymbol (function) + ")", id);
    }
}

VlNavOptionsDlg::VlNavOptionsDlg (VlEngine& engineToUse)
    : engine (engineToUse)
{
}

VlNavOptionsDlg::~VlNavOptionsDlg()
{
    content = nullptr;
}

VlNavOptionsDlg* VlNavOptionsDlg::getInstance (bool create)
{
    return CSingleInstance<VlNavOptionsDlg>::getOrCreate (
        create, [] { return std::make_unique<VlNavOptionsDlg> (*VlEngine::getInstance (true)); });
}

void VlNavOptionsDlg::deleteInstance()
{
    CSingleInstance<VlNavOptionsDlg>::deleteInstance();
}

//==============================================================================
void VlNavOptionsDlg::show()
{
    if (content == nullptr)
        content = std::make_unique<JNavOptionsDlg>();

    auto& panel = content->getPanel();
    panel.clear();

    if (engine.getCurrentPatch() != nullptr)
    {
        EditorRows::addToPanel (panel, *this,
                                { VlPropertyRow::color ("switches color", PropertyId::switchesColor),
                                  footswitchRow ("on/off", NavOnOff, PropertyId::navOnOff),
                                  footswitchRow ("go up", NavGoUp, PropertyId::navGoUp),
                                  footswitchRow ("go backward", NavBackward, PropertyId::navGoBackward),
                                  footswitchRow ("go forward", NavForward, PropertyId::navGoForward),
                                  footswitchRow ("next patch #", NavNext, PropertyId::navNextPatch),
                                  footswitchRow ("last patch #", NavPrevious, PropertyId::navLastPatch) });
    }

    showModal ("Navigation setup", *content, juce::Colours::white, false, false);
}

void VlNavOptionsDlg::refresh()
{
    if (content != nullptr)
        content->getPanel().refreshAll();

    if (auto* ui = engine.getUserInterface())
        ui->refreshButtons();

    if (auto* host = EditorHost::getInstance())
        host->documentChanged();
}

//==============================================================================
VlPatch* VlNavOptionsDlg::getCurrentPatch()
{
    return engine.getCurrentPatch();
}

const juce::StringArray& VlNavOptionsDlg::getOutputDeviceNames()
{
    static const juce::StringArray none;
    return none;
}

void VlNavOptionsDlg::propertyChanged (int)
{
    refresh();
}
