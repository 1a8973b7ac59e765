#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zib {

class CMidiEvent;

// The one event-text formatter of the dumps and the lists. The places differ
// in a few words and limits:
//   FileDump       the MIDI file text dump
//   WholeList      cells of the whole-file event list
//   TrackList      cells of the pad-track and style-track lists ("VEX Noise")
//   ListDump       the event-list dump of the whole-file list
//   TrackListDump  the event-list dump of a track list ("VexNoise")
//   TempoList      cells of the master-track list
// Every read stays inside the event's raw length: data shorter than their
// kind needs give "??", a tempo of 0 "???" and a denominator code outside
// 1-7 "???". BPM is the full quotient 60000000 / microseconds. Texts of the
// file stay Windows-1252 bytes.
enum class EventTextStyle { FileDump, WholeList, TrackList, ListDump, TrackListDump, TempoList };

// The name of a meta type: "Seq. Num" ... "Proprietary"; "Unknown Meta" for any other
std::string_view MetaTypeWord(int type);
// The name of meta types 0-9 as the meta-event dialogs title them
std::string_view MetaEventDialogName(int type);

// The type or code word of the event
void AppendCodeWord(std::string& out, const CMidiEvent& e, EventTextStyle style);
// The data text of a meta or system-exclusive event (status 0xF0 and above)
void AppendMetaDataText(std::string& out, const CMidiEvent& e, EventTextStyle style);

// The first columns of a dump row: "%8ld" time, " %3d:%02d:%03d" position,
// "  %2d" channel (or "  --"), "   %-13s" type word
void AppendDumpRowStart(std::string& out, const CMidiEvent& e, EventTextStyle style);
// The data text of a channel event in the dumps: notes and key pressure
// "%-5s  %4u" with the note's name in `alphabet` and the second byte (a
// 0x8n note-off of the list dump is just "NoteOFF"), controllers
// "%-5u  %4u", program and channel pressure "%-5u", the wheel "%-u"
void AppendChannelDumpText(std::string& out, const CMidiEvent& e, int alphabet, bool noteOffWord);

// Pieces the lists use on their own
void AppendTempoText(std::string& out, const CMidiEvent& e, bool withMicros);
void AppendTimeSignatureText(std::string& out, const CMidiEvent& e, bool full);
// The key of a sharps/flats count -7..7: "Cb" ... "C#"; "??" outside
std::string_view KeyNameText(int sharpsFlats);
// BPM of a tempo in microseconds per quarter note (0 for 0)
uint32_t TempoBpm(uint32_t microseconds);

} // namespace zib
