#include "app/VlApplication.h"

#include "app/VlDocument.h"
#include "app/VlFCBLookAndFeel.h"
#include "app/VlLookAndFeel.h"
#include "app/VlWindow.h"
#include "app/dialogs/VlMidiInputDlg.h"
#include "app/dialogs/VlNavOptionsDlg.h"
#include "app/editor/VlEditor.h"
#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"
#include "resources/ExamplesArchive.h"
#include "resources/HelpTextTable.h"

#include <VlPictures.h>

const juce::String VlApplication::productName ("Veltrino");
const juce::String VlApplication::productVersion ("1.1");

namespace
{
    const juce::String commandCategory ("Application");
    constexpr int lastRecentFileId = 4096;
}

VlApplication::VlApplication()
    : CApplication (false)
{
}

VlApplication::~VlApplication() = default;

VlApplication* VlApplication::getInstance() noexcept
{
    return dynamic_cast<VlApplication*> (juce::JUCEApplication::getInstance());
}

const juce::String VlApplication::getApplicationName()
{
    return productName;
}
const juce::String VlApplication::getApplicationVersion()
{
    return productVersion;
}

//==============================================================================
juce::LookAndFeel* VlApplication::createLookAndFeel()
{
    return VlLookAndFeel::getInstance (true);
}

void VlApplication::showSplash (int milliseconds, bool clickToClose)
{
    const auto picture = clickToClose
                             ? juce::ImageCache::getFromMemory (VlPictures::about_png, VlPictures::about_pngSize)
                             : juce::ImageCache::getFromMemory (VlPictures::splash_png, VlPictures::splash_pngSize);

    // A splash screen deletes itself once its time is up.
    auto* splash = std::make_unique<juce::SplashScreen> (productName, picture, false).release();
    splash->deleteAfterDelay (juce::RelativeTime::milliseconds (milliseconds), clickToClose);
    splashes.add (splash);
}

void VlApplication::createMainWindow (const juce::String&, PrefsReader& prefs)
{
    menuNames = { "File", "Edit", "?" };
    onlineHelpUrl = getOnlineHelpUrlFor (juce::File::getSpecialLocation (juce::File::currentExecutableFile));
    helpTexts = std::make_unique<juce::StringArray> (VlResources::helpTextTable);
    mainWindow = std::make_unique<VlWindow> (this);

    auto* engine = VlEngine::getInstance (true);

    if (prefs.isLoaded())
    {
        prefs.section = VlXml::mainWindow.toString();
        mainWindow->getPlacement().restore (prefs.getString (VlXml::state.toString()));

        prefs.section = VlXml::patchesDlg.toString();
        VlEditor::getInstance (true)->windowState = prefs.getString (VlXml::state.toString());

        prefs.section = VlXml::inputDlg.toString();
        VlMidiInputDlg::getInstance (true)->windowState = prefs.getString (VlXml::state.toString());

        prefs.section = VlXml::navDlg.toString();
        VlNavOptionsDlg::getInstance (true)->windowState = prefs.getString (VlXml::state.toString());

        prefs.section = VlXml::midiIn.toString();
        std::map<int, juce::String> learnt;

        for (int id = 1; id <= SecondPedalId; ++id)
            learnt[id] = prefs.getString (VlXml::learntKeyAttribute (id));

        engine->restoreLearntMessages (learnt);
    }

    prefs.section = VlXml::midiIn.toString();
    engine->setMidiInput (prefs.getString (VlXml::device.toString()), prefs.getInt (VlXml::channel.toString()));

    mainWindow->setVisible (true);

    // Without a window manager nothing keeps the start picture on top of the
    // window that appeared after it: raising needs one, restacking not.
    // JUCE 7's X11 restack is inverted: a->toBehind (b) lowers b below a.
    for (auto& splash : splashes)
        if (splash != nullptr)
            splash->toBehind (mainWindow.get());

    try
    {
        document = std::make_unique<VlDocument> (*engine, recentFiles.get());
    }
    catch (const std::bad_alloc&)
    {
        fatalError ("Unable to start application.", "Not enough memory.");
        return;
    }

    commandManager->registerAllCommandsForTarget (this);
    mainWindow->addKeyListener (commandManager->getKeyMappings());
    retitle();
}

juce::String VlApplication::getOnlineHelpUrlFor (const juce::File& executable)
{
    const auto readme = executable.getSiblingFile ("README.md");
    return readme.existsAsFile() ? juce::URL (readme).toString (false) : juce::String();
}

void VlApplication::appShutdown()
{
    // The quit is certain here: a note whose footswitch is still down would outlive us, so
    // it is released while the board and the outputs are still there. No press follows: the
    // input thread drops what comes once the quit is sent, and the loop it waits for is over.
    if (auto* engine = VlEngine::getInstance (false))
        engine->releaseHeldFootswitches();

    document = nullptr;
    VlMidiInputDlg::deleteInstance();
    VlNavOptionsDlg::deleteInstance();
    VlEditor::deleteInstance();
    mainWindow = nullptr;

    for (auto& splash : splashes)
        if (splash != nullptr)
            splash.deleteAndZero();

    // The board's look goes first, with the last component that used it; the framework
    // has made the application's look no longer the default by now.
    VlFCBLookAndFeel::deleteInstance();
    VlLookAndFeel::deleteInstance();
    VlEngine::deleteInstance();
    helpTexts = nullptr;
}

void VlApplication::writePreferences (juce::XmlElement& root)
{
    if (auto* engine = VlEngine::getInstance (false))
        engine->saveMidiInToXml (*root.createNewChildElement (VlXml::midiIn));

    root.createNewChildElement (VlXml::mainWindow)
        ->setAttribute (VlXml::state, mainWindow != nullptr ? mainWindow->getPlacement().toString() : juce::String());

    const auto saveDialog = [&root] (const juce::Identifier& element, const juce::String& windowState) {
        root.createNewChildElement (element)->setAttribute (VlXml::state, windowState);
    };

    const auto* editor = VlEditor::getInstance (false);
    saveDialog (VlXml::patchesDlg, editor != nullptr ? editor->windowState : juce::String());
    const auto* inputDialog = VlMidiInputDlg::getInstance (false);
    saveDialog (VlXml::inputDlg, inputDialog != nullptr ? inputDialog->windowState : juce::String());
    const auto* navigationDialog = VlNavOptionsDlg::getInstance (false);
    saveDialog (VlXml::navDlg, navigationDialog != nullptr ? navigationDialog->windowState : juce::String());
}

void VlApplication::readPreferences (const juce::XmlElement& root, PrefsReader& prefs)
{
    if (auto* midiIn = CXml::findChild (root, VlXml::midiIn))
    {
        prefs.readAttribute (*midiIn, VlXml::device.toString());
        prefs.readAttribute (*midiIn, VlXml::channel.toString());

        for (int id = 1; id <= SecondPedalId; ++id)
            prefs.readAttribute (*midiIn, VlXml::learntKeyAttribute (id));
    }

    for (const auto* name : { &VlXml::mainWindow, &VlXml::patchesDlg, &VlXml::inputDlg, &VlXml::navDlg })
        if (auto* element = CXml::findChild (root, *name))
            prefs.readAttribute (*element, VlXml::state.toString());
}

//==============================================================================
void VlApplication::systemRequestedQuit()
{
    if (CStMenuLock::counter() != 0)
        return;

    if (document != nullptr)
    {
        CStMenuLock lock;

        if (document->askToSaveChanges() != juce::FileBasedDocument::savedOk)
            return;
    }

    quitAtOnce();
}

void VlApplication::openFile (const juce::String& path)
{
    if (document == nullptr)
        return;

    CStMenuLock lock;

    if (document->askToSaveChanges() != juce::FileBasedDocument::savedOk)
        return;

    document->isMerging = false;
    document->open (juce::File (path));

    // The answer may have saved the document under a new name, even when the file
    // is then not read.
    retitle();
}

void VlApplication::documentChanged()
{
    if (document == nullptr)
        return;

    document->changed();
    retitle();
}

void VlApplication::retitle()
{
    if (mainWindow != nullptr && document != nullptr)
        mainWindow->setName (document->getDocumentTitle());
}

//==============================================================================
void VlApplication::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    CApplication::getAllCommands (commands);
    commands.addArray ({ CommandId::newDocument, CommandId::openDocument, CommandId::mergeDocument,
                         CommandId::saveDocument, CommandId::saveDocumentAs, CommandId::extractExamples,
                         CommandId::midiPreferences, CommandId::navigationPreferences, CommandId::patchesSetup });
}

void VlApplication::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    const auto unlocked = CStMenuLock::counter() == 0;
    const auto ctrl = juce::ModifierKeys::commandModifier;

    auto describe = [&] (const juce::String& name, const juce::String& description, int key = 0,
                         juce::ModifierKeys modifiers = {}) {
        result.setInfo (name, description, commandCategory, 0);
        result.setActive (unlocked);

        if (key != 0)
            result.addDefaultKeypress (key, modifiers);
    };

    switch (commandID)
    {
        case CommandId::newDocument: describe ("New", "Creates a new " + productName + " document", 'n', ctrl); break;

        case CommandId::openDocument:
            describe ("Open...", "Opens an existing " + productName + " document", 'o', ctrl);
            break;

        case CommandId::mergeDocument: describe ("Merge...", "Merges an existing " + productName + " document"); break;

        case CommandId::saveDocument:
            describe ("Save", "Saves the current " + productName + " document to a file", 's', ctrl);
            result.setActive (unlocked && document != nullptr && document->hasChangedSinceSaved());
            break;

        case CommandId::saveDocumentAs:
            describe ("Save As...", "Saves the current " + productName + " document to a file with a different name",
                      's', ctrl | juce::ModifierKeys::shiftModifier);
            break;

        case CommandId::extractExamples: describe ("Extract Examples...", "Saves the embedded example files"); break;

        case CommandId::midiPreferences:
            describe ("MIDI Preferences...", "Opens a dialog to setup the MIDI input device", ',', ctrl);
            break;

        case CommandId::patchesSetup:
            describe ("Patches...", "Opens a dialog to configure the patches", 'k', ctrl);
            break;

        case CommandId::navigationPreferences:
            describe ("Navigation Preferences...", "Opens a dialog to setup navigation options");
            break;

        default: CApplication::getCommandInfo (commandID, result); break;
    }
}

bool VlApplication::perform (const InvocationInfo& info)
{
    switch (info.commandID)
    {
        case CommandId::newDocument: newDocument(); return true;
        case CommandId::openDocument: openDocument(); return true;
        case CommandId::mergeDocument: mergeDocument(); return true;
        case CommandId::saveDocument: saveDocument(); return true;
        case CommandId::saveDocumentAs: saveDocumentAs(); return true;
        case CommandId::extractExamples: extractExamples(); return true;

        case CommandId::midiPreferences: VlMidiInputDlg::getInstance (true)->show(); return true;

        case CommandId::patchesSetup: VlEditor::getInstance (true)->show(); return true;

        case CommandId::navigationPreferences: VlNavOptionsDlg::getInstance (true)->show(); return true;

        default: return CApplication::perform (info);
    }
}

//==============================================================================
void VlApplication::newDocument()
{
    if (document == nullptr)
        return;

    CStMenuLock lock;

    if (document->askToSaveChanges() != juce::FileBasedDocument::savedOk)
        return;

    document = nullptr;

    try
    {
        document = std::make_unique<VlDocument> (*VlEngine::getInstance (true), recentFiles.get());
    }
    catch (const std::bad_alloc&)
    {
        return;
    }

    retitle();
}

void VlApplication::openDocument()
{
    if (document == nullptr)
        return;

    CStMenuLock lock;
    document->isMerging = false;

    if (document->askToSaveChanges() != juce::FileBasedDocument::savedOk)
        return;

    // As for a dropped file: the answer may have saved, whatever the chooser brings.
    document->openInteractively();
    retitle();
}

void VlApplication::mergeDocument()
{
    if (document == nullptr)
        return;

    CStMenuLock lock;
    document->isMerging = true;

    if (! document->openInteractively())
        return;

    retitle();
    CPrompts::get().showMessage (CPrompts::Icon::info, "File merging", "Merging succesful.");
}

void VlApplication::saveDocument()
{
    if (document == nullptr)
        return;

    CStMenuLock lock;
    document->saveToFile();
    retitle();
}

void VlApplication::saveDocumentAs()
{
    if (document == nullptr)
        return;

    CStMenuLock lock;

    if (document->saveAsInteractively() == juce::FileBasedDocument::savedOk)
        retitle();
}

void VlApplication::extractExamples()
{
    CStMenuLock lock;
    const auto result = CApplication::extractExamples (VlResources::examplesArchive, VlResources::examplesArchiveSize);

    // Silence here would let the user look for files that were never written.
    if (result.failed())
        CPrompts::get().showMessage (CPrompts::Icon::warning, "Extract Examples",
                                     "The example files could not all be written.\n\n" + result.getErrorMessage());
}

//==============================================================================
juce::StringArray VlApplication::getMenuBarNames()
{
    return menuNames;
}

juce::PopupMenu VlApplication::getMenuForIndex (int menuIndex, const juce::String&)
{
    juce::PopupMenu menu;
    menu.setLookAndFeel (VlLookAndFeel::getInstance (false));

    auto* commands = commandManager.get();

    if (commands == nullptr)
        return menu;

    switch (menuIndex)
    {
        case 0:
        {
            menu.addCommandItem (commands, CommandId::newDocument);
            menu.addCommandItem (commands, CommandId::openDocument);
            menu.addCommandItem (commands, CommandId::mergeDocument);

            juce::PopupMenu recent;
            recent.setLookAndFeel (VlLookAndFeel::getInstance (false));

            if (recentFiles != nullptr)
            {
                recentFiles->removeNonExistentFiles();
                recentFiles->createPopupMenuItems (recent, recentFileBaseId, false, true);
            }

            menu.addSubMenu ("Open Recent", recent, CStMenuLock::counter() == 0);
            menu.addSeparator();
            menu.addCommandItem (commands, CommandId::saveDocument);
            menu.addCommandItem (commands, CommandId::saveDocumentAs);
            menu.addSeparator();
            menu.addCommandItem (commands, CommandId::extractExamples);
            menu.addSeparator();
            menu.addCommandItem (commands, CApplication::CommandId::quit);
            break;
        }

        case 1:
            menu.addCommandItem (commands, CommandId::patchesSetup);
            menu.addSeparator();
            menu.addCommandItem (commands, CommandId::midiPreferences);
            menu.addCommandItem (commands, CommandId::navigationPreferences);
            break;

        case 2:
            menu.addCommandItem (commands, CApplication::CommandId::about);
            menu.addSeparator();
            menu.addCommandItem (commands, CApplication::CommandId::onlineHelp);
            menu.addCommandItem (commands, CApplication::CommandId::tooltips);
            break;

        default: break;
    }

    return menu;
}

void VlApplication::menuItemSelected (int menuItemID, int topLevelMenuIndex)
{
    // Command items arrive here too; the command manager runs them.
    if (topLevelMenuIndex != 0 || menuItemID < recentFileBaseId || menuItemID > lastRecentFileId)
        return;

    openRecentFile (menuItemID - recentFileBaseId);
}

void VlApplication::openRecentFile (int index)
{
    if (recentFiles != nullptr)
        openFile (recentFiles->getFile (index).getFullPathName());
}
