#include "common/CJuceMidiPorts.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST (CMidiPortsTests, UsesTheSystemsDevicesUnlessVELTRINO_MIDI_DIRNamesAFolder)
{
    ::setenv ("VELTRINO_MIDI_DIR", "/nonexistent/veltrino", 1);
    auto ports = CMidiPorts::createDefault();
    ASSERT_NE (dynamic_cast<CJuceMidiPorts*> (ports.get()), nullptr);

    // With or without a MIDI system here, listing is safe and an unknown device does not open.
    ports->getInputs();
    ports->getOutputs();
    EXPECT_EQ (ports->openInput ({ "Nothing", "no such device" }, nullptr), nullptr);
    EXPECT_EQ (ports->openOutput ({ "Nothing", "no such device" }), nullptr);
}
