#include "midi/ValueTexts.h"

#include <array>
#include <climits>
#include <cstdio>

namespace zib {

namespace {

const char* const kUnknownValue = "???";

// Text of `code` in a table indexed from 0; "???" outside it.
template <size_t N> std::string pick(const std::array<const char*, N>& table, int code)
{
    return code >= 0 && size_t(code) < N ? table[size_t(code)] : kUnknownValue;
}

std::string formatInt(const char* format, int value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// One entry of a parser table: the text compared over `length` characters.
struct ParseEntry {
    std::string_view text;
    size_t length;
    int code;
};

bool startsWith(std::string_view text, std::string_view entry, size_t length)
{
    return text.size() >= length && entry.size() >= length && text.compare(0, length, entry, 0, length) == 0;
}

template <size_t N> int parseTable(std::string_view text, const std::array<ParseEntry, N>& table, int noMatch)
{
    for (const auto& e : table)
        if (startsWith(text, e.text, e.length)) return e.code;
    return noMatch;
}

// Leading decimal number the way the keyboard editors read it: optional
// blanks, an optional sign, digits; 0 when there are none. Saturates at
// +-INT_MAX, so subtracting 1 cannot overflow.
int leadingDecimal(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) value = INT_MAX;
    return int(negative ? -value : value);
}

const std::array<const char*, 12> kKeyNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                               "F#", "G",  "G#", "A",  "A#", "H"};

const std::array<const char*, 10> kEnsembleNames = {"Duet",      "Close", "Open 1", "Open 2",    "Octave",
                                                    "Power Ens", "4ths",  "Block",  "Brass Ens", "Reed Ens"};

const std::array<const char*, 10> kStyleElementNames = {"VAR1", "VAR2", "VAR3", "VAR4",  "INT1",
                                                        "INT2", "END1", "END2", "FILL1", "FILL2"};

const std::array<const char*, 13> kVariationPairNames = {"OFF", "Var1", "Var2", "Var3", "Var4", "1&2", "1&3",
                                                         "1&4", "2&3",  "2&4",  "3&4",  "UP",   "DOWN"};

// Variation change codes: the target variation in the low bits, the element
// the change comes from in the high bits.
struct VariationChange {
    int code;
    const char* text;
};
const std::array<VariationChange, 20> kVariationChanges = {{
    {0, "Var1"},          {1, "Var2"},          {2, "Var3"},          {3, "Var4"},
    {64, "Intro1->Var1"}, {65, "Intro1->Var2"}, {66, "Intro1->Var3"}, {67, "Intro1->Var4"},
    {80, "Intro2->Var1"}, {81, "Intro2->Var2"}, {82, "Intro2->Var3"}, {83, "Intro2->Var4"},
    {128, "Fill1->Var1"}, {129, "Fill1->Var2"}, {130, "Fill1->Var3"}, {131, "Fill1->Var4"},
    {144, "Fill2->Var1"}, {145, "Fill2->Var2"}, {146, "Fill2->Var3"}, {147, "Fill2->Var4"},
}};

// MIDI 1.0 control change numbers.
const std::array<const char*, 128> kControllerNames = {
    "0 Bank Select (MSB)",
    "1 Modulation Wheel (MSB)",
    "2 Breath Controller (MSB)",
    "3 Undefined",
    "4 Foot Controller (MSB)",
    "5 Portamento Time (MSB)",
    "6 Data Entry (MSB)",
    "7 Volume (MSB)",
    "8 Balance (MSB)",
    "9 Undefined",
    "10 Pan position (MSB)",
    "11 Expression (MSB)",
    "12 Effect Control 1 (MSB)",
    "13 Effect Control 2 (MSB)",
    "14 Undefined",
    "15 Undefined",
    "16 General Purpose 1 (MSB)",
    "17 General Purpose 2 (MSB)",
    "18 General Purpose 3 (MSB)",
    "19 General Purpose 4 (MSB)",
    "20 Undefined",
    "21 Undefined",
    "22 Undefined",
    "23 Undefined",
    "24 Undefined",
    "25 Undefined",
    "26 Undefined",
    "27 Undefined",
    "28 Undefined",
    "29 Undefined",
    "30 Undefined",
    "31 Undefined",
    "32 Bank Select (LSB)",
    "33 Modulation Wheel (LSB)",
    "34 Breath Controller (LSB)",
    "35 Undefined (LSB)",
    "36 Foot Controller (LSB)",
    "37 Portamento Time (LSB)",
    "38 Data Entry (LSB)",
    "39 Volume (LSB)",
    "40 Balance (LSB)",
    "41 Undefined (LSB)",
    "42 Pan position (LSB)",
    "43 Expression (LSB)",
    "44 Effect Control 1 (LSB)",
    "45 Effect Control 2 (LSB)",
    "46 Undefined (LSB)",
    "47 Undefined (LSB)",
    "48 General Purpose 1 (LSB)",
    "49 General Purpose 2 (LSB)",
    "50 General Purpose 3 (LSB)",
    "51 General Purpose 4 (LSB)",
    "52 Undefined (LSB)",
    "53 Undefined (LSB)",
    "54 Undefined (LSB)",
    "55 Undefined (LSB)",
    "56 Undefined (LSB)",
    "57 Undefined (LSB)",
    "58 Undefined (LSB)",
    "59 Undefined (LSB)",
    "60 Undefined (LSB)",
    "61 Undefined (LSB)",
    "62 Undefined (LSB)",
    "63 Undefined (LSB)",
    "64 Damper Pedal (Sustain)",
    "65 Portamento On/Off",
    "66 Sostenuto On/Off",
    "67 Soft Pedal On/Off",
    "68 Legato Footswitch",
    "69 Hold 2",
    "70 Sound Variation",
    "71 Timbre/Harmonic Intensity",
    "72 Release Time",
    "73 Attack Time",
    "74 Brightness",
    "75 Decay Time",
    "76 Vibrato Rate",
    "77 Vibrato Depth",
    "78 Vibrato Delay",
    "79 Sound Controller 10",
    "80 General Purpose 5",
    "81 General Purpose 6",
    "82 General Purpose 7",
    "83 General Purpose 8",
    "84 Portamento Control",
    "85 Undefined",
    "86 Undefined",
    "87 Undefined",
    "88 High Resolution Velocity Prefix",
    "89 Undefined",
    "90 Undefined",
    "91 Reverb Send Level",
    "92 Tremolo Depth",
    "93 Chorus Send Level",
    "94 Celeste (Detune) Depth",
    "95 Phaser Depth",
    "96 Data Increment",
    "97 Data Decrement",
    "98 NRPN (LSB)",
    "99 NRPN (MSB)",
    "100 RPN (LSB)",
    "101 RPN (MSB)",
    "102 Undefined",
    "103 Undefined",
    "104 Undefined",
    "105 Undefined",
    "106 Undefined",
    "107 Undefined",
    "108 Undefined",
    "109 Undefined",
    "110 Undefined",
    "111 Undefined",
    "112 Undefined",
    "113 Undefined",
    "114 Undefined",
    "115 Undefined",
    "116 Undefined",
    "117 Undefined",
    "118 Undefined",
    "119 Undefined",
    "120 All Sound Off",
    "121 Reset All Controllers",
    "122 Local Control On/Off",
    "123 All Notes Off",
    "124 Omni Mode Off",
    "125 Omni Mode On",
    "126 Mono Operation",
    "127 Poly Operation",
};

// Footswitch and pedal functions by code, in code order. The pedal table has
// every footswitch function and the continuous ones marked here.
struct FunctionRow {
    int code;
    const char* name;
    bool pedalOnly;
};
const std::array<FunctionRow, 50> kFunctionRows = {{
    {0, "Off", false},
    {1, "Start/Stop", false},
    {2, "Sync Start/Stop", false},
    {3, "Reset", false},
    {4, "Intro/Ending 1", false},
    {5, "Intro/Ending 2", false},
    {6, "Fill 1", false},
    {7, "Fill 2", false},
    {8, "Variation 1", false},
    {9, "Variation 2", false},
    {10, "Variation 3", false},
    {11, "Variation 4", false},
    {12, "Chord Memory", false},
    {13, "Bass Inversion", false},
    {14, "Scale Change", false},
    {15, "Arr/Style Up", false},
    {16, "Arr/Style Down", false},
    {17, "Program Up", false},
    {18, "Program Down", false},
    {19, "Variation Up", false},
    {20, "Variation Down", false},
    {21, "Punch In/Out", false},
    {22, "Effect 1 On/Off", false},
    {23, "Effect 2 On/Off", false},
    {24, "DRUM Mute", false},
    {25, "PERC Mute", false},
    {26, "BASS Mute", false},
    {27, "ACC1 Mute", false},
    {28, "ACC2 Mute", false},
    {29, "ACC3 Mute", false},
    {30, "KB Volume", true},
    {31, "Expression", true},
    {32, "VDF Cutoff", true},
    {33, "Effect Control", true},
    {34, "Data Entry", true},
    {37, "Tempo Lock", false},
    {38, "Tap Tempo", false},
    {39, "Lower Memory On/Off", false},
    {40, "Sustain On/Off", false},
    {41, "Fade In/Out", false},
    {42, "Ensemble On/Off", false},
    {43, "Master Volume", true},
    {44, "Quarter Tone", false},
    {45, "Damper", true},
    {46, "Chord Latch", true},
    {47, "Sync Stop", false},
    {48, "Acc1-3 Mute/Play", false},
    {49, "Low/Up1/Up2 Mute", false},
    {50, "KeyboardSet Up", false},
    {51, "KeyboardSet Down", false},
}};

std::string functionText(int code, bool pedal)
{
    for (const auto& row : kFunctionRows)
        if (row.code == code && (pedal || !row.pedalOnly)) return row.name;
    return kUnknownValue;
}

} // namespace

// ---- Two-valued and short getters ----

std::string GetPolarityText(int code)
{
    return pick(std::array<const char*, 2>{"REVERSE (+)", "DASK (-)"}, code);
}
std::string GetMidiHostText(int code)
{
    return pick(std::array<const char*, 3>{"OFF", "MIDI", "HOST"}, code);
}
std::string GetInternalExternalText(int code)
{
    return pick(std::array<const char*, 2>{"INTERNAL", "EXTERNAL"}, code);
}
std::string GetEnabledText(int code)
{
    return pick(std::array<const char*, 2>{"DISABLED", "ENABLED"}, code);
}
std::string GetMidiInToHostText(int code)
{
    return pick(std::array<const char*, 2>{"MIDI IN", "TO HOST"}, code);
}
std::string GetPostKbdPreOscText(int code)
{
    return pick(std::array<const char*, 2>{"POST-KBD", "PRE-OSC"}, code);
}
std::string GetBaudRateText(int code)
{
    return pick(std::array<const char*, 2>{"38.4k", "31.25k"}, code);
}
std::string GetNoteModeText(int code)
{
    return pick(std::array<const char*, 2>{"Note ON", "ON & OFF"}, code);
}
std::string GetBassInversionModeText(int code)
{
    return pick(std::array<const char*, 4>{kUnknownValue, "ACTUAL", "AUTO", "BASS"}, code);
}
std::string GetLowHarmText(int code)
{
    return pick(std::array<const char*, 3>{"LOW", "HARM", "BOTH"}, code);
}
std::string GetOnOffText(int code)
{
    return pick(std::array<const char*, 2>{"OFF", "ON"}, code);
}
std::string GetBreakFillText(int code)
{
    return pick(std::array<const char*, 4>{"OFF", "BREAK", "FILL 1", "FILL 2"}, code);
}
std::string GetKeyboardModeText(int code)
{
    return pick(std::array<const char*, 4>{"SINGLE", "LAYER", "SPLIT", "M. DRUMS"}, code);
}

std::string GetStyleTrackName(int track)
{
    static const std::array<const char*, 6> names = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3"};
    return track >= 0 && track < 6 ? names[size_t(track)] : "Tr??";
}

std::string GetStyleElementName(int element)
{
    return element >= 0 && element < 10 ? kStyleElementNames[size_t(element)] : "styelement???";
}

std::string GetEnsembleText(int code)
{
    return pick(kEnsembleNames, code);
}

std::string GetScaleName(int code)
{
    static const std::array<const char*, 10> names = {
        "EQUAL TEMP",  "EQUAL TEMP 2", "PURE MAJOR", "PURE MINOR", "ARABIC",
        "PYTHAGOREAN", "WERCKMEISTER", "KIRNBERGER", "SLENDRO",    "PELOG"};
    if (code >= 10 && code <= 41) return formatInt("USER SCALE %d", code - 9);
    return pick(names, code);
}

std::string GetKeyNameText(int key)
{
    return pick(kKeyNames, key);
}

std::string GetOctaveFeetText(int code)
{
    switch (code) {
    case 254:
        return "32'";
    case 255:
        return "16'";
    case 0:
        return "8'";
    case 1:
        return "4'";
    default:
        return kUnknownValue;
    }
}

std::string GetOctaveShiftText(int code)
{
    switch (code) {
    case 0:
        return "0";
    case 1:
        return "1";
    case 2:
        return "2";
    case 14:
        return "-2";
    case 15:
        return "-1";
    default:
        return kUnknownValue;
    }
}

std::string GetVariationPairText(int code)
{
    return pick(kVariationPairNames, code);
}

std::string GetIntExtBothText(int code)
{
    static const std::array<const char*, 4> names = {"OFF", "INT", "EXT", "BOTH"};
    return names[size_t(code & 3)];
}

std::string GetPlayMuteSoloText(int code)
{
    switch (code & 0x0C) {
    case 0:
        return "PLAY";
    case 4:
        return "MUTE";
    case 8:
        return "SOLO";
    default:
        return kUnknownValue;
    }
}

std::string GetChordRecognitionModeText(int code, int model)
{
    if (model == 77) return pick(std::array<const char*, 3>{"Fingered1", "Fingered2", "One Finger"}, code);
    if (model == 73) return pick(std::array<const char*, 3>{"Easy", "Normal", "One Finger"}, code);
    return kUnknownValue;
}

std::string GetHighLowText(int value)
{
    return value < 0 ? "Low" : "High";
}

std::string GetOnOffFlagText(int value)
{
    return value != 0 ? "ON " : "OFF";
}

std::string GetVariationChangeText(int code)
{
    for (const auto& v : kVariationChanges)
        if (v.code == code) return v.text;
    return kUnknownValue;
}

// ---- Number getters ----

std::string GetMidiChannelText(int channel)
{
    if (channel == -1) return "OFF";
    return channel >= 0 && channel <= 15 ? formatInt("%d", channel + 1) : kUnknownValue;
}

std::string GetVelocityValueText(int value)
{
    if (value == 0) return "Normal";
    return value >= 1 && value <= 127 ? formatInt("%d", value) : kUnknownValue;
}

std::string GetOneToSevenText(int value)
{
    return value >= 0 && value <= 6 ? formatInt("%d", value + 1) : kUnknownValue;
}

std::string GetOneToThirtyTwoText(int value)
{
    return value >= 0 && value <= 31 ? formatInt("%d", value + 1) : kUnknownValue;
}

std::string GetOneToTwelveOrStyText(int value)
{
    if (value == -1) return "STY";
    return value >= 0 && value <= 11 ? formatInt("%d", value + 1) : kUnknownValue;
}

std::string GetDigitOrPrgText(int value)
{
    if (value == 10) return "Prg";
    return value >= 0 && value <= 9 ? formatInt("%d", value) : kUnknownValue;
}

std::string GetPanText(int code)
{
    if (code >= 0 && code <= 14) return formatInt("L%02d", 15 - code);
    if (code == 15) return "CNT";
    if (code >= 16 && code <= 30) return formatInt("R%02d", code - 15);
    if (code == 31) return "PRG";
    if (code == 255) return "OFF";
    return kUnknownValue;
}

std::string GetChordVariationName(int code)
{
    int element, variation;
    if (code >= 0 && code <= 23) {
        element = code / 6;
        variation = code % 6 + 1;
    } else if (code >= 24 && code <= 215) {
        element = 4 + (code - 24) / 2;
        variation = (code - 24) % 2 + 1;
    } else {
        return kUnknownValue;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%-7s CV%d", GetStyleElementName(element).c_str(), variation);
    return buf;
}

std::string GetTimeSignatureText(int byte)
{
    if (byte >= 16 && byte <= 24) return formatInt("%d/4", byte - 15);
    if (byte >= 32 && byte <= 47) return formatInt("%d/8", byte - 31);
    if (byte >= 48 && byte <= 63) return formatInt("%d/16", byte - 47);
    return kUnknownValue;
}

int MakeQeTimeSignatureByte(int numerator, int denominator)
{
    if (numerator < 1 || numerator > 16) return -1;
    int power;
    switch (denominator) {
    case 1:
        power = 0;
        break;
    case 2:
        power = 1;
        break;
    case 4:
        power = 2;
        break;
    case 8:
        power = 3;
        break;
    case 16:
        power = 4;
        break;
    default:
        return -1;
    }
    return (numerator - 1) | power << 4;
}

std::string FormatScaleOffsetsText(std::span<const uint8_t, 12> offsets)
{
    std::string text;
    for (size_t i = 0; i < 12; ++i) {
        if (i) text += ", ";
        text += kKeyNames[i];
        text += ':';
        text += std::to_string(int(int8_t(offsets[i])));
    }
    return text;
}

// ---- Note names ----

std::string FormatNoteName(int note, int octaveOffset)
{
    // Any note number is named, 200 too ("G#15"); a negative one has no name.
    if (note < 0) return kUnknownValue;
    return std::string(kKeyNames[size_t(note % 12)]) + std::to_string(note / 12 + octaveOffset);
}

std::string GetNoteOctaveText(int note, int alphabet)
{
    if (note < 0 || note > 127) return kUnknownValue;
    return std::string(NoteAlphabetName(note % 12, alphabet)) + std::to_string(note / 12 - 1);
}

std::string GetControllerName(int controller)
{
    return pick(kControllerNames, controller);
}

std::string GetFootswitchFunctionText(int code)
{
    return functionText(code, false);
}
std::string GetPedalFunctionText(int code)
{
    return functionText(code, true);
}

// ---- Qe-series name tables ----

std::string GetQeElementName(int element)
{
    static const std::array<const char*, 12> names = {"Variation1", "Variation2", "Variation3", "Variation4",
                                                      "Intro1",     "Intro2",     "Fill1",      "Fill2",
                                                      "End1",       "End2",       "Fill3",      "Intro3"};
    return pick(names, element);
}

std::string GetQeElementShortName(int element)
{
    static const std::array<const char*, 12> names = {"V1", "V2", "V3", "V4", "I1", "I2",
                                                      "F1", "F2", "E1", "E2", "F3", "I3"};
    return pick(names, element);
}

std::string GetQeChordVariationName(int cv)
{
    return pick(std::array<const char*, 6>{"CV1", "CV2", "CV3", "CV4", "CV5", "CV6"}, cv);
}

std::string GetQeTrackName(int track)
{
    return pick(std::array<const char*, 8>{"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"},
                track);
}

std::string GetQeKeyName(int key)
{
    return key >= 0 && key < 12 ? NoteAlphabetName(key, 0) : kUnknownValue;
}

std::string GetQeChordName(int chord)
{
    static const std::array<const char*, 22> names = {
        "Major",   "Maj6", "Maj7",   "Maj7b5",  "Sus4",  "Sus2",      "Maj7sus4", "min",
        "min6",    "min7", "min7b5", "minMaj7", "7",     "7b5",       "7sus4",    "dim",
        "dimMaj7", "aug",  "aug7",   "augMaj7", "No3rd", "No3rdNo5th"};
    return pick(names, chord);
}

// ---- Parsers ----

int ParseOctaveShiftText(std::string_view text)
{
    static const std::array<ParseEntry, 5> table = {
        {{"-2", 2, 14}, {"-1", 2, 15}, {"0", 1, 0}, {"1", 1, 1}, {"2", 1, 2}}};
    return parseTable(text, table, 0);
}

int ParseMidiChannelText(std::string_view text)
{
    if (startsWith(text, "OFF", 3)) return -1;
    return leadingDecimal(text) - 1;
}

int ParseOneToTwelveOrStyText(std::string_view text)
{
    if (startsWith(text, "STY", 3)) return -1;
    return leadingDecimal(text) - 1;
}

int ParseIntExtBothText(std::string_view text)
{
    static const std::array<ParseEntry, 3> table = {{{"OFF", 3, 0}, {"INT", 3, 1}, {"EXT", 3, 2}}};
    return parseTable(text, table, 3);
}

int ParsePlayMuteSoloText(std::string_view text)
{
    static const std::array<ParseEntry, 2> table = {{{"SOLO", 4, 8}, {"MUTE", 4, 4}}};
    return parseTable(text, table, 0);
}

int ParseEnsembleText(std::string_view text)
{
    for (size_t i = 0; i < kEnsembleNames.size(); ++i) {
        std::string_view name = kEnsembleNames[i];
        if (startsWith(text, name, name.size())) return int(i);
    }
    return 0;
}

int ParseVariationPairText(std::string_view text)
{
    for (size_t i = 0; i < kVariationPairNames.size(); ++i) {
        std::string_view name = kVariationPairNames[i];
        if (startsWith(text, name, name.size())) return int(i);
    }
    return 0;
}

int ParseVariationChangeText(std::string_view text)
{
    for (const auto& v : kVariationChanges) {
        std::string_view name = v.text;
        if (startsWith(text, name, name.size())) return v.code;
    }
    return 0;
}

int ParseOctaveFeetText(std::string_view text)
{
    static const std::array<ParseEntry, 4> table = {
        {{"32'", 3, 254}, {"16'", 3, 255}, {"8'", 2, 0}, {"4'", 2, 1}}};
    return parseTable(text, table, 0);
}

int ParseNoteName(std::string_view text)
{
    if (text.empty()) return -1;
    int semitone;
    switch (text[0]) {
    case 'C':
        semitone = 0;
        break;
    case 'D':
        semitone = 2;
        break;
    case 'E':
        semitone = 4;
        break;
    case 'F':
        semitone = 5;
        break;
    case 'G':
        semitone = 7;
        break;
    case 'A':
        semitone = 9;
        break;
    case 'H':
        semitone = 11;
        break;
    default:
        return -1;
    }
    size_t i = 1;
    if (i < text.size() && text[i] == '#') {
        ++semitone;
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
    int note = 12 * (text[i] - '0' + 1) + semitone;
    // Blanks may follow (list cells are padded); anything else, such as a
    // second octave digit, makes the text malformed. Kept stricter than a
    // prefix match on purpose: that would read "C10" as C1 and "C4x" as C4.
    if (text.find_first_not_of(' ', i + 1) != std::string_view::npos) return -1;
    return note <= 127 ? note : -1;
}

// ---- File names ----

char* MakeValidFileName(char* text, std::size_t length)
{
    if (!text) return text;
    // Unprintable bytes are cleaned over the whole given length, not only the
    // first 16 characters, so that none of them reaches a file name.
    static constexpr std::string_view forbidden = "\\/:*?\"><|.";
    for (size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == 0) continue;
        if (c < 0x20 || c > 0x7E || forbidden.find(char(c)) != std::string_view::npos) text[i] = '_';
    }
    return text;
}

void MakeValidFileName(std::string& text)
{
    MakeValidFileName(text.data(), text.size());
}

} // namespace zib
