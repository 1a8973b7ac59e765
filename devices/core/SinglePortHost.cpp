#include "devices/core/SinglePortHost.h"

#include <algorithm>

namespace zib {

UserMidiPortMap::Entry SinglePortHost::OutPort(int port) const
{
    if (port != 0) return {};
    // An id outside 0..127 names no device: the engine then plays on the synth.
    return {uint8_t(std::clamp(m_deviceId, 0, 127)), 1};
}

} // namespace zib
