#pragma once

#include <cstddef>
#include <cstdint>

namespace zib {

// The fixed MIDI channels of the style tracks that the playback console
// plays. A Qe-series style has 8 tracks (DRUM, PERC, BASS, ACC1-ACC5), any
// other style 6 (DRUM to ACC3). Channels are zero-based.
//
//   track        0   1   2   3   4   5   6   7
//   Qe channel   9  10   8  11  12  13  14  15
//   Wq channel   9  10  11  12  13  14   -   -

inline constexpr uint8_t kNoStyleTrack = 255;
inline constexpr uint32_t kQeStyleModelCode = 70; // 'F': the style reader's code for the Qe series

// Tracks of a style: 8 for the Qe series, 6 for the others
int StyleTrackCount(bool qeStyle);
// The channel of a track; -1 for a track the style does not have
int StyleTrackChannel(bool qeStyle, int track);
// The track that plays a channel; kNoStyleTrack for a channel without a track
uint8_t StyleChannelTrack(bool qeStyle, int channel);

} // namespace zib
