#include "devices/core/StyleTrackChannels.h"

#include <array>

namespace zib {

namespace {

constexpr uint8_t kNone = kNoStyleTrack;
constexpr std::array<uint8_t, 16> kQeChannelTracks = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone,
                                                      2,     0,     1,     3,     4,     5,     6,     7};
constexpr std::array<uint8_t, 16> kWqChannelTracks = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone,
                                                      kNone, 0,     1,     2,     3,     4,     5,     kNone};
constexpr std::array<int, 8> kQeTrackChannels = {9, 10, 8, 11, 12, 13, 14, 15};
constexpr std::array<int, 6> kWqTrackChannels = {9, 10, 11, 12, 13, 14};

} // namespace

int StyleTrackCount(bool qeStyle)
{
    return qeStyle ? int(kQeTrackChannels.size()) : int(kWqTrackChannels.size());
}

int StyleTrackChannel(bool qeStyle, int track)
{
    if (track < 0 || track >= StyleTrackCount(qeStyle)) return -1;
    return qeStyle ? kQeTrackChannels[size_t(track)] : kWqTrackChannels[size_t(track)];
}

uint8_t StyleChannelTrack(bool qeStyle, int channel)
{
    if (channel < 0 || channel > 15) return kNone;
    return qeStyle ? kQeChannelTracks[size_t(channel)] : kWqChannelTracks[size_t(channel)];
}

} // namespace zib
