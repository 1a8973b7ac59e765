#include "midi/ValueTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace zib;

namespace {

struct TextCase {
    const char* what;
    std::function<std::string(int)> get;
    int code;
    const char* text;
};

} // namespace

// Getters: each table's ends, the gaps inside, and the codes just outside.
TEST(ValueTexts, GettersGiveTheirTextsAndUnknownOutside)
{
    const std::vector<TextCase> cases = {
        {"polarity", GetPolarityText, 0, "REVERSE (+)"},
        {"polarity", GetPolarityText, 1, "DASK (-)"},
        {"polarity", GetPolarityText, 2, "???"},
        {"midi host", GetMidiHostText, 2, "HOST"},
        {"midi host", GetMidiHostText, -1, "???"},
        {"int/ext", GetInternalExternalText, 1, "EXTERNAL"},
        {"enabled", GetEnabledText, 0, "DISABLED"},
        {"midi in", GetMidiInToHostText, 1, "TO HOST"},
        {"post/pre", GetPostKbdPreOscText, 0, "POST-KBD"},
        {"baud", GetBaudRateText, 1, "31.25k"},
        {"note mode", GetNoteModeText, 1, "ON & OFF"},
        {"bass inversion", GetBassInversionModeText, 0, "???"},
        {"bass inversion", GetBassInversionModeText, 1, "ACTUAL"},
        {"bass inversion", GetBassInversionModeText, 3, "BASS"},
        {"bass inversion", GetBassInversionModeText, 4, "???"},
        {"low/harm", GetLowHarmText, 2, "BOTH"},
        {"on/off", GetOnOffText, 1, "ON"},
        {"on/off", GetOnOffText, 2, "???"},
        {"break/fill", GetBreakFillText, 3, "FILL 2"},
        {"keyboard mode", GetKeyboardModeText, 3, "M. DRUMS"},
        {"style track", GetStyleTrackName, 5, "ACC3"},
        {"style track", GetStyleTrackName, 6, "Tr??"},
        {"style track", GetStyleTrackName, -1, "Tr??"},
        {"style element", GetStyleElementName, 0, "VAR1"},
        {"style element", GetStyleElementName, 9, "FILL2"},
        {"style element", GetStyleElementName, 10, "styelement???"},
        {"ensemble", GetEnsembleText, 5, "Power Ens"},
        {"ensemble", GetEnsembleText, 9, "Reed Ens"},
        {"ensemble", GetEnsembleText, 10, "???"},
        {"scale", GetScaleName, 0, "EQUAL TEMP"},
        {"scale", GetScaleName, 9, "PELOG"},
        {"scale", GetScaleName, 10, "USER SCALE 1"},
        {"scale", GetScaleName, 41, "USER SCALE 32"},
        {"scale", GetScaleName, 42, "???"},
        {"key", GetKeyNameText, 11, "H"},
        {"key", GetKeyNameText, 12, "???"},
        {"feet", GetOctaveFeetText, 254, "32'"},
        {"feet", GetOctaveFeetText, 255, "16'"},
        {"feet", GetOctaveFeetText, 0, "8'"},
        {"feet", GetOctaveFeetText, 1, "4'"},
        {"feet", GetOctaveFeetText, 2, "???"},
        {"octave shift", GetOctaveShiftText, 14, "-2"},
        {"octave shift", GetOctaveShiftText, 15, "-1"},
        {"octave shift", GetOctaveShiftText, 2, "2"},
        {"octave shift", GetOctaveShiftText, 3, "???"},
        {"variation pair", GetVariationPairText, 4, "Var4"},
        {"variation pair", GetVariationPairText, 5, "1&2"},
        {"variation pair", GetVariationPairText, 10, "3&4"},
        {"variation pair", GetVariationPairText, 12, "DOWN"},
        {"variation pair", GetVariationPairText, 13, "???"},
        {"int/ext/both", GetIntExtBothText, 3, "BOTH"},
        {"int/ext/both", GetIntExtBothText, 0x16, "EXT"}, // only the low two bits count
        {"play/mute/solo", GetPlayMuteSoloText, 0x04, "MUTE"},
        {"play/mute/solo", GetPlayMuteSoloText, 0x0B, "SOLO"}, // bits 2-3 only
        {"play/mute/solo", GetPlayMuteSoloText, 0x0C, "???"},
        {"high/low", GetHighLowText, -1, "Low"},
        {"high/low", GetHighLowText, 0, "High"},
        {"on/off flag", GetOnOffFlagText, 7, "ON "},
        {"on/off flag", GetOnOffFlagText, 0, "OFF"},
        {"variation change", GetVariationChangeText, 3, "Var4"},
        {"variation change", GetVariationChangeText, 4, "???"},
        {"variation change", GetVariationChangeText, 64, "Intro1->Var1"},
        {"variation change", GetVariationChangeText, 83, "Intro2->Var4"},
        {"variation change", GetVariationChangeText, 128, "Fill1->Var1"},
        {"variation change", GetVariationChangeText, 147, "Fill2->Var4"},
        {"variation change", GetVariationChangeText, 148, "???"},
        {"channel", GetMidiChannelText, -1, "OFF"},
        {"channel", GetMidiChannelText, 0, "1"},
        {"channel", GetMidiChannelText, 15, "16"},
        {"channel", GetMidiChannelText, 16, "???"},
        {"velocity", GetVelocityValueText, 0, "Normal"},
        {"velocity", GetVelocityValueText, 127, "127"},
        {"velocity", GetVelocityValueText, 128, "???"},
        {"1-7", GetOneToSevenText, 6, "7"},
        {"1-7", GetOneToSevenText, 7, "???"},
        {"1-32", GetOneToThirtyTwoText, 31, "32"},
        {"1-32", GetOneToThirtyTwoText, -1, "???"},
        {"1-12/STY", GetOneToTwelveOrStyText, -1, "STY"},
        {"1-12/STY", GetOneToTwelveOrStyText, 11, "12"},
        {"1-12/STY", GetOneToTwelveOrStyText, 12, "???"},
        {"digit/Prg", GetDigitOrPrgText, 9, "9"},
        {"digit/Prg", GetDigitOrPrgText, 10, "Prg"},
        {"digit/Prg", GetDigitOrPrgText, 11, "???"},
        {"pan", GetPanText, 15, "CNT"},
        {"pan", GetPanText, 0, "L15"},
        {"pan", GetPanText, 14, "L01"},
        {"pan", GetPanText, 16, "R01"},
        {"pan", GetPanText, 30, "R15"},
        {"pan", GetPanText, 31, "PRG"},
        {"pan", GetPanText, 32, "???"},
        {"pan", GetPanText, 255, "OFF"},
        {"qe element", GetQeElementName, 6, "Fill1"},
        {"qe element", GetQeElementName, 11, "Intro3"},
        {"qe element", GetQeElementName, 12, "???"},
        {"qe short element", GetQeElementShortName, 0, "V1"},
        {"qe short element", GetQeElementShortName, 9, "E2"},
        {"qe short element", GetQeElementShortName, 11, "I3"},
        {"qe cv", GetQeChordVariationName, 5, "CV6"},
        {"qe cv", GetQeChordVariationName, 6, "???"},
        {"qe track", GetQeTrackName, 7, "ACC5"},
        {"qe track", GetQeTrackName, 8, "???"},
        {"qe key", GetQeKeyName, 11, "B"},
        {"qe chord", GetQeChordName, 0, "Major"},
        {"qe chord", GetQeChordName, 12, "7"},
        {"qe chord", GetQeChordName, 21, "No3rdNo5th"},
        {"qe chord", GetQeChordName, 22, "???"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.get(c.code), c.text) << c.what << " " << c.code;
}

TEST(ValueTexts, ChordRecognitionModeDependsOnModel)
{
    EXPECT_EQ(GetChordRecognitionModeText(0, 77), "Fingered1");
    EXPECT_EQ(GetChordRecognitionModeText(2, 77), "One Finger");
    EXPECT_EQ(GetChordRecognitionModeText(0, 73), "Easy");
    EXPECT_EQ(GetChordRecognitionModeText(1, 73), "Normal");
    EXPECT_EQ(GetChordRecognitionModeText(3, 73), "???");
    EXPECT_EQ(GetChordRecognitionModeText(0, 57), "???");
}

TEST(ValueTexts, ChordVariationNamesPadTheElementName)
{
    EXPECT_EQ(GetChordVariationName(0), "VAR1    CV1");
    EXPECT_EQ(GetChordVariationName(7), "VAR2    CV2");
    EXPECT_EQ(GetChordVariationName(23), "VAR4    CV6");
    EXPECT_EQ(GetChordVariationName(24), "INT1    CV1");
    EXPECT_EQ(GetChordVariationName(35), "FILL2   CV2");
    // Codes past element 9 still name a variation; the element name is too
    // long for the padding.
    EXPECT_EQ(GetChordVariationName(215), "styelement??? CV2");
    EXPECT_EQ(GetChordVariationName(216), "???");
    EXPECT_EQ(GetChordVariationName(-1), "???");
}

TEST(ValueTexts, TimeSignatureByteTexts)
{
    const std::vector<std::pair<int, const char*>> cases = {
        {16, "1/4"},  {19, "4/4"},  {24, "9/4"},  {25, "???"},   {31, "???"}, {32, "1/8"}, {35, "4/8"},
        {47, "16/8"}, {48, "1/16"}, {51, "4/16"}, {63, "16/16"}, {64, "???"}, {0, "???"},  {-5, "???"},
    };
    for (const auto& [byte, text] : cases)
        EXPECT_EQ(GetTimeSignatureText(byte), text) << byte;
    // A byte it does not cover never repeats an earlier result.
    EXPECT_EQ(GetTimeSignatureText(51), "4/16");
    EXPECT_EQ(GetTimeSignatureText(25), "???");
}

TEST(ValueTexts, QeTimeSignatureByte)
{
    EXPECT_EQ(MakeQeTimeSignatureByte(4, 4), 0x23);
    EXPECT_EQ(MakeQeTimeSignatureByte(1, 1), 0x00);
    EXPECT_EQ(MakeQeTimeSignatureByte(3, 2), 0x12);
    EXPECT_EQ(MakeQeTimeSignatureByte(6, 8), 0x35);
    EXPECT_EQ(MakeQeTimeSignatureByte(16, 16), 0x4F);
    // Values the byte cannot hold are refused rather than wrapped.
    for (auto [n, d] : std::vector<std::pair<int, int>>{{0, 4}, {17, 4}, {4, 3}, {4, 32}, {4, 0}})
        EXPECT_EQ(MakeQeTimeSignatureByte(n, d), -1) << n << "/" << d;
}

TEST(ValueTexts, ScaleOffsetsShowTwelveSignedValues)
{
    const std::array<uint8_t, 12> offsets = {0, 1, 0xFF, 3, 0x80, 5, 6, 7, 8, 9, 10, 0x7F};
    EXPECT_EQ(FormatScaleOffsetsText(offsets),
              "C:0, C#:1, D:-1, D#:3, E:-128, F:5, F#:6, G:7, G#:8, A:9, A#:10, H:127");
}

TEST(ValueTexts, NoteNamesRoundTrip)
{
    EXPECT_EQ(ParseNoteName("C#4"), 61);
    EXPECT_EQ(FormatNoteName(61, -1), "C#4");
    EXPECT_EQ(ParseNoteName("H3"), 59);
    EXPECT_EQ(ParseNoteName("C4"), 60);
    EXPECT_EQ(FormatNoteName(60, 0), "C5");
    EXPECT_EQ(FormatNoteName(0, -1), "C-1");
    EXPECT_EQ(FormatNoteName(128, 0), "G#10"); // numbers past 127 are named too
    EXPECT_EQ(FormatNoteName(200, -1), "G#15");
    EXPECT_EQ(FormatNoteName(255, -1), "D#20");
    EXPECT_EQ(FormatNoteName(-1, 0), "???");
    // Every note that has a one-digit octave reads back to itself.
    for (int note = 12; note <= 127; ++note)
        EXPECT_EQ(ParseNoteName(FormatNoteName(note, -1)), note) << note;
}

TEST(ValueTexts, ParseNoteNameRefusesMalformedTextAndLargeNotes)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"", -1},    {"B4", -1},  {"c4", -1}, {"C", -1},  {"C#", -1}, {"C##4", -1}, {" C4", -1},  {"Cx", -1},
        {"G9", 127}, {"G#9", -1}, {"A9", -1}, {"H9", -1}, {"C0", 12}, {"C45", -1},  {"C4  ", 60}, {"C4x", -1},
    };
    for (const auto& [text, note] : cases)
        EXPECT_EQ(ParseNoteName(text), note) << "\"" << text << "\"";
}

TEST(ValueTexts, NoteOctaveTextsInEveryAlphabet)
{
    const std::vector<std::tuple<int, int, const char*>> cases = {
        {60, 0, "C4"},
        {70, 0, "A#4"},
        {71, 0, "B4"},
        {61, 1, "s#4"},
        {71, 1, "n4"},
        {67, 2, "Sol4"},
        {71, 2, "Ti4"},
        {63, 3, "g-4"},
        {66, 3, "m+4"},
        {68, 4, "Dha-4"},
        {62, 4, "Ri4"},
        {71, 5, "Si4"},
        {0, 0, "C-1"},
        {127, 0, "G9"},
        // Alphabets outside 0-5 count as English.
        {71, 6, "B4"},
        {71, 7, "B4"},
        {71, -1, "B4"},
        {128, 0, "???"},
    };
    for (const auto& [note, alphabet, text] : cases)
        EXPECT_EQ(GetNoteOctaveText(note, alphabet), text) << note << " " << alphabet;
}

TEST(ValueTexts, ControllerNamesBeginWithTheirNumber)
{
    EXPECT_EQ(GetControllerName(0), "0 Bank Select (MSB)");
    EXPECT_EQ(GetControllerName(7), "7 Volume (MSB)");
    EXPECT_EQ(GetControllerName(10), "10 Pan position (MSB)");
    EXPECT_EQ(GetControllerName(11), "11 Expression (MSB)");
    EXPECT_EQ(GetControllerName(127), "127 Poly Operation");
    EXPECT_EQ(GetControllerName(128), "???");
    for (int c = 0; c < 128; ++c)
        EXPECT_EQ(GetControllerName(c).rfind(std::to_string(c) + " ", 0), 0u) << c;
}

TEST(ValueTexts, FootswitchAndPedalTables)
{
    int footswitchRows = 0, pedalRows = 0;
    for (int code = -1; code < 256; ++code) {
        std::string f = GetFootswitchFunctionText(code), p = GetPedalFunctionText(code);
        if (f != "???") {
            ++footswitchRows;
            EXPECT_EQ(p, f) << code; // the pedal table holds every footswitch function
        }
        if (p != "???") {
            ++pedalRows;
            EXPECT_LE(p.size(), 25u);
        }
    }
    EXPECT_EQ(footswitchRows, 42);
    EXPECT_EQ(pedalRows, 50);

    const std::vector<std::pair<int, const char*>> rows = {
        {0, "Off"},
        {1, "Start/Stop"},
        {13, "Bass Inversion"},
        {29, "ACC3 Mute"},
        {37, "Tempo Lock"},
        {42, "Ensemble On/Off"},
        {44, "Quarter Tone"},
        {47, "Sync Stop"},
        {48, "Acc1-3 Mute/Play"},
        {49, "Low/Up1/Up2 Mute"},
        {51, "KeyboardSet Down"},
    };
    for (const auto& [code, name] : rows)
        EXPECT_EQ(GetFootswitchFunctionText(code), name) << code;
    const std::vector<std::pair<int, const char*>> pedalOnly = {
        {30, "KB Volume"},  {31, "Expression"},    {32, "VDF Cutoff"}, {33, "Effect Control"},
        {34, "Data Entry"}, {43, "Master Volume"}, {45, "Damper"},     {46, "Chord Latch"},
    };
    for (const auto& [code, name] : pedalOnly) {
        EXPECT_EQ(GetPedalFunctionText(code), name) << code;
        EXPECT_EQ(GetFootswitchFunctionText(code), "???") << code;
    }
    for (int code : {35, 36, 52})
        EXPECT_EQ(GetPedalFunctionText(code), "???") << code;
}

// Parsers compare the start of the text over each entry's length, in table order.
TEST(ValueTexts, ParsersTakeTheFirstMatchingEntry)
{
    struct ParseCase {
        const char* what;
        std::function<int(std::string_view)> parse;
        const char* text;
        int code;
    };
    const std::vector<ParseCase> cases = {
        {"octave shift", ParseOctaveShiftText, "-2", 14},
        {"octave shift", ParseOctaveShiftText, "-1", 15},
        {"octave shift", ParseOctaveShiftText, "2", 2},
        {"octave shift", ParseOctaveShiftText, "12", 1}, // "1" matches first
        {"octave shift", ParseOctaveShiftText, "x", 0},
        {"channel", ParseMidiChannelText, "OFF", -1},
        {"channel", ParseMidiChannelText, "16", 15},
        {"channel", ParseMidiChannelText, "1", 0},
        {"channel", ParseMidiChannelText, "abc", -1},
        {"channel", ParseMidiChannelText, "99999999999999999999", 2147483646},
        {"channel", ParseMidiChannelText, "-99999999999999999999", -2147483647 - 1},
        {"1-12/STY", ParseOneToTwelveOrStyText, "STY", -1},
        {"1-12/STY", ParseOneToTwelveOrStyText, "12", 11},
        {"int/ext/both", ParseIntExtBothText, "OFF", 0},
        {"int/ext/both", ParseIntExtBothText, "EXT", 2},
        {"int/ext/both", ParseIntExtBothText, "BOTH", 3},
        {"int/ext/both", ParseIntExtBothText, "IN", 3},
        {"play/mute/solo", ParsePlayMuteSoloText, "SOLO", 8},
        {"play/mute/solo", ParsePlayMuteSoloText, "MUTE", 4},
        {"play/mute/solo", ParsePlayMuteSoloText, "PLAY", 0},
        {"ensemble", ParseEnsembleText, "Open 2", 3},
        {"ensemble", ParseEnsembleText, "Reed Ens", 9},
        {"ensemble", ParseEnsembleText, "Open", 0},
        {"variation pair", ParseVariationPairText, "Var3", 3},
        {"variation pair", ParseVariationPairText, "2&4", 9},
        {"variation pair", ParseVariationPairText, "UP", 11},
        {"variation pair", ParseVariationPairText, "DOWN", 12},
        {"variation pair", ParseVariationPairText, "Var1 more", 1},
        {"variation change", ParseVariationChangeText, "Fill1->Var3", 130},
        {"variation change", ParseVariationChangeText, "Fill1->Var4", 131},
        {"variation change", ParseVariationChangeText, "Intro2->Var1", 80},
        {"variation change", ParseVariationChangeText, "Var2", 1},
        {"variation change", ParseVariationChangeText, "Fill2->Var", 0},
        {"feet", ParseOctaveFeetText, "32'", 254},
        {"feet", ParseOctaveFeetText, "16'", 255},
        {"feet", ParseOctaveFeetText, "4'", 1},
        {"feet", ParseOctaveFeetText, "2'", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.parse(c.text), c.code) << c.what << " \"" << c.text << "\"";
}

// Every text a getter gives parses back to its code.
TEST(ValueTexts, GettersAndParsersAgree)
{
    for (int code : {14, 15, 0, 1, 2})
        EXPECT_EQ(ParseOctaveShiftText(GetOctaveShiftText(code)), code);
    for (int code : {254, 255, 0, 1})
        EXPECT_EQ(ParseOctaveFeetText(GetOctaveFeetText(code)), code);
    for (int code = -1; code < 16; ++code)
        EXPECT_EQ(ParseMidiChannelText(GetMidiChannelText(code)), code);
    for (int code = -1; code < 12; ++code)
        EXPECT_EQ(ParseOneToTwelveOrStyText(GetOneToTwelveOrStyText(code)), code);
    for (int code = 0; code < 4; ++code)
        EXPECT_EQ(ParseIntExtBothText(GetIntExtBothText(code)), code);
    for (int code : {0, 4, 8})
        EXPECT_EQ(ParsePlayMuteSoloText(GetPlayMuteSoloText(code)), code);
    for (int code = 0; code < 10; ++code)
        EXPECT_EQ(ParseEnsembleText(GetEnsembleText(code)), code);
    for (int code = 0; code < 13; ++code)
        EXPECT_EQ(ParseVariationPairText(GetVariationPairText(code)), code);
    for (int code = 0; code < 256; ++code) {
        if (GetVariationChangeText(code) != "???") {
            EXPECT_EQ(ParseVariationChangeText(GetVariationChangeText(code)), code);
        }
    }
}

TEST(ValueTexts, MakeValidFileNameCleansTheGivenBytes)
{
    std::string name = "a/b.sty";
    MakeValidFileName(name);
    EXPECT_EQ(name, "a_b_sty");

    std::string all = "\\/:*?\"><|.ok";
    MakeValidFileName(all);
    EXPECT_EQ(all, "__________ok");

    // A 16-byte name field with no terminator: exactly its bytes are cleaned,
    // the byte after it is left alone.
    char field[17];
    std::memcpy(field, "Mix/Pop:Rock\x01\xE9\x7F!", 16);
    field[16] = '/';
    EXPECT_EQ(MakeValidFileName(field, 16), field);
    EXPECT_EQ(std::string(field, 16), "Mix_Pop_Rock___!");
    EXPECT_EQ(field[16], '/');

    // Zero padding stays zero.
    char padded[8] = {'A', ':', 'B', 0, 0, 0, 0, 0};
    MakeValidFileName(padded, sizeof padded);
    EXPECT_EQ(std::string(padded, 8), std::string("A_B\0\0\0\0\0", 8));

    EXPECT_EQ(MakeValidFileName(nullptr, 4), nullptr);
}
