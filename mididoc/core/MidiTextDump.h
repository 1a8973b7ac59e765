#pragma once

#include <string>
#include <string_view>

namespace zib {

class CZibMidDoc;

// The plain-text listing of a MIDI document's sequence ("MIDI file text
// dump"): a header with the file name, format, track count and division,
// one block per track with one row per event, and a closing line. Every
// line ends in CR LF. Texts of the file stay Windows-1252 bytes; their
// control bytes show as dots.
//
// Format 1 gives one block per track, from track 0 up to the highest track
// with events (tracks without events between them give empty blocks); any
// other format one block of every event.
std::string MidiTextDump(CZibMidDoc& doc, std::string_view fileName);

} // namespace zib
