#pragma once

#include <juce_gui_extra/juce_gui_extra.h>

class VlEngine;

//==============================================================================
/** The open document as a file: its file, title and unsaved-changes flag, and the
    frame of a ".vlt" file (root `veltrino`, "version" 1, then the engine's
    navigation and patches elements).

    The content lives in the engine; this class writes it out and reads it back.
    Creating one is what New does: the engine drops what it holds and builds the
    default document.

    The roads below (save prompt, open, merge, save, save as) show their choosers
    and boxes through CPrompts and return when the user has answered; the caller
    holds a CStMenuLock around each. Main thread only.
*/
class VlDocument : public juce::FileBasedDocument
{
public:
    /** Resets the engine to the default document. `recentFiles` (not owned, may be
        null) is where opened files are remembered and where the choosers start.
    */
    VlDocument (VlEngine& engine, juce::RecentlyOpenedFilesList* recentFiles);
    ~VlDocument() override;

    //==============================================================================
    /** "Untitled" until a file is opened or saved; then the file's name without its extension. */
    juce::String getDocumentTitle() override;

    /** Reads the file into the engine: replaces the document, or appends its patches
        while isMerging is set. On failure the engine and the title are as before and
        the result holds the text to show.
    */
    juce::Result loadDocument (const juce::File& file) override;

    /** Writes the document to the file through a temporary file, so a failed write
        leaves the previous file intact; on success the title becomes the file's name.
    */
    juce::Result saveDocument (const juce::File& file) override;

    /** The most recent file of the recent-files list; no file when it is empty. */
    juce::File getLastDocumentOpened() override;

    /** Adds the file to the recent-files list. */
    void setLastDocumentOpened (const juce::File& file) override;

    //==============================================================================
    /** When there are unsaved changes, asks whether to save them ("Save", "Discard
        changes", "Cancel") and saves on the first answer. savedOk means saved,
        nothing to save, or discarded.
    */
    SaveResult askToSaveChanges();

    /** Opens the file, or merges it while isMerging is set. A failure is shown in a
        box and changes nothing: document, file, title and unsaved-changes flag stay.
        After a merge the document keeps its own file and counts as changed, so the
        merged result is never lost or written over the merged file.
        @returns true when the file was read
    */
    bool open (const juce::File& file);

    /** Lets the user choose a ".vlt" file, then open(). False when cancelled or failed. */
    bool openInteractively();

    /** Saves to the document's file, or asks for one when it has none. A failure is
        shown in a box and leaves the document changed, with its file and title.
    */
    SaveResult saveToFile();

    /** Asks for a file (and whether to overwrite an existing one), then saves to it.
        A name typed without an extension gets ".vlt"; a name with one is kept as typed.
        A failure is shown in a box and leaves the document as it was.
    */
    SaveResult saveAsInteractively();

    /** Set by the Merge command, cleared by every ordinary open; read by loadDocument. */
    bool isMerging = false;

    //==============================================================================
    /** "This is not a valid Veltrino document." */
    static juce::String getInvalidDocumentText();

    /** "This document was produced with a newer version of Veltrino." */
    static juce::String getNewerVersionText();

    /** The whole file as saveDocument writes it. */
    juce::String createDocumentText() const;

    /** The tree that createDocumentText() writes out. The caller owns it. */
    std::unique_ptr<juce::XmlElement> createDocumentXml() const;

    /** How createDocumentText() lays the tree out. */
    static juce::XmlElement::TextFormat getTextFormat();

private:
    //==============================================================================
    SaveResult saveTo (const juce::File& file);
    void resetContent();
    bool readContent (const juce::XmlElement& navigation, const juce::XmlElement& patches);
    void appendContent (juce::XmlElement& root) const;

    VlEngine& engine;
    juce::RecentlyOpenedFilesList* recentFiles;
    juce::String title { "Untitled" };
    juce::String lastSaveError;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlDocument)
};
