#pragma once

namespace zib {

class PlaybackEngine;
class PlayerSlot;

// The transport commands of the MIDI frames, by the program's numbers.
namespace barcmd {
inline constexpr int Stop = 32911;
inline constexpr int Play = 32912;
inline constexpr int GoToEnd = 32913;
inline constexpr int Rewind = 32914;
inline constexpr int Record = 32915;
inline constexpr int PrevMeasure = 32918;
inline constexpr int NextMeasure = 32919;
inline constexpr int SetFrom = 32923;
inline constexpr int SetThru = 32924;
inline constexpr int Loop = 32927;
inline constexpr int SetTempo = 32930;
inline constexpr int GoToFrom = 32956;
inline constexpr int GoToThru = 32957;
} // namespace barcmd

// Carries out a transport command of the MIDI child frame on a bar view's
// engine: Play and Stop through the application's Play/Stop toggle, Record,
// the moves, the markers (Set Thru is the frame's: before the measure), the
// loop and the tempo refresh. False when `command` is none of them.
bool RouteBarViewCommand(int command, PlaybackEngine& engine, PlayerSlot& player);

// The commands above, in a fixed order (for binding them)
inline constexpr int kBarViewCommands[] = {barcmd::Stop,        barcmd::Play,    barcmd::GoToEnd, barcmd::Rewind,
                                          barcmd::Record,      barcmd::PrevMeasure, barcmd::NextMeasure,
                                          barcmd::SetFrom,     barcmd::SetThru, barcmd::Loop,    barcmd::SetTempo,
                                          barcmd::GoToFrom,    barcmd::GoToThru};

} // namespace zib
