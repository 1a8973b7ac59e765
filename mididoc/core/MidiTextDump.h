#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zib {

class CMidiParserEx;

// The plain-text listing of a MIDI sequence (the "MIDI file text dump"),
// built in one buffer: a header with the file name, format, track count and
// division, one block per track with one row per event, and a closing line.
// Every line ends in CR LF; texts of the file are written as their bytes.
//
// Format 1 gives blocks 0 up to the highest track with events (a track
// without events between them gives an empty block); any other format one
// block of every event. Positions come from the sequence's map, which may
// grow to reach the end of a note.
std::string MidiTextDump(CMidiParserEx& sequence, uint32_t format, uint32_t fileTrackCount, uint32_t division,
                         std::string_view fileName);

// The same text handed to `sink` in pieces of about 64 KiB, so that a large
// dump goes to its file without being held whole; stops and gives false when
// the sink refuses a piece.
using TextSink = std::function<bool(std::string_view)>;
bool MidiTextDump(CMidiParserEx& sequence, uint32_t format, uint32_t fileTrackCount, uint32_t division,
                  std::string_view fileName, const TextSink& sink);

} // namespace zib
