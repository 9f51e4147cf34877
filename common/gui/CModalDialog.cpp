#include "common/gui/CModalDialog.h"

#include "common/CStMenuLock.h"
#include "common/gui/CTempDialogWindow.h"

int CModalDialog::showModal (const juce::String& title, juce::Component& content, juce::Colour background,
                             bool resizable, bool useCornerResizer)
{
    auto window = std::make_unique<CTempDialogWindow> (title, content, background, true, resizable, useCornerResizer,
                                                       windowState);
    int result = 0;

    {
        CStMenuLock lock;
        result = window->runModalLoop();
        windowState = window->getPlacement().toString();
    }

    return result;
}
