#include "common/CMidiPorts.h"

#include "common/CFileMidiPorts.h"
#include "common/CJuceMidiPorts.h"

std::unique_ptr<CMidiPorts> CMidiPorts::createDefault()
{
    auto folderName = juce::SystemStats::getEnvironmentVariable ("VELTRINO_MIDI_DIR", {});

    if (folderName.isNotEmpty())
    {
        auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (folderName);

        if (folder.isDirectory())
            return std::make_unique<CFileMidiPorts> (folder);

        juce::Logger::writeToLog ("VELTRINO_MIDI_DIR is not a folder (" + folder.getFullPathName()
                                  + "): using the system's MIDI devices");
    }

    return std::make_unique<CJuceMidiPorts>();
}
