#include "ui/core/UserMidiPortMap.h"

namespace zib {

UserMidiPortMap UserMidiPortMap::Defaults(int deviceCount)
{
    UserMidiPortMap map;
    for (int i = 0; i < kPorts; ++i)
        map.entries_[size_t(i)].deviceId = i < deviceCount ? uint8_t(i) : kNoDevice;
    map.entries_[0].enabled = deviceCount > 0 ? 1 : 0;
    return map;
}

UserMidiPortMap UserMidiPortMap::FromStored(std::span<const uint8_t> stored, int deviceCount)
{
    if (stored.empty() || stored.size() > kMaxStoredBytes) return Defaults(deviceCount);
    UserMidiPortMap map;
    for (size_t i = 0; i + 1 < stored.size(); i += 2)
        map.entries_[i / 2] = {stored[i], stored[i + 1]};
    // Entries from L / 2 on (an odd last byte included) stay {255, 0}.
    return map;
}

std::vector<uint8_t> UserMidiPortMap::StoredBytes() const
{
    std::vector<uint8_t> out;
    for (const auto& e : entries_) {
        if (e.deviceId >= 128) break;
        out.push_back(e.deviceId);
        out.push_back(e.enabled);
    }
    return out;
}

} // namespace zib
