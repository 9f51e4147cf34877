// Writes the fuzzers' seed corpora from our own writers and our own MIDI, so that no seed comes
// from elsewhere. Usage: make_fuzz_seeds <corpus folder>   (the folder is fuzz/corpus)

#include "app/VlDocument.h"
#include "common/CVirtualMidiPorts.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/GeneratedDocument.h"
#include "fixtures/TemporaryHome.h"
#include "fixtures/TestApplication.h"
#include "tools/fcbdump/VlFcbDump.h"

#include <iostream>

namespace
{
    using Bytes = std::vector<juce::uint8>;

    void write (const juce::File& file, const Bytes& bytes)
    {
        if (! file.replaceWithData (bytes.data(), bytes.size()))
            throw std::runtime_error ("cannot write " + file.getFullPathName().toStdString());
    }

    // Preferences as the framework's writer saves them: fresh, and after some use.
    void writePreferences (const juce::File& folder)
    {
        TemporaryHome home;
        TestApplication app;

        const auto save = [&] (const char* name) {
            if (! app.savePreferences() || ! home.getPreferencesFile().copyFileTo (folder.getChildFile (name)))
                throw std::runtime_error (std::string ("cannot save ") + name);
        };

        save ("fresh.xml");

        app.recentFiles = std::make_unique<juce::RecentlyOpenedFilesList>();
        app.recentFiles->addFile (juce::File ("/home/musician/Sets/Friday night.vlt"));
        app.recentFiles->addFile (juce::File ("/home/musician/Sets/Rehearsal \"B\" & more.vlt"));
        app.tooltipWindow = std::make_unique<juce::TooltipWindow> (nullptr, 700);
        app.dialog.windowState = "412 230 520 360";
        save ("used.xml");

        app.recentFiles.reset();
        app.tooltipWindow.reset();
        app.dialog.windowState = "fs 0 0 1280 1024";
        save ("full_screen_dialog.xml");
    }

    Bytes controllerSweep()
    {
        Bytes bytes { 0xb0 };

        for (juce::uint8 value = 0; value < 128; ++value)
            bytes.insert (bytes.end(), { 0x07, value });    // running status

        return bytes;
    }

    // What a pedal board and other devices send: footswitches, a pedal sweep, every other kind of
    // message with real-time bytes in between, and the board's programming dump.
    void writeMidiStreams (const juce::File& folder)
    {
        write (folder.getChildFile ("footswitch.mid"), { 0x90, 0x01, 0x7f, 0x01, 0x00, 0x80, 0x02, 0x40 });
        write (folder.getChildFile ("pedal_sweep.mid"), controllerSweep());
        write (
            folder.getChildFile ("mixed.mid"), { 0xc0, 0x05, 0xe1, 0x00, 0x40, 0xd2, 0x33, 0xa3,
                                                 0x3c, 0x10, 0x90, 0xf8, 0x3c, 0xfe, 0x64,    // real-time inside a note
                                                 0xf0, 0x7d, 0x01, 0xf8, 0x02, 0x03, 0xf7,    // and inside an exclusive
                                                 0xf1, 0x21, 0xf2, 0x10, 0x20, 0xf3, 0x04, 0xf6,
                                                 0xfa, 0xfc, 0xff, 0x3c, 0x00, 0xf7, 0xf4, 0xf9 });    // stray bytes
        write (folder.getChildFile ("fcb_dump.syx"), VlFcbDump::forDefaultLearnTable().encode());
    }

    // Documents as our own save writes them: the example we ship, a new one, one with every kind
    // of action, and one with a link, an unresolvable target and its own navigation.
    void writeDocuments (const juce::File& folder, const juce::File& example)
    {
        if (! example.copyFileTo (folder.getChildFile (example.getFileName())))
            throw std::runtime_error ("cannot copy " + example.getFullPathName().toStdString());

        FakePrompts prompts;
        VlEngine engine { std::make_unique<CVirtualMidiPorts>() };
        VlDocument document (engine, nullptr);

        const auto save = [&] (const char* name) {
            const auto text = document.createDocumentText();
            write (folder.getChildFile (name), Bytes (text.toRawUTF8(), text.toRawUTF8() + text.getNumBytesAsUTF8()));
        };

        save ("new.vlt");

        engine.clear();
        GeneratedDocument::append (engine, 2, SecondPedalId, 1, 3);
        engine.goToPatch (1, true);
        save ("every_kind.vlt");

        engine.clear();
        GeneratedDocument::append (engine, 3, 4, 2, 1);
        engine.getPatch (2)->getControl (3)->setLinked (true);
        engine.getPatch (2)->getControl (3)->setLinkPatch (0);
        engine.getPatch (1)->getControl (4)->setLinked (true);    // nothing to link to: no target
        engine.setNavigationFunction (NavOnOff, 3, false);
        engine.setNavigationColor (0xff123456);
        save ("linked.vlt");
    }

    // Sequences in the parser's own normal form, behind the two bytes that choose the action
    // (bit 0: under a pedal, bit 1: two value bytes) and the pedal value.
    void writeSysExSequences (const juce::File& folder)
    {
        const auto save = [&] (const char* name, VlaSysEx& action, juce::uint8 choice, const char* text) {
            if (action.parseSequence (text))
                throw std::runtime_error (std::string ("refused: ") + text);

            Bytes bytes { choice, 0x40 };
            const auto normal = action.getSequence();
            bytes.insert (bytes.end(), normal.toRawUTF8(), normal.toRawUTF8() + normal.getNumBytesAsUTF8());
            write (folder.getChildFile (name), bytes);
        };

        VlaSysExFixed fixed;
        VlaSysExContinuos oneByte, twoBytes;
        twoBytes.setDatumSize (2);

        save ("roland_checksum", fixed, 0, "41 10 42 12 $ 40 00 7F 00 =");
        save ("checksum_at_start", fixed, 0, "41 $ = 10");
        save ("pedal_one_byte", oneByte, 1, "43 10 4C 00 00 0B *");
        save ("pedal_two_bytes", twoBytes, 3, "41 * 10");
        save ("pedal_in_checksum", twoBytes, 3, "41 10 42 12 $ 40 00 * 00 =");

        // A text that is a byte-order mark alone: once read past the end of the input.
        write (folder.getChildFile ("byte_order_mark_alone"), { 0x20, 0x36, 0xef, 0xbb, 0xbf });
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: make_fuzz_seeds <corpus folder>\n";
        return 2;
    }

    juce::JUCEApplicationBase::createInstance = +[]() -> juce::JUCEApplicationBase* { return nullptr; };
    juce::ScopedJuceInitialiser_GUI juce;    // the tooltip window is a component

    try
    {
        const auto corpus = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

        // Each fuzzer's folder, made first: the corpus may be empty, or not there at all.
        const auto folder = [&] (const char* fuzzer) {
            const auto made = corpus.getChildFile (fuzzer);

            if (const auto result = made.createDirectory(); result.failed())
                throw std::runtime_error ("cannot make " + made.getFullPathName().toStdString() + ": "
                                          + result.getErrorMessage().toStdString());
            return made;
        };

        // Every file we read as XML goes the preferences' way, documents too.
        writePreferences (folder ("prefs_reader"));
        writePreferences (folder ("xml_reader"));
        write (folder ("xml_reader").getChildFile ("byte_order_mark_alone"),
               { 0xef, 0xbb, 0xbf });    // once read past the end
        writeMidiStreams (folder ("midi_stream_parser"));
        writeDocuments (folder ("document_reader"), corpus.getSiblingFile ("../resources/examples/win_example.vlt"));
        writeSysExSequences (folder ("sysex_sequence"));
    }
    catch (const std::exception& e)
    {
        std::cerr << "make_fuzz_seeds: " << e.what() << '\n';
        return 1;
    }

    return 0;
}
