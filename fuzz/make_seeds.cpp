// Writes the fuzzers' seed corpora from our own writers and our own MIDI, so that no seed comes
// from elsewhere. Usage: make_fuzz_seeds <corpus folder>   (the folder is fuzz/corpus)

#include "fixtures/TemporaryHome.h"
#include "fixtures/TestApplication.h"
#include "tools/fcbdump/VlFcbDump.h"

#include <iostream>

namespace
{
    using Bytes = std::vector<juce::uint8>;

    void write (const juce::File& file, const Bytes& bytes)
    {
        file.getParentDirectory().createDirectory();

        if (! file.replaceWithData (bytes.data(), bytes.size()))
            throw std::runtime_error ("cannot write " + file.getFullPathName().toStdString());
    }

    // Preferences as the framework's writer saves them: fresh, and after some use.
    void writePreferences (const juce::File& folder)
    {
        TemporaryHome home;
        TestApplication app;

        const auto save = [&] (const char* name)
        {
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
            bytes.insert (bytes.end(), { 0x07, value });   // running status

        return bytes;
    }

    // What a pedal board and other devices send: footswitches, a pedal sweep, every other kind of
    // message with real-time bytes in between, and the board's programming dump.
    void writeMidiStreams (const juce::File& folder)
    {
        write (folder.getChildFile ("footswitch.mid"), { 0x90, 0x01, 0x7f, 0x01, 0x00, 0x80, 0x02, 0x40 });
        write (folder.getChildFile ("pedal_sweep.mid"), controllerSweep());
        write (folder.getChildFile ("mixed.mid"),
               { 0xc0, 0x05, 0xe1, 0x00, 0x40, 0xd2, 0x33, 0xa3, 0x3c, 0x10,
                 0x90, 0xf8, 0x3c, 0xfe, 0x64,                          // real-time inside a note
                 0xf0, 0x7d, 0x01, 0xf8, 0x02, 0x03, 0xf7,              // and inside an exclusive
                 0xf1, 0x21, 0xf2, 0x10, 0x20, 0xf3, 0x04, 0xf6, 0xfa, 0xfc, 0xff,
                 0x3c, 0x00, 0xf7, 0xf4, 0xf9 });                      // stray bytes
        write (folder.getChildFile ("fcb_dump.syx"), VlFcbDump::forDefaultLearnTable().encode());
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
    juce::ScopedJuceInitialiser_GUI juce;   // the tooltip window is a component

    try
    {
        const auto corpus = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
        // Every file we read as XML goes the preferences' way, documents too.
        writePreferences (corpus.getChildFile ("prefs_reader"));
        writePreferences (corpus.getChildFile ("xml_reader"));
        writeMidiStreams (corpus.getChildFile ("midi_stream_parser"));
    }
    catch (const std::exception& e)
    {
        std::cerr << "make_fuzz_seeds: " << e.what() << '\n';
        return 1;
    }

    return 0;
}
