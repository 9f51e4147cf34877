#include "common/CMidiPorts.h"

#include "common/CJuceMidiPorts.h"

std::unique_ptr<CMidiPorts> CMidiPorts::createDefault()
{
    return std::make_unique<CJuceMidiPorts>();
}
