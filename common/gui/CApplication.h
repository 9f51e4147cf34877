#pragma once

#include "common/PrefsReader.h"

#include <juce_gui_extra/juce_gui_extra.h>

class CEventLoopWaker;
class CWindowBuffers;
class CPrompts;

//==============================================================================
/** The application base that every product of the framework stands on.

    It starts and stops the application in a fixed order, owns the command
    manager, the recent-files list and the tooltip window, reads the preferences
    file once at start-up and writes it once at shutdown, and answers the common
    commands About, Tooltips, Online help and Quit. The product derives from it
    and fills the seven hooks.

    Start-up (initialise), in this order: has every event from the X server
    handled at once, a quit seen at once, and SIGTERM and SIGHUP taken as the
    quit that JUCE makes of SIGINT (CEventLoopWaker); keeps what opens over a
    window open under a window manager (CWindowBuffers);
    installs the JUCE prompts unless another implementation is installed
    already; installs createLookAndFeel() as the default look-and-feel;
    showSplash (2000, false) when the command line is empty; reads the
    preferences (readPreferences); creates the command manager and the
    recent-files list; restores the recent files and, when the preferences ask
    for it, creates the tooltip window; createMainWindow().

    Shutdown, in this order: writes the preferences (writePreferences still
    sees every object), resets the default look-and-feel, appShutdown(), then
    deletes the recent-files list, the tooltip window and the command manager;
    last, SIGTERM and SIGHUP are given back their default action.
    After a fatal error the preferences are not written, so the previous file
    stays as it was; shutdown without start-up touches nothing.

    Everything runs on the main thread.
*/
class CApplication : public juce::JUCEApplication
{
public:
    /** The common commands. The product's own commands use other ids. */
    struct CommandId
    {
        enum : juce::CommandID
        {
            about = 1,
            tooltips = 2,
            onlineHelp = 3,
            quit = juce::StandardApplicationCommandIDs::quit
        };
    };

    /** @param logging  when true, a log file named after the application is written */
    explicit CApplication (bool logging);
    ~CApplication() override;

    //==============================================================================
    /** Starts the application: see the class description. */
    void initialise (const juce::String& commandLine) override;

    /** Stops the application: see the class description. */
    void shutdown() override;

    /** Always true: several instances may run. */
    bool moreThanOneInstanceAllowed() override { return true; }

    /** Opens the command line, unquoted, as a document when it is not empty. */
    void anotherInstanceStarted (const juce::String& commandLine) override;

    //==============================================================================
    /** Adds About, Tooltips, Online help and Quit, in that order. */
    void getAllCommands (juce::Array<juce::CommandID>& commands) override;

    /** Describes the four common commands; leaves any other id untouched. */
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;

    /** Runs the four common commands and returns true; false for any other id. */
    bool perform (const InvocationInfo& info) override;

    //==============================================================================
    /** Shows the "Fatal error" box with the message, the detail in parentheses
        and "Application will quit.", then asks the application to quit. From then
        on shutdown leaves the preferences file alone.
    */
    void fatalError (const juce::String& message, const juce::String& detail);

    /** Asks for a folder and unpacks the zip archive in `data` into it. A file
        there that differs from its entry (an example the user has changed) is
        replaced only when the user agrees to a question that lists every such
        file; otherwise they all stay. Missing files and files equal to their entry
        are written without a question. Nothing is written outside the folder, and
        nothing when the user cancels the chooser. Holds a CStMenuLock while it runs.
        Each file is written whole or not at all, as a document is saved: one that
        cannot be (a full disk) leaves what was there as it was. Reports no failure
        to the user; the result tells the caller whether every entry was written,
        naming the first file that was not and why (cancelling, or keeping changed
        files, is no failure).
    */
    static juce::Result extractExamples (const void* data, size_t size);

    //==============================================================================
    /** "preferences.xml" in the folder named after the application in
        $XDG_CONFIG_HOME (by default ~/.config). The folder is created when
        missing; when that fails, an empty File, and then nothing is read or written.
    */
    juce::File getPreferencesFile();

    /** Writes the whole preferences file: "recent_files", "tooltips", then the
        product's elements. The file is replaced through a temporary file, so a
        failed write leaves the previous one intact. A file that was there at
        start-up but could not be read is left as it is. False when nothing was
        written.
    */
    bool savePreferences();

    /** Reads the preferences file into `prefs`. A missing, unreadable or
        unparsable file leaves `prefs` not loaded and reads nothing.
    */
    void loadPreferences (PrefsReader& prefs);

protected:
    //==============================================================================
    /** Returns the look-and-feel to install as the default. Not owned: the
        product keeps it alive until appShutdown, by which time it is no longer
        the default.
    */
    virtual juce::LookAndFeel* createLookAndFeel() = 0;

    /** Shows the start picture (clickToClose false, at start-up) or the About
        picture (clickToClose true) for at least `milliseconds`.
    */
    virtual void showSplash (int milliseconds, bool clickToClose) = 0;

    /** Builds the product's main window, document and command registrations.
        `prefs` goes away afterwards: copy what is needed.
    */
    virtual void createMainWindow (const juce::String& commandLine, PrefsReader& prefs) = 0;

    /** Destroys the product's own objects. Also called after a fatal error, so
        it must cope with whatever createMainWindow did not build.
    */
    virtual void appShutdown() = 0;

    /** Appends the product's elements to the preferences root. */
    virtual void writePreferences (juce::XmlElement& root) = 0;

    /** Copies the product's elements of a parsed preferences file into `prefs`. */
    virtual void readPreferences (const juce::XmlElement& root, PrefsReader& prefs) = 0;

    /** Opens a document. */
    virtual void openFile (const juce::String& path) = 0;

    /** JUCE's quit(), seen by the event loop at once even after a box (CEventLoopWaker). */
    void quitAtOnce();

    //==============================================================================
    /** Created at start-up, deleted at shutdown; the product registers its commands here. */
    std::unique_ptr<juce::ApplicationCommandManager> commandManager;

    /** Created at start-up, deleted at shutdown; filled from and saved to the preferences. */
    std::unique_ptr<juce::RecentlyOpenedFilesList> recentFiles;

    /** The tooltip window; null while tooltips are off. */
    std::unique_ptr<juce::TooltipWindow> tooltipWindow;

    /** The online help page; the Online help command is greyed while it is empty. */
    juce::String onlineHelpUrl;

private:
    //==============================================================================
    void showTooltips (bool shouldShow);
    void restoreRecentFiles (const juce::String& text);

    const bool logging;
    std::unique_ptr<juce::FileLogger> logger;
    std::unique_ptr<CPrompts> prompts;
    std::unique_ptr<CEventLoopWaker> eventLoopWaker;
    std::unique_ptr<CWindowBuffers> windowBuffers;
    bool initialised = false;
    bool fatalErrorRaised = false;
    bool preferencesUnreadable = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CApplication)
};
