#pragma once

#include "app/editor/EditorHost.h"
#include "common/gui/CApplication.h"

#include <map>

class VlDocument;
class VlWindow;

//==============================================================================
/** Veltrino's application object: the framework's start-up and shutdown with the
    product's main window, document, commands and menus.

    It owns the main window, the document and the help texts; it runs the nine
    document and setup commands, builds the "File", "Edit" and "?" menus with the
    recent files, decides whether a quit goes ahead (menu lock, save prompt), and
    keeps its part of the preferences: the learnt MIDI messages and input device,
    and the window places.

    Every box, chooser and file operation it starts holds a CStMenuLock from start
    to end, so nothing else can start meanwhile. Main thread only.
*/
class VlApplication : public CApplication,
                      public juce::MenuBarModel,
                      public EditorHost
{
public:
    /** The product's own commands; the framework's are CApplication::CommandId. */
    struct CommandId
    {
        enum : juce::CommandID
        {
            newDocument = 4,
            openDocument = 5,
            mergeDocument = 6,
            saveDocument = 7,
            saveDocumentAs = 8,
            extractExamples = 9,
            midiPreferences = 10,
            patchesSetup = 11,
            navigationPreferences = 12
        };
    };

    /** The first item id of the "Open Recent" submenu; entries follow in list order. */
    static constexpr int recentFileBaseId = 101;

    /** "Veltrino": the application's name in titles, texts and file choosers. */
    static const juce::String productName;

    /** "1.1". */
    static const juce::String productVersion;

    VlApplication();
    ~VlApplication() override;

    /** The running application object, or null (none, or another kind). */
    static VlApplication* getInstance() noexcept;

    //==============================================================================
    /** productName. */
    const juce::String getApplicationName() override;

    /** productVersion. */
    const juce::String getApplicationVersion() override;

    /** Ignored while anything modal is open; otherwise asks to save unsaved changes
        and quits unless the user cancels or the save fails.
    */
    void systemRequestedQuit() override;

    /** Opens the file in place of the document (after the save prompt), holding the
        menu lock throughout. Used for a dropped file.
    */
    void openFile (const juce::String& path) override;

    //==============================================================================
    /** The application ends the command-target chain. */
    juce::ApplicationCommandTarget* getNextCommandTarget() override { return nullptr; }

    /** The framework's commands, then 4, 5, 6, 7, 8, 9, 10, 12, 11. */
    void getAllCommands (juce::Array<juce::CommandID>& commands) override;

    /** Names, keys and active states; every product command is greyed while
        anything modal is open, Save also while there is nothing to save.
    */
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;

    /** Runs a command; true for every command of this application. */
    bool perform (const InvocationInfo& info) override;

    //==============================================================================
    /** "File", "Edit", "?". */
    juce::StringArray getMenuBarNames() override;

    /** The menu of that index; an empty menu for an unknown index. */
    juce::PopupMenu getMenuForIndex (int menuIndex, const juce::String& menuName) override;

    /** Opens the chosen "Open Recent" entry; every other item is a command that the
        command manager runs.
    */
    void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;

    //==============================================================================
    /** Marks the document changed and re-titles the main window. Called after every edit. */
    void documentChanged() override;

    /** The open document; null before start-up, after shutdown, or when a New failed. */
    VlDocument* getDocument() const noexcept { return document.get(); }

    /** The main window; null before start-up and after shutdown. */
    VlWindow* getMainWindow() const noexcept { return mainWindow.get(); }

    /** The help texts, by number; null before start-up and after shutdown. */
    const juce::StringArray* getHelpTexts() const noexcept override { return helpTexts.get(); }

    /** The recent-files list; null before start-up and after shutdown. */
    juce::RecentlyOpenedFilesList* getRecentFiles() const noexcept { return recentFiles.get(); }

    /** The command manager; null before start-up and after shutdown. */
    juce::ApplicationCommandManager* getCommandManager() const noexcept { return commandManager.get(); }

    /** The online help address handed to the framework; empty (the command greyed)
        when no README lies beside the running program.
    */
    const juce::String& getOnlineHelpUrl() const noexcept { return onlineHelpUrl; }

    /** The address of the README.md beside that program file, which the build copies
        there; empty when there is none.
    */
    static juce::String getOnlineHelpUrlFor (const juce::File& executable);

protected:
    //==============================================================================
    juce::LookAndFeel* createLookAndFeel() override;
    void showSplash (int milliseconds, bool clickToClose) override;
    void createMainWindow (const juce::String& commandLine, PrefsReader& prefs) override;
    void appShutdown() override;
    void writePreferences (juce::XmlElement& root) override;
    void readPreferences (const juce::XmlElement& root, PrefsReader& prefs) override;

private:
    //==============================================================================
    void retitle();
    void newDocument();
    void openDocument();
    void mergeDocument();
    void saveDocument();
    void saveDocumentAs();
    void extractExamples();
    void openRecentFile (int index);

    std::unique_ptr<VlWindow> mainWindow;
    std::unique_ptr<VlDocument> document;
    juce::StringArray menuNames;
    std::unique_ptr<juce::StringArray> helpTexts;

    juce::Array<juce::Component::SafePointer<juce::SplashScreen>> splashes;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlApplication)
};
