#include "app/VlDocument.h"

#include "app/VlApplication.h"
#include "common/CFiles.h"
#include "common/CPrompts.h"
#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlXmlVocabulary.h"

namespace
{
    const juce::String extension (".vlt");
    constexpr int documentVersion = 1;

    juce::String openTitle()
    {
        return "Choose a " + VlApplication::productName + " file to open";
    }
    juce::String saveTitle()
    {
        return "Choose a " + VlApplication::productName + " file to save";
    }
}

VlDocument::VlDocument (VlEngine& engineToUse, juce::RecentlyOpenedFilesList* recentFilesToUse)
    : juce::FileBasedDocument (extension, "*" + extension, openTitle(), saveTitle()),
      engine (engineToUse),
      recentFiles (recentFilesToUse)
{
    engine.clear();
    resetContent();
}

VlDocument::~VlDocument() = default;

//==============================================================================
juce::String VlDocument::getDocumentTitle()
{
    return title;
}

juce::Result VlDocument::loadDocument (const juce::File& file)
{
    const auto root = CXml::parseFile (file);

    if (root == nullptr)
        return juce::Result::fail (getInvalidDocumentText());

    // The root's tag is compared exactly; every name below it ignores case.
    const auto version = CXml::getInt (*root, VlXml::version, -1);
    auto* navigation = CXml::findChild (*root, VlXml::navigation);
    auto* patches = CXml::findChild (*root, VlXml::patches);

    if (root->getTagName() != VlXml::veltrino.toString() || version == -1 || navigation == nullptr
        || patches == nullptr)
        return juce::Result::fail (getInvalidDocumentText());

    if (version > documentVersion)
        return juce::Result::fail (getNewerVersionText());

    if (! readContent (*navigation, *patches))
        return juce::Result::fail (getInvalidDocumentText());

    if (! isMerging)
        title = file.getFileNameWithoutExtension();

    return juce::Result::ok();
}

juce::Result VlDocument::saveDocument (const juce::File& file)
{
    const auto result = CFiles::replaceAtomically (file, createDocumentText());
    lastSaveError = result.getErrorMessage();

    if (result.wasOk())
        title = file.getFileNameWithoutExtension();

    return result;
}

juce::String VlDocument::createDocumentText() const
{
    return createDocumentXml()->toString (getTextFormat());
}

std::unique_ptr<juce::XmlElement> VlDocument::createDocumentXml() const
{
    auto root = std::make_unique<juce::XmlElement> (VlXml::veltrino);
    root->setAttribute (VlXml::version, documentVersion);
    appendContent (*root);
    return root;
}

juce::XmlElement::TextFormat VlDocument::getTextFormat()
{
    juce::XmlElement::TextFormat format;
    format.lineWrapLength = 60;
    format.newLineChars = "\n";
    return format;
}

juce::File VlDocument::getLastDocumentOpened()
{
    return recentFiles != nullptr && recentFiles->getNumFiles() > 0 ? recentFiles->getFile (0) : juce::File();
}

void VlDocument::setLastDocumentOpened (const juce::File& file)
{
    if (recentFiles != nullptr)
        recentFiles->addFile (file);
}

//==============================================================================
VlDocument::SaveResult VlDocument::askToSaveChanges()
{
    if (! hasChangedSinceSaved())
        return savedOk;

    switch (CPrompts::get().askYesNoCancel (CPrompts::Icon::question, "Closing document...",
                                            "Do you want to save the changes to \"" + title + "\"?", "Save",
                                            "Discard changes", "Cancel"))
    {
        case 1: return saveToFile();
        case 2: return savedOk;
        default: return userCancelledSave;
    }
}

bool VlDocument::open (const juce::File& file)
{
    const auto ownFile = getFile();

    // JUCE would say that a folder, or a file in a folder that we may not enter, "doesn't
    // exist", and read a file that we may not read as an invalid document.
    const auto failure = CFiles::getReadFailure (file);
    const auto result =
        file.isDirectory() ? juce::Result::fail ("This is a folder, not a " + VlApplication::productName + " document.")
        : failure.isNotEmpty() ? juce::Result::fail ("The file cannot be read (" + failure + ").")
                               : loadFrom (file, false);

    if (result.failed())
    {
        CPrompts::get().showMessage (CPrompts::Icon::warning, "Failed to open file...",
                                     "There was an error while trying to load the file: \n" + file.getFullPathName()
                                         + "\n\n" + result.getErrorMessage());
        return false;
    }

    if (isMerging)
    {
        // The library binds the document to the file it read: a later Save
        // would write the combined document over the file that was merged in.
        setFile (ownFile);
        changed();
    }

    return true;
}

bool VlDocument::openInteractively()
{
    const auto file = CPrompts::get().chooseFile (openTitle(), getLastDocumentOpened(), "*" + extension, false);
    return file != juce::File() && open (file);
}

VlDocument::SaveResult VlDocument::saveToFile()
{
    if (getFile() == juce::File())
        return saveAsInteractively();

    return saveTo (getFile());
}

VlDocument::SaveResult VlDocument::saveAsInteractively()
{
    auto initial = getFile();

    if (initial == juce::File())
    {
        const auto last = getLastDocumentOpened();
        const auto folder = last != juce::File() ? last.getParentDirectory()
                                                 : juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
        initial = folder.getChildFile (title + extension);
    }

    auto file = CPrompts::get().chooseFile (saveTitle(), initial, "*" + extension, true);

    if (file == juce::File())
        return userCancelledSave;

    // Only a name without any extension gets ".vlt", appended: a dot in the name
    // ("Gig 2024.03") is the user's. The chooser asked about the name as typed; with
    // the extension added it may name another file.
    if (file.getFileExtension().isEmpty())
    {
        file = file.getSiblingFile (file.getFileName() + extension);

        if (file.exists()
            && ! CPrompts::get().askOkCancel (CPrompts::Icon::warning, "File already exists",
                                              "There's already a file called: \n" + file.getFullPathName()
                                                  + "\n\nAre you sure you want to overwrite it?",
                                              "Overwrite", "Cancel"))
            return userCancelledSave;
    }

    return saveTo (file);
}

VlDocument::SaveResult VlDocument::saveTo (const juce::File& file)
{
    lastSaveError.clear();
    const auto result = saveAs (file, false, false, false);

    if (result != savedOk)
        CPrompts::get().showMessage (CPrompts::Icon::warning, "Error writing to file...",
                                     "An error occurred while trying to save \"" + title + "\" to the file: \n"
                                         + file.getFullPathName() + "\n\n" + lastSaveError);

    return result;
}

//==============================================================================
void VlDocument::resetContent()
{
    engine.newDocument();
}

bool VlDocument::readContent (const juce::XmlElement& navigation, const juce::XmlElement& patches)
{
    // Merged patches go behind the open ones: only those are played.
    const auto firstPatch = isMerging ? (juce::uint16) engine.getNumPatches() : (juce::uint16) 0;

    if (! engine.loadDocumentContent (navigation, patches, isMerging))
        return false;

    engine.startPlaying (firstPatch);
    return true;
}

void VlDocument::appendContent (juce::XmlElement& root) const
{
    root.addChildElement (engine.createNavigationXml().release());
    root.addChildElement (engine.createPatchesXml().release());
}

//==============================================================================
juce::String VlDocument::getInvalidDocumentText()
{
    return "This is not a valid " + VlApplication::productName + " document.";
}

juce::String VlDocument::getNewerVersionText()
{
    return "This document was produced with a newer version of " + VlApplication::productName + ".";
}
