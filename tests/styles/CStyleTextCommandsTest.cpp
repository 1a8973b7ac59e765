#include "styles/CStyleTextCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "styles/StyleConvertError.h"

namespace zib {
namespace {

// Position at measure m, beat b, tick t of a 4/4 file at 96 ticks per quarter.
StyleEventPosition P(int m, int b = 0, int t = 0) { return {uint32_t(m * 384 + b * 96 + t), m, b, t}; }

struct Cmd {
    StyleEventPosition pos;
    std::string text;
    uint8_t type = 1;
};

struct Row {
    const char* what;
    std::vector<Cmd> setup;
    Cmd command;
    int fatal;
    std::string log; // what the command writes, without the position prefix ("" = nothing)
    int errors;
    int warnings;
    std::function<void(const StyleCommandState&)> check = nullptr;
    StyleCommandSettings settings = {};
};

class LogCapture {
public:
    LogCapture() : sink_(out_), log_(&sink_) {}
    CConversionLog& log() { return log_; }
    std::string take()
    {
        std::string s = out_.str();
        out_.str("");
        return s;
    }

private:
    std::ostringstream out_;
    COStreamLogSink sink_;
    CConversionLog log_;
};

void runRows(const StyleSeriesTraits& traits, const std::vector<Row>& rows)
{
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        for (bool withLog : {true, false}) {
            LogCapture capture;
            CConversionLog silent;
            CStyleTextCommands commands(traits, withLog ? capture.log() : silent);
            commands.Reset(r.settings);
            for (const Cmd& c : r.setup) ASSERT_EQ(commands.Dispatch(c.pos, c.type, c.text), 0) << c.text;
            int errorsBefore = commands.State().errors, warningsBefore = commands.State().warnings;
            capture.take();
            EXPECT_EQ(commands.Dispatch(r.command.pos, r.command.type, r.command.text), r.fatal);
            EXPECT_EQ(commands.State().errors - errorsBefore, r.errors);
            EXPECT_EQ(commands.State().warnings - warningsBefore, r.warnings);
            if (withLog) {
                std::string logged = capture.take();
                std::string expected = r.log.empty() ? "" : CConversionLog::Prefix(r.command.pos) + r.log;
                EXPECT_EQ(logged, expected);
            }
            if (r.check) r.check(commands.State());
        }
    }
}

const Cmd kElementVar1{P(1), "Element: VAR1"};
const Cmd kElementInt1{P(1), "Element: INT1"};

TEST(CStyleTextCommands, WqCommands)
{
    const std::string long101 = "Name: " + std::string(95, 'x');
    std::vector<Row> rows = {
        {"name selects Name without regard to case", {}, {P(0), "name: My Style"}, 0,
         "Name text cmd found: name: My Style\n", 0, 0, [](auto& s) { EXPECT_EQ(s.styleName, "My Style"); }},
        {"no colon is only logged", {}, {P(0), "Name My Style"}, 0, "Wrong meta text event: Name My Style\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.styleName, ""); }},
        {"101-byte text is ignored", {}, {P(0), long101}, 0, "", 0, 0, [](auto& s) { EXPECT_EQ(s.styleName, ""); }},
        {"100-byte text is a command", {}, {P(0), long101.substr(0, 100)}, 0,
         "Name text cmd found: " + long101.substr(0, 100) + "\n", 0, 0},
        {"empty name", {}, {P(0), "Name:"}, 0, "Name text cmd found: Name:\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.styleName, "NewStyle"); }},
        {"Name out of place is fatal", {}, {P(0, 0, 1), "Name: Late"}, 109, "", 0, 0},
        {"percent signs are text", {}, {P(0), "Name: 100%s%n%d"}, 0, "Name text cmd found: Name: 100%s%n%d\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.styleName, "100%s%n%d"); }},
        {"embedded zero byte", {}, {P(0), std::string("Name: A\0B", 9)}, 0, "Name text cmd found: Name: A\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.styleName, std::string("A\0B", 3)); }},
        {"Rflag by channel", {}, {P(0), "Rflag: 10, s"}, 0, "Rflag text cmd found: Rflag: 10, s\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.rflag[0], 0); }},
        {"Rflag P is 1", {}, {P(0), "Rflag: bass,P"}, 0, "Rflag text cmd found: Rflag: bass,P\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.rflag[2], 1); }},
        {"Rflag on channel 9 has no Wq track", {}, {P(0), "Rflag: 9, S"}, 0,
         "Error: Wrong Channel parameter in Rflag text cmd: Rflag: 9, S\n", 1, 0,
         [](auto& s) { EXPECT_EQ(s.rflag[2], 1); }},
        {"Rflag without comma", {}, {P(0), "Rflag: 12"}, 0, "Error: Wrong Rflag text cmd: Rflag: 12\n", 1, 0},
        {"Rflag wrong letter", {}, {P(0), "Rflag: 12,X"}, 0, "Error: Wrong Rflag text cmd: Rflag: 12,X\n", 1, 0},
        {"Rflag out of place", {}, {P(1), "Rflag: 12,S"}, 0, "Error: Rflag text cmd found at wrong place: Rflag: 12,S\n", 1, 0},
        {"TensionOFF", {}, {P(0), "TensionOFF: 13"}, 0, "TensionOFF text cmd found: TensionOFF: 13\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.tension[3], 0); }},
        {"TensionOFF unknown track", {}, {P(0), "TensionOFF: ACC9"}, 0,
         "Error: Wrong TensionOFF text cmd: TensionOFF: ACC9\n", 1, 0},
        {"TensionOFF out of place", {}, {P(2), "TensionOFF: 13"}, 0,
         "Error: TensionOFF text cmd found at wrong place: TensionOFF: 13\n", 1, 0},
        {"Element", {}, {P(1), "Element: var1"}, 0, "Element text cmd found: Element: var1\n", 0, 0, [](auto& s) {
             EXPECT_EQ(s.currentElement, 0);
             EXPECT_EQ(s.elementStartMeasure[0], 1);
             EXPECT_EQ(s.currentCv, -1);
         }},
        {"Element not at a bar start", {}, {P(1, 2), "Element: VAR1"}, 0,
         "Error: Style Element text cmd found at wrong place: Element: VAR1\n", 1, 0},
        {"unknown element", {}, {P(1), "Element: VAR5"}, 0, "Error: Wrong Element text cmd: Element: VAR5\n", 1, 0},
        {"Qe-only element", {}, {P(1), "Element: FILL3"}, 0, "Error: Wrong Element text cmd: Element: FILL3\n", 1, 0},
        {"element found twice", {kElementVar1}, {P(3), "Element: VAR1"}, 0,
         "Error: Style Element Element: VAR1 already found\n", 1, 0},
        {"CV before any element", {}, {P(1), "CV: CMajor"}, 0, "Error: CV text cmd found at undefined SE: CV: CMajor\n", 1, 0},
        {"CV", {kElementInt1}, {P(1), "CV: dmin"}, 0, "CV text cmd found: CV: dmin\n", 0, 0, [](auto& s) {
             EXPECT_EQ(s.currentCv, 0);
             EXPECT_EQ(s.cvChord[4][0], 5);
             EXPECT_EQ(s.firstMeasure[4][0][5], 1);
         }},
        {"third CV in INT1", {kElementInt1, {P(1), "CV: CMajor"}, {P(2), "CV: CMajor"}}, {P(3), "CV: CMajor"}, 0,
         "Error: Found too many CVs (2) per SE type: INT1\n", 1, 0},
        {"CV off the bar start", {kElementVar1}, {P(1, 1), "CV: CMajor"}, 0,
         "Error: CV text cmd found out of first tick: CV: CMajor\n", 1, 0},
        {"unknown CV key", {kElementVar1}, {P(1), "CV: Hmin"}, 0, "Error: CV text cmd incorrect: CV: Hmin\n", 1, 0},
        {"CV under user-defined key-chords", {kElementVar1}, {P(1), "CV: Bmin"}, 0,
         "CV text cmd found: CV: Bmin. Command not parsed as User-Defined determination is set\n", 0, 0,
         [](auto& s) {
             EXPECT_EQ(s.cvChord[0][0], 0);
             EXPECT_EQ(s.firstMeasure[0][0][0], 1);
         },
         {false, true}},
        {"Table", {kElementVar1}, {P(1), "Table: Maj7,2"}, 0, "Table text cmd found: Table: Maj7,2\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.chordTable[0][2], 1); }},
        {"Table chord names are exact", {kElementVar1}, {P(1), "Table: maj7,2"}, 0,
         "Error: Wrong Table text cmd: Table: maj7,2\n", 1, 0},
        {"Table names a CV the element lacks", {kElementInt1}, {P(1), "Table: Maj7,3"}, 0,
         "Error: Wrong Table text cmd: Table: Maj7,3\n", 1, 0},
        {"Table CV 7", {kElementVar1}, {P(1), "Table: Maj7,7"}, 0, "Error: Wrong Table text cmd: Table: Maj7,7\n", 1, 0},
        {"Table after the element start", {kElementVar1}, {P(1, 1), "Table: augMaj7,6"}, 0,
         "Warning: Table text cmd found at wrong place: Table: augMaj7,6\n", 0, 1,
         [](auto& s) { EXPECT_EQ(s.chordTable[0][19], 5); }},
        {"Table before any element", {}, {P(1), "Table: Maj7,2"}, 0,
         "Error: Table text cmd found at undefined SE: Table: Maj7,2\n", 1, 0},
        {"Table under user-defined chord tables", {kElementVar1}, {P(1), "Table: Maj7,2"}, 0,
         "Table text cmd found: Table: Maj7,2. Command not parsed as User-Defined determination is set\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.chordTable[0][2], 0); }, {true, false}},
        {"Qe chord in a Wq table", {kElementVar1}, {P(1), "Table: No3rd,2"}, 0,
         "Error: Wrong Table text cmd: Table: No3rd,2\n", 1, 0},
        {"Shiftup", {}, {P(0), "Shiftup: BASS,12"}, 0, "Shiftup text cmd found: Shiftup: BASS,12\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.shiftup[2], 11); }},
        {"Shiftup 13", {}, {P(0), "Shiftup: ACC1,13"}, 0, "Error: Wrong Shiftup text cmd: Shiftup: ACC1,13\n", 1, 0},
        {"Shiftup out of place", {}, {P(0, 1), "Shiftup: ACC1,1"}, 0,
         "Error: Shiftup text cmd found at wrong place: Shiftup: ACC1,1\n", 1, 0},
        {"Range has no effect in Wq", {kElementVar1}, {P(1), "Range: BASS,C2,C6"}, 0, "", 0, 0},
        {"NTT has no effect in Wq", {kElementVar1}, {P(1), "NTT: 9"}, 0, "", 0, 0},
        {"KeyChord is no Wq command", {kElementVar1}, {P(1), "KeyChord: BASS,C min"}, 0,
         "Warning: Unprocessed meta text event: KeyChord: BASS,C min\n", 0, 1},
        {"unknown command", {}, {P(0), "Tempo: 120"}, 0, "Warning: Unprocessed meta text event: Tempo: 120\n", 0, 1},
        {"track name meta", {}, {P(0), "Drums", 3}, 0, "Unrecognized Text Meta| Type = 0x03, len=5\n", 0, 0},
        {"marker, lyric and cue carry commands", {}, {P(0), "Name: M", 6}, 0, "Name text cmd found: Name: M\n", 0, 0},
    };
    runRows(WqStyleSeries(), rows);
}

TEST(CStyleTextCommands, QeCommands)
{
    const Cmd cv{P(1), "CV: C Major"};
    std::vector<Row> rows = {
        {"blanks around the text are removed", {}, {P(0), "  name: My Style  "}, 0,
         "Name text cmd found: name: My Style\n", 0, 0, [](auto& s) { EXPECT_EQ(s.styleName, "My Style"); }},
        {"no colon", {}, {P(0), "Name My Style"}, 0, "Wrong or unrecognized meta text event: Name My Style\n", 0, 0},
        {"Rflag P is 2", {}, {P(0), "Rflag: 10,P"}, 0, "Rflag text cmd found: Rflag: 10,P\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.rflag[0], 2); }},
        {"Rflag on channel 9 is BASS", {}, {P(0), "Rflag: 9, S"}, 0, "Rflag text cmd found: Rflag: 9, S\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.rflag[2], 0); }},
        {"Rflag on channel 1", {}, {P(0), "Rflag: 1,S"}, 0, "Error: Wrong Channel parameter in Rflag text cmd: Rflag: 1,S\n", 1, 0},
        {"TensionOFF of ACC5", {}, {P(0), "TensionOFF: acc5"}, 0, "TensionOFF text cmd found: TensionOFF: acc5\n", 0, 0,
         [](auto& s) {
             EXPECT_EQ(s.tension[7], 0);
             EXPECT_EQ(s.tension[6], 1);
         }},
        {"FILL3 makes the style extended", {}, {P(1), "Element: FILL3"}, 0, "Element text cmd found: Element: FILL3\n", 0, 0,
         [](auto& s) {
             EXPECT_EQ(s.currentElement, 10);
             EXPECT_TRUE(s.extendedStyle);
         }},
        {"CV A# min7", {kElementVar1}, {P(1), "CV: A# min7"}, 0, "CV text cmd found: CV: A# min7\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.cvChord[0][0], 229); }},
        {"CV A min7", {kElementVar1}, {P(1), "CV: A min7"}, 0, "CV text cmd found: CV: A min7\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.cvChord[0][0], 9 * 22 + 9); }},
        {"CV chord without regard to case", {kElementVar1}, {P(1), "CV: G no3rdno5th"}, 0,
         "CV text cmd found: CV: G no3rdno5th\n", 0, 0, [](auto& s) { EXPECT_EQ(s.cvChord[0][0], 7 * 22 + 21); }},
        {"CV without chord is fatal", {kElementVar1}, {P(1), "CV: C"}, 117, "Error: CV text cmd without chord parameter: CV: C\n",
         0, 0},
        {"CV with unknown key is fatal", {kElementVar1}, {P(1), "CV: H min"}, 117,
         "Error: CV text cmd has incorrect key: CV: H min\n", 0, 0},
        {"CV with unknown chord is fatal", {kElementVar1}, {P(1), "CV: C minor"}, 117,
         "Error: CV text cmd has incorrect Chord: CV: C minor\n", 0, 0},
        {"CV not parsed under user-defined key-chords", {kElementVar1}, {P(1), "CV: C"}, 0,
         "CV text cmd found: CV: C. Command not parsed as User-Defined determination is set\n", 0, 0, nullptr,
         {false, true}},
        {"Range", {kElementVar1}, {P(1), "Range: BASS, c2, A#5"}, 0, "Range text cmd found: Range: BASS, c2, A#5\n", 0, 0,
         [](auto& s) {
             EXPECT_EQ(s.rangeLow[0][2], 36);
             EXPECT_EQ(s.rangeHigh[0][2], 82);
             EXPECT_EQ(s.rangeLow[0][3], 21);
         }},
        {"Range over the whole keyboard", {kElementVar1}, {P(1), "Range: 12,A0,C8"}, 0,
         "Range text cmd found: Range: 12,A0,C8\n", 0, 0, [](auto& s) {
             EXPECT_EQ(s.rangeLow[0][3], 21);
             EXPECT_EQ(s.rangeHigh[0][3], 108);
         }},
        {"Range note below A0", {kElementVar1}, {P(1), "Range: BASS,G#0,C6"}, 0,
         "Error: Wrong Range text cmd: Range: BASS,G#0,C6\n", 1, 0},
        {"Range wrong channel", {kElementVar1}, {P(1), "Range: 1,C2,C6"}, 0,
         "Error: Wrong Channel parameter in Range text cmd: Range: 1,C2,C6\n", 1, 0},
        {"Range after the element start", {kElementVar1}, {P(2), "Range: BASS,C2,C6"}, 0,
         "Error: Range text cmd found at wrong place: Range: BASS,C2,C6\n", 1, 0},
        {"Range before any element", {}, {P(1), "Range: BASS,C2,C6"}, 0,
         "Error: Range text cmd found at undefined SE: Range: BASS,C2,C6\n", 1, 0},
        {"NTT", {kElementVar1}, {P(1), "NTT: 4"}, 0, "NTT text cmd found: NTT: 4\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.ntt[0], 3); }},
        {"NTT 5", {kElementVar1}, {P(1), "NTT: 5"}, 0, "Error: Wrong NTT text cmd: NTT: 5\n", 1, 0},
        {"NTT one beat late is a warning", {kElementVar1}, {P(1, 1), "NTT: 2"}, 0,
         "Warning: NTT text cmd found at wrong place: NTT: 2\n", 0, 1, [](auto& s) { EXPECT_EQ(s.ntt[0], 1); }},
        {"NTT before any element", {}, {P(1), "NTT: 2"}, 0, "Error: NTT text cmd found at undefined SE: NTT: 2\n", 1, 0},
        {"Table with a Qe chord", {kElementVar1}, {P(1), "Table: No3rd,2"}, 0, "Table text cmd found: Table: No3rd,2\n", 0, 0,
         [](auto& s) { EXPECT_EQ(s.chordTable[0][20], 1); }},
        {"KeyChord before any CV", {kElementVar1}, {P(1), "KeyChord: BASS,D min"}, 0,
         "Warning: KeyChord text cmd found at undefined CV: KeyChord: BASS,D min --- IGNORED\n", 0, 1},
        {"KeyChord before any element", {}, {P(1), "KeyChord: BASS,D min"}, 0,
         "Warning: KeyChord text cmd found at undefined SE: KeyChord: BASS,D min --- IGNORED\n", 0, 1},
        {"KeyChord", {kElementVar1, cv}, {P(1), "KeyChord: 9,D min"}, 0, "KeyChord text cmd found: KeyChord: 9,D min\n", 0, 0,
         [](auto& s) {
             EXPECT_EQ(s.trackKey[0][0][2], 2);
             EXPECT_EQ(s.trackChord[0][0][2], 7);
             EXPECT_EQ(s.trackKey[0][0][3], -1);
         }},
        {"KeyChord off the bar start", {kElementVar1, cv}, {P(1, 0, 5), "KeyChord: BASS,D min"}, 0,
         "Warning: KeyChord text cmd found out of first tick: KeyChord: BASS,D min --- IGNORED\n", 0, 1},
        {"KeyChord without chord counts an error", {kElementVar1, cv}, {P(1), "KeyChord: BASS,D"}, 0,
         "Error: KeyChord text cmd without chord parameter: KeyChord: BASS,D\n", 1, 0},
        {"KeyChord with unknown key", {kElementVar1, cv}, {P(1), "KeyChord: BASS,x min"}, 0,
         "Error: KeyChord text cmd has incorrect key: KeyChord: BASS,x min\n", 1, 0},
        {"KeyChord with unknown chord", {kElementVar1, cv}, {P(1), "KeyChord: BASS,D mi"}, 0,
         "Error: KeyChord text cmd has incorrect Chord: KeyChord: BASS,D mi\n", 1, 0},
        {"KeyChord wrong channel", {kElementVar1, cv}, {P(1), "KeyChord: 2,D min"}, 0,
         "Error: Wrong Channel parameter in KeyChord text cmd: KeyChord: 2,D min\n", 1, 0},
        {"KeyChord without comma", {kElementVar1, cv}, {P(1), "KeyChord: BASS D min"}, 0,
         "Error: Wrong KeyChord text cmd: KeyChord: BASS D min\n", 1, 0},
        {"Shiftup is no Qe command", {}, {P(0), "Shiftup: BASS,1"}, 0,
         "Warning: Unprocessed meta text event: Shiftup: BASS,1\n", 0, 1},
    };
    runRows(QeStyleSeries(), rows);
}

// CV boundaries across elements: a CV ends where the next one starts; the
// last one where the last track chunk ended.
TEST(CStyleTextCommands, CvMeasuresFollowTheCommands)
{
    CConversionLog silent;
    CStyleTextCommands commands(WqStyleSeries(), silent);
    commands.Reset({});
    for (const Cmd& c : std::vector<Cmd>{{P(1), "Element: VAR1"}, {P(1), "CV: CMajor"}, {P(3), "CV: Dmin"},
                                         {P(5), "Element: INT1"}, {P(5), "CV: EMajor"}, {P(6), "CV: Emin"}})
        ASSERT_EQ(commands.Dispatch(c.pos, c.type, c.text), 0);
    commands.FinishLastCv(9);
    const StyleCommandState& s = commands.State();
    for (int t = 0; t < 6; ++t) {
        EXPECT_EQ(s.firstMeasure[0][0][size_t(t)], 1);
        EXPECT_EQ(s.lastMeasure[0][0][size_t(t)], 2);
        EXPECT_EQ(s.firstMeasure[0][1][size_t(t)], 3);
        EXPECT_EQ(s.lastMeasure[0][1][size_t(t)], 4);
        EXPECT_EQ(s.firstMeasure[4][0][size_t(t)], 5);
        EXPECT_EQ(s.lastMeasure[4][0][size_t(t)], 5);
        EXPECT_EQ(s.firstMeasure[4][1][size_t(t)], 6);
        EXPECT_EQ(s.lastMeasure[4][1][size_t(t)], 9);
    }
    EXPECT_EQ(s.lastMeasure[0][0][6], -1) << "Wq has six tracks";
    EXPECT_EQ(s.cvChord[0][1], 5);
    EXPECT_EQ(s.cvChord[4][1], 9);
    EXPECT_EQ(s.errors, 0);
}

TEST(CStyleTextCommands, DefaultsAndStoredName)
{
    CConversionLog silent;
    CStyleTextCommands wq(WqStyleSeries(), silent);
    EXPECT_EQ(wq.State().rflag[0], 1);
    EXPECT_EQ(wq.State().tension[5], 0);
    EXPECT_EQ(wq.State().shiftup[2], 7);
    ASSERT_EQ(wq.Dispatch(P(0), 1, "Name: A very long style name"), 0);
    EXPECT_EQ(wq.StyleNameForModel('9'), "A very lon");
    EXPECT_EQ(wq.StyleNameForModel('M'), "A very long styl");

    CStyleTextCommands qe(QeStyleSeries(), silent);
    EXPECT_EQ(qe.State().rflag[1], 0);
    EXPECT_EQ(qe.State().rflag[2], 1);
    EXPECT_EQ(qe.State().tension[2], 0);
    EXPECT_EQ(qe.State().tension[3], 1);
    EXPECT_EQ(qe.State().rangeHigh[11][7], 108);
    ASSERT_EQ(qe.Dispatch(P(0), 1, "Name: A very long style name"), 0);
    EXPECT_EQ(qe.StyleNameForModel('F'), "A very long style ");
}

TEST(CConversionLog, LinesAndPrefix)
{
    std::ostringstream out;
    COStreamLogSink sink(out);
    CConversionLog log(&sink);
    log.StartWq('M');
    log.FileInfo(1234, 1, 3, 96);
    log.TrackBanner(1);
    log.Tempo({0, 0, 0, 0}, 120, 500000);
    log.TimeSigWrongPlace({1234567, 12, 2, 7}, 3, 4, 24, 8);
    log.NoteOn({400, 1, 0, 16}, "C#4", 7, 12);
    log.BetweenPasses();
    log.End(2, 1);
    EXPECT_EQ(out.str(),
              "Converting MIDI file to wq-series style of format DASKM\n\n"
              "MIDI File size: 1234\n"
              "Format: 1, Num of tracks: 3, Division: 96\n\n"
              "\n==================== Track #1 ====================\n\n"
              "0            | 01:01:000 | Tempo       | BPM=120   | micros/quarter=500000\n"
              "1234567      | 13:03:007 | ERROR: Time sig out of wright place    |  3/4      | MIDI-clocks/click=24 | "
              "32nds/quarter=8\n"
              "400          | 02:01:016 | Note ON Event (Key= C#4 , Vol= 007) found at channel: 12\n"
              "\nEnd of MIDI file parsing. Starting conversion procedure.\n\n"
              "\n\nEnd of parsing\nNumber of errors found: 2\n"
              "Number of warnings found: 1\n");

    CConversionLog none;
    none.StartQe();
    none.Printf("%s", "dropped");
    EXPECT_FALSE(none.IsOpen());
}

TEST(StyleConvertError, TextsKeepTheirSpelling)
{
    EXPECT_STREQ(StyleConvertErrorText(100), "Application defined error code");
    EXPECT_STREQ(StyleConvertErrorText(117), "Incorrect CV Text cmd found");
    EXPECT_STREQ(StyleConvertErrorText(138), "Not enought space allocated for style buffer");
    EXPECT_STREQ(StyleConvertErrorText(143), "None style elment has NoteON events");
    EXPECT_STREQ(StyleConvertErrorText(146), "Wrong VexSound event");
    EXPECT_EQ(StyleConvertErrorText(99), nullptr);
    EXPECT_EQ(StyleConvertErrorText(147), nullptr);
    char buffer[24];
    size_t n = FormatStyleConvertError(109, buffer, sizeof buffer);
    EXPECT_EQ(n, sizeof buffer - 1);
    EXPECT_STREQ(buffer, "CMidiFile error: 109 - ");
    char full[80];
    FormatStyleConvertError(109, full, sizeof full);
    EXPECT_STREQ(full, "CMidiFile error: 109 - Name text cmd at wrong place");
    EXPECT_EQ(FormatStyleConvertError(5, full, sizeof full), 0u);
}

} // namespace
} // namespace zib
