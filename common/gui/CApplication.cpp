#include "common/gui/CApplication.h"

#include "common/CFiles.h"
#include "common/CStMenuLock.h"
#include "common/CXmlHelpers.h"
#include "common/gui/CEventLoopWaker.h"
#include "common/gui/CJucePrompts.h"
#include "common/gui/CWindowBuffers.h"

#include <csignal>

namespace
{
    const juce::String commandCategory ("Application");
    constexpr int tooltipDelayMs = 700;

    bool hasContentOfEntry (const juce::File& file, juce::ZipFile& archive, int entry)
    {
        const std::unique_ptr<juce::InputStream> stream (archive.createStreamForEntry (entry));

        if (stream == nullptr)
            return false;

        juce::MemoryBlock example;
        stream->readIntoMemoryBlock (example);

        juce::MemoryBlock existing;
        return file.loadFileAsData (existing) && existing == example;
    }

    bool leadsThroughLink (const juce::File& folder, const juce::File& target)
    {
        for (auto part = target.getParentDirectory(); part.isAChildOf (folder); part = part.getParentDirectory())
            if (part.isSymbolicLink())
                return true;

        return false;
    }

    /** Writes one entry of the archive into the folder: a file whole or not at all, as a
        document is saved (JUCE's own extraction takes a short write for a whole one, and
        deletes the file it replaces first). Refuses an entry that would land outside the
        folder or go through a link out of it; a link in the file's place gives way to it.
    */
    juce::Result extractEntry (juce::ZipFile& archive, int index, const juce::File& folder)
    {
        const auto& entry = *archive.getEntry (index);
        const auto path = entry.filename.replaceCharacter ('\\', '/');

        // Folders and links are JUCE's, which refuses the same entries.
        if (path.isEmpty() || path.endsWithChar ('/') || entry.isSymbolicLink)
            return archive.uncompressEntry (index, folder, juce::ZipFile::OverwriteFiles::yes,
                                            juce::ZipFile::FollowSymlinks::no);

        const auto target = folder.getChildFile (path);

        if (! target.isAChildOf (folder))
            return juce::Result::fail ("Entry " + path + " is outside the target directory");

        if (leadsThroughLink (folder, target))
            return juce::Result::fail ("Parent directory leads through symlink for target file: "
                                       + target.getFullPathName());

        if (const auto made = target.getParentDirectory().createDirectory(); made.failed())
            return made;

        const std::unique_ptr<juce::InputStream> stream (archive.createStreamForEntry (index));
        juce::MemoryBlock content;

        if (stream == nullptr || stream->readIntoMemoryBlock (content) != (size_t) entry.uncompressedSize)
            return juce::Result::fail ("The example " + path + " cannot be unpacked");

        if (const auto written =
                CFiles::replaceAtomically (target, content.getData(), content.getSize(), CFiles::Links::replace);
            written.failed())
            return written;

        target.setLastModificationTime (entry.fileTime);
        target.setLastAccessTime (entry.fileTime);
        return juce::Result::ok();
    }
}

CApplication::CApplication (bool shouldLog)
    : logging (shouldLog)
{
}

CApplication::~CApplication() = default;

//==============================================================================
void CApplication::initialise (const juce::String& commandLine)
{
    initialised = true;

    // Past a file-size limit a write must fail, and the save say so, rather than end
    // the application with the user's document unsaved.
    std::signal (SIGXFSZ, SIG_IGN);

    eventLoopWaker = std::make_unique<CEventLoopWaker>();
    windowBuffers = std::make_unique<CWindowBuffers>();

    if (! CPrompts::isInstalled())
    {
        prompts = std::make_unique<CJucePrompts>();
        CPrompts::install (prompts.get());
    }

    if (logging)
    {
        logger.reset (juce::FileLogger::createDefaultAppLogger (getApplicationName(), getApplicationName() + "_log.txt",
                                                                "version " + getApplicationVersion(), 128 * 1024));
        juce::Logger::setCurrentLogger (logger.get());
        juce::Logger::writeToLog ("CApplication::initialise() commandLine: \"" + commandLine + "\"\n");
    }

    PrefsReader prefs;

    juce::LookAndFeel::setDefaultLookAndFeel (createLookAndFeel());
    juce::Typeface::clearTypefaceCache();    // fonts resolved before now used the old mapping

    if (commandLine.isEmpty())
        showSplash (2000, false);

    loadPreferences (prefs);

    commandManager = std::make_unique<juce::ApplicationCommandManager>();
    recentFiles = std::make_unique<juce::RecentlyOpenedFilesList>();

    if (prefs.isLoaded())
    {
        prefs.section = "recent_files";
        restoreRecentFiles (prefs.getString ({}));

        prefs.section = "tooltips";
        showTooltips (prefs.getBool ("visible"));
    }

    createMainWindow (commandLine, prefs);
}

void CApplication::shutdown()
{
    // JUCE also calls this for an instance that never started.
    if (! initialised)
        return;

    if (! fatalErrorRaised)
        savePreferences();

    // The product deletes its look-and-feel in appShutdown: it must not be the default then.
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    juce::Typeface::clearTypefaceCache();

    appShutdown();

    recentFiles.reset();
    tooltipWindow.reset();
    commandManager.reset();

    if (logger != nullptr)
    {
        juce::Logger::setCurrentLogger (nullptr);
        logger.reset();
    }

    if (prompts != nullptr)
    {
        CPrompts::install (nullptr);
        prompts.reset();
    }

    windowBuffers.reset();
    eventLoopWaker.reset();
    initialised = false;
}

void CApplication::anotherInstanceStarted (const juce::String& commandLine)
{
    if (logging)
        juce::Logger::writeToLog ("anotherInstanceStarted() commandLine: \"" + commandLine + "\"\n");

    if (commandLine.isNotEmpty())
        openFile (commandLine.unquoted());
}

//==============================================================================
void CApplication::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    commands.addArray ({ CommandId::about, CommandId::tooltips, CommandId::onlineHelp, CommandId::quit });
}

void CApplication::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    const auto name = getApplicationName();

    switch (commandID)
    {
        case CommandId::about:
            result.setInfo ("About " + name, "Shows information about the " + name + " application.", commandCategory,
                            0);
            break;

        case CommandId::tooltips:
            result.setInfo ("Tooltips", "Shows or hides tooltips", commandCategory, 0);
            result.setTicked (tooltipWindow != nullptr);
            break;

        case CommandId::onlineHelp:
            result.setInfo ("Online help", "Opens the online help page in the default browser", commandCategory, 0);
            result.setActive (onlineHelpUrl.isNotEmpty());
            break;

        case CommandId::quit:
            result.setInfo ("Quit", "Quits " + name + ".", commandCategory, 0);
            result.addDefaultKeypress ('q', juce::ModifierKeys::commandModifier);
            break;

        default: break;
    }
}

bool CApplication::perform (const InvocationInfo& info)
{
    switch (info.commandID)
    {
        case CommandId::about: showSplash (30000, true); return true;

        case CommandId::tooltips: showTooltips (tooltipWindow == nullptr); return true;

        case CommandId::onlineHelp:
            if (onlineHelpUrl.isNotEmpty())
                CPrompts::get().openUrl (onlineHelpUrl);

            return true;

        case CommandId::quit: systemRequestedQuit(); return true;

        default: return false;
    }
}

void CApplication::showTooltips (bool shouldShow)
{
    if (! shouldShow)
        tooltipWindow.reset();
    else if (tooltipWindow == nullptr)
        tooltipWindow = std::make_unique<juce::TooltipWindow> (nullptr, tooltipDelayMs);
}

void CApplication::restoreRecentFiles (const juce::String& text)
{
    // A hand-edited file may carry blank lines or indentation: an empty entry
    // would take one of the list's places.
    juce::StringArray paths;
    paths.addLines (text);
    paths.trim();
    paths.removeEmptyStrings();

    recentFiles->restoreFromString (paths.joinIntoString ("\n"));
}

//==============================================================================
void CApplication::fatalError (const juce::String& message, const juce::String& detail)
{
    fatalErrorRaised = true;

    CStMenuLock lock;
    CPrompts::get().showMessage (CPrompts::Icon::warning, "Fatal error",
                                 message + "\n(" + detail + ")" + "\nApplication will quit.");
    quitAtOnce();
}

void CApplication::quitAtOnce()
{
    quit();

    if (eventLoopWaker != nullptr)
        eventLoopWaker->wakeForQuit();
}

juce::Result CApplication::extractExamples (const void* data, size_t size)
{
    CStMenuLock lock;

    const auto folder = CPrompts::get().chooseFolder (
        "Choose a folder for the examples", juce::File::getSpecialLocation (juce::File::userDocumentsDirectory));

    if (folder == juce::File())
        return juce::Result::ok();

    juce::MemoryInputStream in (data, size, false);
    juce::ZipFile archive (in);

    // An example changed since it was extracted is the user's work now.
    juce::Array<int> changed;
    juce::StringArray changedPaths;

    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        const auto target = folder.getChildFile (archive.getEntry (i)->filename);

        if (target.isAChildOf (folder) && target.existsAsFile() && ! hasContentOfEntry (target, archive, i))
        {
            changed.add (i);
            changedPaths.add (target.getFullPathName());
        }
    }

    const auto replaceChanged =
        changed.isEmpty()
        || CPrompts::get().askOkCancelWithDetails (
            CPrompts::Icon::warning, "Extract Examples",
            "These files in the folder differ from the examples. Replace them with the examples?",
            changedPaths.joinIntoString ("\n"), "Replace", "Cancel");

    auto result = juce::Result::ok();

    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        if (! replaceChanged && changed.contains (i))
            continue;

        const auto entryResult = extractEntry (archive, i, folder);

        if (entryResult.failed() && result.wasOk())
            result = entryResult;
    }

    return result;
}

//==============================================================================
juce::File CApplication::getPreferencesFile()
{
    // JUCE's own folder for this ignores $XDG_CONFIG_HOME.
    const auto configHome = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    const auto base = juce::File::isAbsolutePath (configHome)
                          ? juce::File (configHome)
                          : juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);

    const auto folder = base.getChildFile (getApplicationName());

    if (! folder.isDirectory() && folder.createDirectory().failed())
        return {};

    if (! folder.isDirectory())
        return {};

    return folder.getChildFile ("preferences.xml");
}

bool CApplication::savePreferences()
{
    const auto file = getPreferencesFile();

    if (file == juce::File() || preferencesUnreadable)
        return false;

    juce::XmlElement root ("preferences");
    root.createNewChildElement ("recent_files")
        ->addTextElement (recentFiles != nullptr ? recentFiles->toString() : juce::String());
    root.createNewChildElement ("tooltips")->setAttribute ("visible", tooltipWindow != nullptr ? 1 : 0);

    writePreferences (root);

    juce::XmlElement::TextFormat format;
    format.lineWrapLength = 60;
    format.newLineChars = "\n";

    return CFiles::replaceAtomically (file, root.toString (format)).wasOk();
}

void CApplication::loadPreferences (PrefsReader& prefs)
{
    const auto file = getPreferencesFile();

    if (! file.existsAsFile())
        return;

    // Unlike a damaged file, one that cannot be read (its mode, another owner) still
    // holds the user's settings: they stay for a start that may read them.
    if (CFiles::getReadFailure (file).isNotEmpty())
    {
        preferencesUnreadable = true;
        return;
    }

    const auto root = CXml::parseFile (file);

    if (root == nullptr)
        return;

    prefs.markLoaded();

    if (auto* recent = CXml::findChild (*root, "recent_files"))
        prefs.readText (*recent, recent->getAllSubText());

    if (auto* tooltips = CXml::findChild (*root, "tooltips"))
        prefs.readAttribute (*tooltips, "visible");

    readPreferences (*root, prefs);
}
