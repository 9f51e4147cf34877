#pragma once

#include <juce_events/juce_events.h>

//==============================================================================
/** What the patches editor and the setup dialogs ask of the running application:
    the application implements it, and they find it as the running JUCE application,
    so that none of them depends on the application's class. Main thread only.
*/
class EditorHost
{
public:
    /** Not owned by the editor or the dialogs. */
    virtual ~EditorHost() = default;

    /** Marks the document changed and re-titles the main window. Called after every edit. */
    virtual void documentChanged() = 0;

    /** The help texts, by number; null before start-up and after shutdown. */
    virtual const juce::StringArray* getHelpTexts() const noexcept = 0;

    //==============================================================================
    /** The running application; null when none runs, or it is no host (most tests). */
    static EditorHost* getInstance() noexcept
    {
        return dynamic_cast<EditorHost*> (juce::JUCEApplicationBase::getInstance());
    }

    /** The running application's help text of that number; the same text built in
        when there is no application or it has no texts.
    */
    static juce::String getHelpText (int index);
};
