#pragma once

// Short texts of the parameter codes found in keyboard files, and the parsers
// that turn edited texts back into codes. Every getter returns its own string;
// a code outside its table gives "???" unless noted. Texts are single-byte
// (Windows-1252) like the files they describe.
//
// A parser compares the start of the text with each entry in table order over
// the entry's length (so "Var1xyz" parses as "Var1") and takes the first match.

#include "midi/NoteAlphabets.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zib {

// Two-valued and short getters
std::string GetPolarityText(int code);          // 0 "REVERSE (+)", 1 "DASK (-)"
std::string GetMidiHostText(int code);          // 0 "OFF", 1 "MIDI", 2 "HOST"
std::string GetInternalExternalText(int code);  // 0 "INTERNAL", 1 "EXTERNAL"
std::string GetEnabledText(int code);           // 0 "DISABLED", 1 "ENABLED"
std::string GetMidiInToHostText(int code);      // 0 "MIDI IN", 1 "TO HOST"
std::string GetPostKbdPreOscText(int code);     // 0 "POST-KBD", 1 "PRE-OSC"
std::string GetBaudRateText(int code);          // 0 "38.4k", 1 "31.25k"
std::string GetNoteModeText(int code);          // 0 "Note ON", 1 "ON & OFF"
std::string GetBassInversionModeText(int code); // 1 "ACTUAL", 2 "AUTO", 3 "BASS"
std::string GetLowHarmText(int code);           // 0 "LOW", 1 "HARM", 2 "BOTH"
std::string GetOnOffText(int code);             // 0 "OFF", 1 "ON"
std::string GetBreakFillText(int code);         // 0 "OFF", 1 "BREAK", 2 "FILL 1", 3 "FILL 2"
std::string GetKeyboardModeText(int code);      // 0 "SINGLE" .. 3 "M. DRUMS"
std::string GetStyleTrackName(int track);       // 0-5 "DRUM" .. "ACC3"; others "Tr??"
std::string GetStyleElementName(int element);   // 0-9 "VAR1" .. "FILL2"; others "styelement???"
std::string GetEnsembleText(int code);          // 0-9 "Duet" .. "Reed Ens"
std::string GetScaleName(int code);             // 0-9 named scales, 10-41 "USER SCALE n"
std::string GetKeyNameText(int key);            // 0-11 "C" .. "H"
std::string GetOctaveFeetText(int code);        // 254 "32'", 255 "16'", 0 "8'", 1 "4'"
std::string GetOctaveShiftText(int code);       // 4-bit two's complement -2..2
std::string GetVariationPairText(int code);     // 0 "OFF", 1-4 "Var1".., 5-10 "1&2".., 11 "UP", 12 "DOWN"
std::string GetIntExtBothText(int code);        // low two bits: "OFF" "INT" "EXT" "BOTH"
std::string GetPlayMuteSoloText(int code);      // bits 2-3: 0 "PLAY", 4 "MUTE", 8 "SOLO"
std::string GetChordRecognitionModeText(int code, int model); // models 77 and 73 only
std::string GetHighLowText(int value);                        // negative "Low", else "High"
std::string GetOnOffFlagText(int value);                      // non-zero "ON ", 0 "OFF"
std::string GetVariationChangeText(int code);                 // 0-3, 64-67, 80-83, 128-131, 144-147

// Number getters
std::string GetMidiChannelText(int channel);    // -1 "OFF", 0-15 "1".."16"
std::string GetVelocityValueText(int value);    // 0 "Normal", 1-127 the number
std::string GetOneToSevenText(int value);       // 0-6 "1".."7"
std::string GetOneToThirtyTwoText(int value);   // 0-31 "1".."32"
std::string GetOneToTwelveOrStyText(int value); // 0-11 "1".."12", -1 "STY"
std::string GetDigitOrPrgText(int value);       // 0-9 the digit, 10 "Prg"
std::string GetPanText(int code);               // "L15".."L01", "CNT", "R01".."R15", "PRG", 255 "OFF"
std::string GetChordVariationName(int code);    // "%-7s CV%d" of element and variation, 0-215

// Wq style time-signature byte: 16-24 n/4, 32-47 n/8, 48-63 n/16.
std::string GetTimeSignatureText(int byte);

// Qe-series time-signature byte: (numerator - 1) in the low nibble, the power
// of two of the denominator (1, 2, 4, 8, 16 -> 0..4) in the high nibble.
// -1 for a numerator outside 1-16 or a denominator that is not one of those.
int MakeQeTimeSignatureByte(int numerator, int denominator);

// One user scale's 12 detune bytes (each a signed value) as
// "C:%d, C#:%d, D:%d, ... A#:%d, H:%d".
std::string FormatScaleOffsetsText(std::span<const uint8_t, 12> offsets);

// Note names
// "C", "C#" .. "H" of note mod 12 followed by note / 12 + octaveOffset;
// "???" for a note outside 0-127.
std::string FormatNoteName(int note, int octaveOffset);
// "%s%d": the note's name in the alphabet (6 or more, or negative, counts as
// 0) and the octave note / 12 - 1, so note 60 is "C4" in alphabet 0; "???"
// for a note outside 0-127.
std::string GetNoteOctaveText(int note, int alphabet);

// Controller name of the fixed 128-entry table, each beginning with the
// number ("7 Volume (MSB)"); "???" outside 0-127.
std::string GetControllerName(int controller);

// Footswitch and assignable-pedal functions by function code; "???" when
// the code is not in the table (the pedal table adds the continuous functions).
std::string GetFootswitchFunctionText(int code);
std::string GetPedalFunctionText(int code);

// Qe-series name tables, read by index; "???" out of range.
std::string GetQeElementName(int element);      // 0-11 "Variation1" .. "Intro3"
std::string GetQeElementShortName(int element); // 0-11 "V1" .. "I3"
std::string GetQeChordVariationName(int cv);    // 0-5 "CV1" .. "CV6"
std::string GetQeTrackName(int track);          // 0-7 "DRUM" .. "ACC5"
std::string GetQeKeyName(int key);              // 0-11 "C" .. "B"
std::string GetQeChordName(int chord);          // 0-21 "Major" .. "No3rdNo5th"

// Parsers (text -> code)
int ParseOctaveShiftText(std::string_view text);      // no match 0
int ParseMidiChannelText(std::string_view text);      // "OFF" -1, else decimal value - 1
int ParseOneToTwelveOrStyText(std::string_view text); // "STY" -1, else decimal value - 1
int ParseIntExtBothText(std::string_view text);       // no match 3
int ParsePlayMuteSoloText(std::string_view text);     // no match 0
int ParseEnsembleText(std::string_view text);         // no match 0
int ParseVariationPairText(std::string_view text);    // no match 0
int ParseVariationChangeText(std::string_view text);  // no match 0
int ParseOctaveFeetText(std::string_view text);       // no match 0
// A letter C D E F G A H, an optional '#', one octave digit d:
// 12 x (d + 1) + semitone ("C4" = 60); blanks may follow. -1 for malformed
// text or a result above 127.
int ParseNoteName(std::string_view text);

// File names
// Cleans `length` bytes in place: each of \ / : * ? " > < | and the full stop
// becomes '_', and so does every other non-zero byte outside 0x20-0x7E (so a
// zero-padded name field keeps its padding). Returns `text`.
char* MakeValidFileName(char* text, std::size_t length);
// The same over the whole string.
void MakeValidFileName(std::string& text);

} // namespace zib
