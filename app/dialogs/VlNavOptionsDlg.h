#pragma once

#include "app/editor/EditorSelection.h"
#include "common/CSingleInstance.h"
#include "common/gui/CModalDialog.h"

class JNavOptionsDlg;

//==============================================================================
/** The navigation setup: which footswitch runs each of the six navigation functions,
    and the colour of their symbols. Seven property rows write straight into the
    engine; after each change the rows, the main board and the document's title show
    it at once. The engine mode stays as it is: the pedal board keeps playing while
    the dialog is open.

    A normal object over an engine that outlives it; while it exists it is the instance
    that getInstance() answers (getInstance(true) makes one over the engine singleton,
    owned until deleteInstance()). To its rows it is the selection: the engine, and
    whom they tell. The window's place is kept in windowState. Main thread only.
*/
class VlNavOptionsDlg : public CModalDialog,
                        private EditorSelection
{
public:
    /** The content is made at the first showing. */
    explicit VlNavOptionsDlg (VlEngine& engine);

    ~VlNavOptionsDlg() override;

    /** The dialog that exists; when there is none and `create` is true, a new one over
        the engine singleton, owned until deleteInstance(). Null otherwise.
    */
    static VlNavOptionsDlg* getInstance (bool create);

    /** Deletes the dialog that getInstance(true) made, if any. */
    static void deleteInstance();

    //==============================================================================
    /** Shows "Navigation setup" modally and returns when it is closed (Escape or the
        close button). Its rows are made afresh from the engine: "switches color", then
        the footswitch of on/off, go up, go backward, go forward, next patch and last
        patch, each "none" or "Footswitch 1".."Footswitch 10". Without a current patch
        the panel stays empty.
    */
    void show();

    /** After a row's change: every row shows the engine again (a footswitch given to
        one function is gone from another), the main board is redrawn and the document
        is marked changed.
    */
    void refresh();

    /** The content, null before the first showing. */
    JNavOptionsDlg* getContent() const noexcept { return content.get(); }

private:
    //==============================================================================
    VlEngine& getEngine() override { return engine; }
    VlPatch* getCurrentPatch() override;
    VlControlCfg* getCurrentControl() override { return nullptr; }
    VlControlState* getCurrentState() override { return nullptr; }
    VlAction* getCurrentAction() override { return nullptr; }
    const juce::StringArray& getOutputDeviceNames() override;
    void propertyChanged (int propertyId) override;

    VlEngine& engine;
    std::unique_ptr<JNavOptionsDlg> content;

    // One dialog at a time: the rows refresh the one instance.
    CSingleInstance<VlNavOptionsDlg> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlNavOptionsDlg)
};
