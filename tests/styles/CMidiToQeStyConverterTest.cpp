#include "styles/CMidiToQeStyConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "midi/CMidiFile.h"
#include "styles/StyleConvertError.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/LibraryStyle.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"
#include "ulvarf/ulvarf.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace midi_to_qe_sty_converter_test {

using test::StyleMidiBuilder;

// MIDI channels (1-16) of the Qe style tracks
constexpr int kDrum = 10;
constexpr int kPerc = 11;
constexpr int kBass = 9;
constexpr int kAcc1 = 12;
constexpr int kAcc2 = 13;

// ---- Running the converter ---------------------------------------------------

struct Outcome {
    int code = 0;
    std::string text;
    std::string log;
    std::vector<uint8_t> file; // the file written, empty when none
    int errors = 0;
    int warnings = 0;
};

Outcome convert(const std::vector<uint8_t>& midi, const QeStyleConvertSettings& settings = {})
{
    test::TempDir dir;
    const auto out = dir / "OUT.STY";
    std::ostringstream log;
    CMidiToQeStyConverter converter;
    converter.SetOutputFile(out);
    converter.SetSettings(settings);
    Outcome o;
    o.code = converter.Convert(midi.data(), uint32_t(midi.size()), &log);
    char text[256] = {};
    converter.ReportError(text, sizeof text, o.code);
    o.text = text;
    o.log = log.str();
    o.errors = converter.ErrorCount();
    o.warnings = converter.WarningCount();
    if (std::filesystem::exists(out)) o.file = test::readFileBytes(out);
    // Nothing else is left in the folder (no temporary file).
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        o.file.empty() ? 0 : 1);
    return o;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// ---- The library's view of a converted file ----------------------------------

using Container = test::ContainerPtr;
using Resource = test::ResourcePtr;
using Editor = test::EditorPtr;

struct IndexEntry {
    std::string name;
    int type = -1;
    int user1 = -1;
    int user2 = -1;
};

std::vector<IndexEntry> indexOf(ULRFContainer* container)
{
    std::vector<IndexEntry> entries;
    for (int i = 0;; ++i) {
        char name[18] = {};
        IndexEntry entry;
        if (!_ULRFEnumIndex(container, i, name, &entry.type, &entry.user1, &entry.user2)) break;
        entry.name = name;
        entries.push_back(entry);
    }
    return entries;
}

// The container of a file and the style editor over its first resource.
test::LibraryStyle openStyle(const std::vector<uint8_t>& file)
{
    test::LibraryStyle style(file);
    EXPECT_NE(style.container(), nullptr);
    EXPECT_NE(style.editor(), nullptr);
    return style;
}

// A container image as UlvaRf writes it back (resource chunks compressed).
std::vector<uint8_t> rewritten(const std::vector<uint8_t>& image)
{
    Container container(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    EXPECT_NE(container, nullptr);
    if (!container) return {};
    std::vector<uint8_t> out(size_t(_ULRFOutBufferSize(container.get())));
    EXPECT_TRUE(_ULRFFillOutBuffer(container.get(), out.data()));
    return out;
}

// ---- Exported chord variations -------------------------------------------------

struct SmfEvent {
    uint32_t tick = 0;
    uint8_t status = 0;
    uint8_t d1 = 0;
    uint8_t d2 = 0;
    std::vector<uint8_t> data; // system exclusive data
    auto operator<=>(const SmfEvent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SmfEvent& e)
{
    return out << "{" << e.tick << " " << std::hex << int(e.status) << std::dec << " " << int(e.d1) << " "
               << int(e.d2) << " +" << e.data.size() << "}";
}

// Channel and system-exclusive events of a MIDI image, and where its tracks end.
class EventCollector : public CMidiFile {
public:
    std::vector<SmfEvent> events;
    uint32_t end = 0;
    uint16_t division() const { return GetDivision(); }

protected:
    int OnChannelEvent() override
    {
        events.push_back({m_trackTime,
                          m_status,
                          m_eventData[0],
                          uint8_t((m_status & 0xE0) == 0xC0 ? 0 : m_eventData[1]),
                          {}});
        return 0;
    }
    int OnSysEx() override
    {
        std::vector<uint8_t> data(GetEventBytes());
        if (!data.empty() && ReadBytes(data.data(), uint32_t(data.size())) != 0) return 99;
        events.push_back({m_trackTime, m_status, 0, 0, data});
        return 0;
    }
    int OnMetaEndOfTrack() override
    {
        end = std::max(end, m_trackTime);
        return 0;
    }
};

struct ExportedCv {
    std::vector<SmfEvent> events;
    uint32_t end = 0;
};

ExportedCv exportCv(ULStEEditor* editor, int e, int cv)
{
    ExportedCv out;
    const int size = _ULStEExportSmfPrepare(editor, e, cv);
    EXPECT_GT(size, 0);
    if (size <= 0) return out;
    std::vector<uint8_t> smf(static_cast<size_t>(size));
    EXPECT_TRUE(_ULStEExportSmfFill(editor, smf.data(), uint32_t(smf.size())));
    EventCollector collector;
    EXPECT_EQ(collector.ParseMemory(smf.data(), uint32_t(smf.size())), 0);
    out.events = collector.events;
    out.end = collector.end;
    return out;
}

std::vector<SmfEvent> sorted(std::vector<SmfEvent> events)
{
    std::sort(events.begin(), events.end());
    return events;
}

std::vector<SmfEvent> notesOf(const std::vector<SmfEvent>& events)
{
    std::vector<SmfEvent> notes;
    for (const SmfEvent& e : events)
        if ((e.status & 0xE0) == 0x80) notes.push_back(e);
    return sorted(notes);
}

// The note events of a note put into a 96-per-quarter file at `tick`, as the
// export of its CV (starting at `cvStart`) gives them back at 384 per quarter.
struct NoteIn {
    int channel;
    uint32_t tick;
    int key;
    int velocity;
    uint32_t length;
    int offVelocity = 64;
};

std::vector<SmfEvent> expectedNotes(const std::vector<NoteIn>& notes, uint32_t cvStart)
{
    std::vector<SmfEvent> out;
    for (const NoteIn& n : notes) {
        out.push_back({(n.tick - cvStart) * 4,
                       uint8_t(0x90 | (n.channel - 1)),
                       uint8_t(n.key),
                       uint8_t(n.velocity),
                       {}});
        out.push_back({(n.tick + n.length - cvStart) * 4,
                       uint8_t(0x80 | (n.channel - 1)),
                       uint8_t(n.key),
                       uint8_t(n.offVelocity),
                       {}});
    }
    return sorted(out);
}

StyleMidiBuilder& put(StyleMidiBuilder& b, const std::vector<NoteIn>& notes)
{
    for (const NoteIn& n : notes)
        b.Note(n.channel, n.tick, n.key, n.velocity, n.length, n.offVelocity);
    return b;
}

// A one-element style: VAR1 CV1 over bars 1-2 with one drum note per beat.
StyleMidiBuilder simpleStyle()
{
    StyleMidiBuilder b;
    b.Command(0, "Name: Simple");
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    for (int beat = 0; beat < 8; ++beat)
        b.Note(kDrum, b.Bar(1) + uint32_t(beat) * 96, 36, 100, 48);
    b.EndAt(b.Bar(3));
    return b;
}

// ---- The style a file becomes ---------------------------------------------------

TEST(CMidiToQeStyConverter, ConvertsElementsCvsPatternsAndTrackSettings)
{
    StyleMidiBuilder b;
    b.Command(0, "Name: Round Trip")
        .Command(0, "Rflag: ACC1, S")
        .Command(0, "Rflag: 10, T")
        .Command(0, "TensionOFF: ACC2");
    b.Setup(kDrum, 0, 110, 120, 0, 5).Setup(kBass, 0, 100, 121, 1, 33).Setup(kAcc1, 0, 90, 121, 0, 48);

    // VAR1: CV1 in bars 1-2, CV2 in bars 3-4.
    b.Command(1, "Element: VAR1")
        .Command(1, "CV: C Major")
        .Command(1, "NTT: 3")
        .Command(1, "Table: min7, 2")
        .Command(1, "Range: BASS, C2, G4")
        .Command(1, "KeyChord: BASS, F Maj7");
    const std::vector<NoteIn> var1cv1 = {
        {kDrum, b.Bar(1), 36, 100, 24},       {kDrum, b.Bar(1, 2), 38, 90, 24, 10},
        {kDrum, b.Bar(2, 1, 12), 42, 80, 12}, {kBass, b.Bar(1), 36, 100, 180},
        {kBass, b.Bar(2), 43, 96, 96, 0},     {kAcc1, b.Bar(1, 1), 60, 70, 48},
    };
    put(b, var1cv1);
    b.Command(3, "CV: D min7");
    const std::vector<NoteIn> var1cv2 = {{kDrum, b.Bar(3), 36, 100, 24}, {kBass, b.Bar(3), 38, 100, 300}};
    put(b, var1cv2);

    // INT1 in bar 5: the drum sets only its program there.
    b.Command(5, "Element: INT1").Command(5, "CV: E min");
    b.Channel(kDrum).Program(b.Bar(5), kDrum - 1, 7);
    const std::vector<NoteIn> int1 = {{kDrum, b.Bar(5, 1), 40, 64, 24}};
    put(b, int1);
    b.EndAt(b.Bar(6));

    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << "\n" << o.log;
    EXPECT_EQ(o.errors, 0);
    ASSERT_FALSE(o.file.empty());

    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    ULStEEditor* h = style.editor();

    // The container: one style resource named after the style.
    const auto index = indexOf(style.container());
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0].name, "Round Trip");
    EXPECT_EQ(index[0].type, 2);
    EXPECT_EQ(index[0].user1, 17);
    EXPECT_EQ(index[0].user2, 0);

    char name[32] = {};
    _ULStEGetName(h, name, 31);
    EXPECT_STREQ(name, "Round Trip");
    int bpm = 0;
    _ULStEGetBPM(h, &bpm);
    EXPECT_EQ(bpm, 120);
    uint8_t version = 0xFF;
    _ULStEGetQeVersion(h, &version);
    EXPECT_EQ(version, 0);

    // Elements, CVs and patterns that hold notes, and nothing else.
    for (int e = 0; e < 12; ++e)
        EXPECT_EQ(_ULStEQueryStyleElem(h, e), e == 0 || e == 4 ? 2 : 0) << e;
    EXPECT_EQ(_ULStEQueryChordVar(h, 0, 0), 2);
    EXPECT_EQ(_ULStEQueryChordVar(h, 0, 1), 2);
    EXPECT_EQ(_ULStEQueryChordVar(h, 0, 2), 0);
    EXPECT_EQ(_ULStEQueryChordVar(h, 4, 0), 2);
    EXPECT_EQ(_ULStEQueryChordVar(h, 4, 1), 0);
    const int cv1Patterns[8] = {2, 0, 2, 2, 0, 0, 0, 0};
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(_ULStEQueryPattern(h, 0, 0, t), cv1Patterns[t]) << t;
    EXPECT_EQ(_ULStEQueryPattern(h, 0, 1, 3), 0);

    // Track modes (Rflag) and tension switches.
    const uint8_t modes[8] = {1, 0, 1, 0, 1, 1, 1, 1};
    const uint8_t tension[8] = {0, 0, 0, 1, 0, 1, 1, 1};
    for (int t = 0; t < 8; ++t) {
        uint8_t value = 0xFF;
        _ULStEGetTrackMode(h, t, &value);
        EXPECT_EQ(value, modes[t]) << t;
        _ULStEGetTrackTension(h, t, &value);
        EXPECT_EQ(value, tension[t]) << t;
    }

    // Element parameters: NTT (INT1 always 3), signature, chord table.
    uint8_t byte = 0;
    _ULStEGetNTT(h, 0, &byte);
    EXPECT_EQ(byte, 2);
    _ULStEGetNTT(h, 4, &byte);
    EXPECT_EQ(byte, 3);
    _ULStEGetSignature(h, 0, &byte);
    EXPECT_EQ(byte, 0x23); // 4/4 packed
    for (int chord = 0; chord < 22; ++chord) {
        _ULStEGetChordAssign(h, 0, chord, &byte);
        EXPECT_EQ(byte, chord == 9 ? 1 : 0) << chord;
    }

    // Track records: the setup of bar 0; INT1's drum takes its own program
    // and the rest from VAR1.
    struct TrackRecord {
        int e, t;
        uint8_t expression;
        uint32_t program;
        uint8_t low, high;
    };
    const TrackRecord records[] = {
        {0, 0, 110, 120u << 24 | 5, 21, 108}, {0, 2, 100, 121u << 24 | 1u << 16 | 33, 36, 67},
        {0, 3, 90, 121u << 24 | 48, 21, 108}, {4, 0, 110, 120u << 24 | 7, 21, 108},
        {0, 1, 100, 120u << 24, 21, 108}, // PERC plays nowhere: its own bank, handed on
    };
    for (const TrackRecord& r : records) {
        SCOPED_TRACE(testing::Message() << "element " << r.e << " track " << r.t);
        uint8_t expression = 0, low = 0, high = 0;
        uint32_t program = 0;
        _ULStEGetTrackExpression(h, r.e, r.t, &expression);
        _ULStEGetTrackProgram(h, r.e, r.t, &program);
        _ULStEGetTrackKBRangeLow(h, r.e, r.t, &low);
        _ULStEGetTrackKBRangeHigh(h, r.e, r.t, &high);
        EXPECT_EQ(expression, r.expression);
        EXPECT_EQ(program, r.program);
        EXPECT_EQ(low, r.low);
        EXPECT_EQ(high, r.high);
    }
    EXPECT_TRUE(
        contains(o.log, "Warning: HBank not found for INT1 DRUM. Propagated from last found value: 120\n"));
    EXPECT_TRUE(
        contains(o.log, "Warning: Expr not found for INT1 DRUM. Propagated from last found value: 110\n"));
    EXPECT_FALSE(contains(o.log, "Prog not found for INT1 DRUM"));

    // Keys and chords: the CV's, or the track's own from KeyChord.
    struct KeyChord {
        int e, cv, t;
        uint8_t key, chord;
    };
    for (const KeyChord& k : {KeyChord{0, 0, 2, 5, 2}, KeyChord{0, 0, 3, 0, 0}, KeyChord{0, 1, 2, 2, 9}}) {
        uint8_t key = 0xFF, chord = 0xFF;
        _ULStEGetTrackKey(h, k.e, k.cv, k.t, &key);
        _ULStEGetTrackChord(h, k.e, k.cv, k.t, &chord);
        EXPECT_EQ(key, k.key) << k.e << k.cv << k.t;
        EXPECT_EQ(chord, k.chord) << k.e << k.cv << k.t;
    }

    // Each CV plays back the notes that went in, and lasts its bars (the
    // file ends on the bar line after bar 5, so INT1 is one bar long).
    struct Cv {
        int e, cv;
        const std::vector<NoteIn>& notes;
        uint32_t start;
        uint32_t length;
    };
    for (const Cv& cv : {Cv{0, 0, var1cv1, b.Bar(1), 3072}, Cv{0, 1, var1cv2, b.Bar(3), 3072},
                         Cv{4, 0, int1, b.Bar(5), 1536}}) {
        SCOPED_TRACE(testing::Message() << "CV " << cv.e << "." << cv.cv);
        const ExportedCv exported = exportCv(h, cv.e, cv.cv);
        EXPECT_EQ(notesOf(exported.events), expectedNotes(cv.notes, cv.start));
        EXPECT_EQ(exported.end, cv.length);
    }
}

// The converter's container, byte for byte, against hand-built ones: the
// one-resource layout, and the extended form (FILL3 or INT3 present).
TEST(CMidiToQeStyConverter, WritesTheOneResourceContainerLayout)
{
    StyleMidiBuilder b;
    b.Command(0, "Name: Sample Style");
    for (const char* track : {"BASS", "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"})
        b.Command(0, std::string("Rflag: ") + track + ", P");
    // Every track sets itself up as the sample style has it.
    for (int channel = 9; channel <= 16; ++channel)
        b.Setup(channel, 0, 100, 0, 0, 0);
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major").Command(1, "NTT: 2");
    b.Note(kDrum, b.Bar(1), 36, 100, 24);
    b.EndAt(b.Bar(2));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << "\n" << o.log;
    EXPECT_EQ(o.file, rewritten(test::qeConverterStyleImage("Sample Style", test::sampleQeStyleChunk())));

    // Extended: FILL3 with a bass pattern in A# min7; style chunk version 1
    // and a header record one byte longer.
    StyleMidiBuilder x;
    x.Command(0, "Name: Fill Three");
    x.Setup(kBass, 0, 100, 0, 0, 0);
    x.Command(1, "Element: FILL3").Command(1, "CV: A# min7");
    x.Note(kBass, x.Bar(1, 1), 40, 99, 48, 30);
    x.EndAt(x.Bar(2));
    const Outcome ox = convert(x.Build());
    ASSERT_EQ(ox.code, 0) << ox.text << "\n" << ox.log;

    std::string name = "Fill Three";
    name.resize(18, '\0');
    test::QeStyleLayout layout;
    layout.version = 1;
    layout.headerId2 = 1;
    layout.header = test::qeHeaderRecord(name, 0x5550, 0xF8, 0x0400);
    layout.header.push_back(1);
    layout.patterns = {test::qePattern(
        3, 1536, test::PropStreamBuilder().noteOn(384, 40, 99).noteOff(576, 40, 30).end(1536), 9, 10)};
    test::QeElementChunk element;
    element.ntt = 0;
    element.trackTable = std::vector<uint8_t>(48);
    // The bass sets itself up; the silent tracks keep the banks of their kind.
    for (int t = 0; t < 8; ++t) {
        const uint8_t bank = t == 2 ? 0 : t < 2 ? 120 : 121;
        const uint8_t record[6] = {100, bank, 0, 0, 21, 108};
        std::copy(record, record + 6, element.trackTable.begin() + t * 6);
    }
    element.cvs = {test::qeCv(1536, test::PropStreamBuilder().start(0, 0).end(1536), {{1, 2}})};
    layout.elements = {element};
    const auto expected = test::qeConverterStyleImage(name, test::qeStyleChunk(layout));
    EXPECT_EQ(ox.file, rewritten(expected));
}

TEST(CMidiToQeStyConverter, UserDefinedSettingsGiveKeysChordsAndChordTables)
{
    auto build = [] {
        StyleMidiBuilder b;
        b.Command(1, "Element: VAR1").Command(1, "CV: D min").Command(1, "Table: Major, 2");
        b.Command(2, "CV: E Major");
        b.Command(3, "Element: INT2").Command(3, "CV: G 7");
        for (int bar = 1; bar <= 3; ++bar)
            b.Note(kBass, b.Bar(bar), 40, 100, 48);
        b.EndAt(b.Bar(4));
        return b.Build();
    };
    struct Row {
        const char* what;
        QeStyleConvertSettings settings;
        uint8_t var1cv1[2], var1cv2[2], int2cv1[2]; // key, chord
        uint8_t var1Chord0, var1Chord7, int2Chord7; // chord assign of Major and min
        bool notParsedLines;
    };
    QeStyleConvertSettings fromFile;
    QeStyleConvertSettings tables;
    tables.keyChordDetermination = 0;
    tables.chordDetermination = 0;
    tables.keyChord = std::string(QeStyleConvertSettings::kDefaultKeyChord);
    tables.keyChord.replace(0, 4, "FCLH");    // VAR1 CV1 F Maj7, CV2 B min
    tables.keyChord.replace(2 * 26, 2, "HM"); // INT2 CV1 G 7
    tables.chordTable = std::string(264, 'A');
    tables.chordTable[7] = 'B';          // VAR1: min -> CV2
    tables.chordTable[5 * 22 + 7] = 'B'; // INT2: min -> CV2
    QeStyleConvertSettings damaged = tables;
    damaged.keyChord[3] = 'Z';      // chord 25 does not exist
    damaged.chordTable.resize(263); // too short
    const Row rows[] = {
        {"from the file", fromFile, {2, 7}, {4, 0}, {7, 12}, 1, 0, 0, false},
        {"user tables", tables, {5, 2}, {11, 7}, {7, 12}, 0, 1, 1, true},
        // the default tables: VAR1 CV1 C Major, CV2 C min, INT2 CV1 C Major;
        // chord tables "ACCC AACB..." and "AAAAAAAB..."
        {"damaged tables", damaged, {0, 0}, {0, 7}, {0, 0}, 0, 1, 1, true},
    };
    const auto midi = build();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const Outcome o = convert(midi, r.settings);
        ASSERT_EQ(o.code, 0) << o.text << "\n" << o.log;
        const test::LibraryStyle style = openStyle(o.file);
        ASSERT_NE(style.editor(), nullptr);
        auto keyChord = [&](int e, int cv) {
            uint8_t key = 0xFF, chord = 0xFF;
            _ULStEGetTrackKey(style.editor(), e, cv, 2, &key);
            _ULStEGetTrackChord(style.editor(), e, cv, 2, &chord);
            return std::vector<uint8_t>{key, chord};
        };
        EXPECT_EQ(keyChord(0, 0), std::vector<uint8_t>(r.var1cv1, r.var1cv1 + 2));
        EXPECT_EQ(keyChord(0, 1), std::vector<uint8_t>(r.var1cv2, r.var1cv2 + 2));
        EXPECT_EQ(keyChord(5, 0), std::vector<uint8_t>(r.int2cv1, r.int2cv1 + 2));
        uint8_t assign = 0xFF;
        _ULStEGetChordAssign(style.editor(), 0, 0, &assign);
        EXPECT_EQ(assign, r.var1Chord0);
        _ULStEGetChordAssign(style.editor(), 0, 7, &assign);
        EXPECT_EQ(assign, r.var1Chord7);
        _ULStEGetChordAssign(style.editor(), 5, 7, &assign);
        EXPECT_EQ(assign, r.int2Chord7);
        EXPECT_EQ(contains(o.log, "Command not parsed as User-Defined determination is set"),
                  r.notParsedLines);
    }
}

TEST(CMidiToQeStyConverter, DefaultSettingsTablesAreTheProgramDefaults)
{
    const QeStyleConvertSettings settings;
    EXPECT_EQ(settings.keyChordDetermination, 1);
    EXPECT_EQ(settings.chordDetermination, 1);
    EXPECT_EQ(settings.keyChord,
              "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH");
    EXPECT_EQ(
        settings.chordTable,
        "ACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCAAAAAAABAAAA"
        "AAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAA"
        "AAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA");
}

// ---- Errors --------------------------------------------------------------------

TEST(CMidiToQeStyConverter, EveryErrorCodeHasARaiser)
{
    struct Row {
        const char* what;
        std::function<std::vector<uint8_t>()> midi;
        int code;
        std::string logLine; // a line the log must hold ("" for none)
    };
    const Row rows[] = {
        {"format 0",
         [] {
             test::SmfBuilder s(0, 96);
             s.AddTrack();
             return s.Build();
         },
         135, "Error: MIDI file format not supported in MIDI2STY conversion - Format: 0\n"},
        {"division 48",
         [] {
             StyleMidiBuilder b(48);
             return b.Build();
         },
         136, "Error: Time division not supported: 48 PPQN. Supported divisions: 96 PPQN and greater\n"},
        {"time code division",
         [] {
             test::SmfBuilder s(1, 0xE728);
             s.AddTrack();
             return s.Build();
         },
         136, "Error: Time division not supported: 59176 PPQN"},
        {"time signature inside a bar",
         [] {
             StyleMidiBuilder b;
             b.Conductor().TimeSig(b.Bar(2, 1), 3, 2);
             return b.Build();
         },
         101,
         "864          | 03:02:000 | ERROR: Time sig out of wright place    |  3/4      | "
         "MIDI-clocks/click=24 | 32nds/quarter=8\n"},
        {"denominator 32",
         [] {
             StyleMidiBuilder b;
             b.Conductor().TimeSig(b.Bar(2), 4, 5);
             return b.Build();
         },
         137,
         "768          | 03:01:000 | Error: Tact Denominator is not supported by DASK wq-series styles\n"},
        {"numerator 0",
         [] {
             StyleMidiBuilder b;
             b.Conductor().TimeSig(b.Bar(2), 0, 2);
             return b.Build();
         },
         20, ""},
        {"name out of place",
         [] {
             StyleMidiBuilder b;
             b.Command(1, "Name: Late");
             return b.Build();
         },
         109, ""},
        {"CV without chord",
         [] {
             StyleMidiBuilder b;
             b.Command(1, "Element: VAR1").Command(1, "CV: C");
             return b.Build();
         },
         117, "Error: CV text cmd without chord parameter: CV: C\n"},
        {"channel without track",
         [] {
             StyleMidiBuilder b = simpleStyle();
             b.Note(1, b.Bar(1), 60, 100, 10);
             return b.Build();
         },
         118, "384          | 02:01:000 | Error: Cannot convert MIDI channel: 1 to arr track.\n"},
        {"VexSound channel without track",
         [] {
             StyleMidiBuilder b = simpleStyle();
             b.VexSound(kDrum, b.Bar(1), 1, 0, 60, 100);
             return b.Build();
         },
         118, "Error: Cannot convert VexSound event MIDI channel: 1 to arr track.\n"},
        {"note before any CV",
         [] {
             StyleMidiBuilder b;
             b.Command(3, "Element: VAR1").Command(3, "CV: C Major");
             b.Note(kDrum, b.Bar(1), 36, 100, 10);
             return b.Build();
         },
         104, "384          | 02:01:000 | Error: Wrong style element number found: 0\n"},
        {"CV of 33 measures",
         [] {
             StyleMidiBuilder b;
             b.Command(2, "Element: VAR1").Command(2, "CV: C Major");
             b.Note(kDrum, b.Bar(2), 36, 100, 10);
             b.EndAt(b.Bar(35));
             return b.Build();
         },
         132, "\nERROR: CV length exceeded max number of measures! CvLen: 33 -  VAR1, CV1, DRUM\n\n"},
        {"notes only in the first bar",
         [] {
             StyleMidiBuilder b;
             b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
             b.Note(kDrum, b.Bar(0, 1), 36, 100, 10);
             return b.Build();
         },
         133, "96           | 01:02:000 | Error: Note events not allowed inside first bar of MIDI file!\n"},
        {"no notes",
         [] {
             StyleMidiBuilder b;
             b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
             b.Channel(kDrum).Controller(b.Bar(1), kDrum - 1, 64, 127);
             b.EndAt(b.Bar(2));
             return b.Build();
         },
         143, "\nEnd of MIDI file parsing. Starting conversion procedure.\n\n"},
        {"VexSound of another kind",
         [] {
             StyleMidiBuilder b = simpleStyle();
             b.VexSound(kDrum, b.Bar(1, 1), 2, kDrum - 1, 60, 100);
             return b.Build();
         },
         146, ""},
        {"truncated file", [] { return test::SmfBuilder::Truncated(simpleStyle().Build(), 40); }, 4, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const Outcome o = convert(r.midi());
        EXPECT_EQ(o.code, r.code) << o.log;
        EXPECT_TRUE(o.file.empty());
        if (r.code >= 100) {
            EXPECT_EQ(o.text,
                      "CMidiFile error: " + std::to_string(r.code) + " - " + StyleConvertErrorText(r.code));
        } else {
            EXPECT_TRUE(o.text.rfind("CMidiFile error: " + std::to_string(r.code) + " - ", 0) == 0) << o.text;
        }
        if (!r.logLine.empty()) {
            EXPECT_TRUE(contains(o.log, r.logLine)) << o.log;
        }
        EXPECT_TRUE(
            contains(o.log, "\n\nEnd of parsing\nNumber of errors found: " + std::to_string(o.errors) +
                                "\nNumber of warnings found: " + std::to_string(o.warnings) + "\n"))
            << o.log;
        EXPECT_GT(o.errors, 0) << "a run that stops counts its error";
    }
}

TEST(CMidiToQeStyConverter, AFileThatCannotBeWrittenGives121)
{
    test::TempDir dir;
    const auto midi = simpleStyle().Build();
    CMidiToQeStyConverter converter;
    converter.SetOutputFile(dir / "missing" / "OUT.STY");
    EXPECT_EQ(converter.Convert(midi.data(), uint32_t(midi.size()), nullptr), 121);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    CMidiToQeStyConverter unnamed;
    EXPECT_EQ(unnamed.Convert(midi.data(), uint32_t(midi.size()), nullptr), 121);
}

TEST(CMidiToQeStyConverter, ReportErrorTextsFollowTheCodeRanges)
{
    CMidiToQeStyConverter converter;
    char text[128];
    struct Row {
        int code;
        const char* text;
    };
    for (const Row& r :
         {Row{8, "CMidiFile error: 8 - Reading past end of file"},
          Row{30, "CMidiFileEx error: 30 - Measure limit exceeded"},
          Row{100, "CMidiFile error: 100 - Application defined error code"},
          Row{138, "CMidiFile error: 138 - Not enought space allocated for style buffer"},
          Row{146, "CMidiFile error: 146 - Wrong VexSound event"}, Row{99, ""}, Row{147, ""}, Row{-1, ""}}) {
        std::fill(std::begin(text), std::end(text), 'x');
        const int n = converter.ReportError(text, sizeof text, r.code);
        EXPECT_EQ(std::string(n ? text : ""), r.text) << r.code;
        EXPECT_EQ(n, int(std::string(r.text).size())) << r.code;
    }
}

// ---- Edge cases -----------------------------------------------------------------

TEST(CMidiToQeStyConverter, CvOfThirtyTwoMeasuresIsTheLongest)
{
    for (int bars : {32, 33}) {
        StyleMidiBuilder b;
        b.Command(2, "Element: VAR1").Command(2, "CV: C Major");
        b.Note(kDrum, b.Bar(2), 36, 100, 10);
        b.EndAt(b.Bar(2 + bars));
        const Outcome o = convert(b.Build());
        EXPECT_EQ(o.code, bars == 32 ? 0 : 132) << bars;
    }
}

TEST(CMidiToQeStyConverter, SetupEventsCountOnlyAtTheFirstTickOfTheSetupBar)
{
    StyleMidiBuilder b;
    test::SmfTrack& drum = b.Channel(kDrum);
    drum.Program(b.Bar(0, 2), kDrum - 1, 1);      // out of the zero tick: ignored
    drum.Program(b.Bar(0), kDrum - 1, 2);         // taken
    drum.Controller(b.Bar(0), kDrum - 1, 11, 99); // taken
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    drum.Program(b.Bar(1), kDrum - 1, 3);         // already found for VAR1
    drum.Controller(b.Bar(1), kDrum - 1, 11, 98); // already found
    drum.Program(b.Bar(2), kDrum - 1, 4);         // not a setup bar: silently ignored
    b.Note(kDrum, b.Bar(1), 36, 100, 10);
    b.EndAt(b.Bar(3));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text;
    EXPECT_TRUE(contains(o.log, "192          | 01:03:000 | Warning: PROG event found out of zero tick of "
                                "HEADER or SETUP bar! --- IGNORED\n"));
    EXPECT_TRUE(contains(o.log, "0            | 01:01:000 | PROG found for VAR1, DRUM is: 2\n"));
    EXPECT_TRUE(contains(o.log, "384          | 02:01:000 | Warning: PROG event already found for current "
                                "Style Element! --- IGNORED\n"));
    EXPECT_TRUE(contains(
        o.log, "384          | 02:01:000 | Warning: EXPR event already found for VAR1, DRUM! --- IGNORED\n"));
    // 3 ignored events, the bank values handed on when the drum leaves VAR1,
    // and the four values of each of the seven silent tracks
    EXPECT_EQ(o.warnings, 5 + 7 * 4);
    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    uint32_t program = 0;
    uint8_t expression = 0;
    _ULStEGetTrackProgram(style.editor(), 0, 0, &program);
    _ULStEGetTrackExpression(style.editor(), 0, 0, &expression);
    EXPECT_EQ(program, 120u << 24 | 2);
    EXPECT_EQ(expression, 99);
}

// Every track of an element that sets no bank, expression or program there
// takes the last value it had before the element, in the order the file
// plays its elements, whether or not it plays in the element and whatever
// the order of the track chunks.
TEST(CMidiToQeStyConverter, TracksWithoutSetupValuesTakeTheirLastOnes)
{
    StyleMidiBuilder b;
    // The bass chunk comes first; it plays only in INT1 and sets it up.
    b.Setup(kBass, b.Bar(3), 90, 121, 2, 40);
    b.Note(kBass, b.Bar(3), 40, 100, 48);
    // The drum sets VAR1 up and plays in both elements.
    b.Setup(kDrum, 0, 110, 120, 0, 5);
    b.Note(kDrum, b.Bar(1), 36, 100, 48).Note(kDrum, b.Bar(3), 36, 100, 48);
    // The piano sets VAR1 up and plays only there.
    b.Setup(kAcc1, 0, 80, 121, 1, 48);
    b.Note(kAcc1, b.Bar(1), 60, 100, 48);
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    b.Command(3, "Element: INT1").Command(3, "CV: C Major");
    b.EndAt(b.Bar(4));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << "\n" << o.log;
    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);

    struct Row {
        int element, track;
        uint32_t program; // bank MSB << 24 | bank LSB << 16 | program
        uint8_t expression;
    };
    const Row rows[] = {
        {0, 0, 120u << 24 | 5, 110},            // own
        {0, 1, 120u << 24, 100},                // silent throughout: the drum defaults
        {0, 2, 121u << 24, 100},                // silent in VAR1: not the INT1 values read before
        {0, 3, 121u << 24 | 1u << 16 | 48, 80}, // own
        {0, 4, 121u << 24, 100},                // silent throughout
        {4, 0, 120u << 24 | 5, 110},            // plays in INT1 without setting it up
        {4, 1, 120u << 24, 100},
        {4, 2, 121u << 24 | 2u << 16 | 40, 90}, // own
        {4, 3, 121u << 24 | 1u << 16 | 48, 80}, // silent in INT1: its VAR1 values
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "element " << r.element << " track " << r.track);
        uint32_t program = 0;
        uint8_t expression = 0;
        _ULStEGetTrackProgram(style.editor(), r.element, r.track, &program);
        _ULStEGetTrackExpression(style.editor(), r.element, r.track, &expression);
        EXPECT_EQ(program, r.program);
        EXPECT_EQ(expression, r.expression);
    }
    for (const char* line :
         {"Warning: HBank not found for VAR1 PERC. Propagated from last found value: 120\n",
          "Warning: HBank not found for VAR1 BASS. Propagated from last found value: 121\n",
          "Warning: Prog not found for INT1 ACC1. Propagated from last found value: 48\n",
          "Warning: Expr not found for INT1 DRUM. Propagated from last found value: 110\n"})
        EXPECT_TRUE(contains(o.log, line)) << line;
    EXPECT_FALSE(contains(o.log, "not found for VAR1 DRUM"));
    EXPECT_FALSE(contains(o.log, "not found for INT1 BASS"));
    // Each value is handed on once, before the conversion starts.
    EXPECT_EQ(o.warnings, 2 * 8 * 4 - 3 * 4);
    EXPECT_LT(o.log.find("Propagated"), o.log.find("End of MIDI file parsing"));
}

TEST(CMidiToQeStyConverter, PatternsKeepNotesTheirControllersAndPitchBends)
{
    StyleMidiBuilder b;
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    test::SmfTrack& acc = b.Channel(kAcc2);
    const int ch = kAcc2 - 1;
    acc.Controller(b.Bar(1), ch, 7, 100)     // volume: dropped
        .Controller(b.Bar(1), ch, 64, 127)   // sustain: kept
        .Controller(b.Bar(1, 1), ch, 74, 20) // kept
        .PitchBend(b.Bar(1, 2), ch, 0x2345)  // kept
        .KeyPressure(b.Bar(1, 2), ch, 60, 5) // dropped
        .ChannelPressure(b.Bar(1, 2), ch, 9) // dropped
        .Program(b.Bar(1, 3), ch, 12)        // not in the setup tick: dropped
        .Controller(b.Bar(1, 3), ch, 64, 0);
    acc.NoteOff(b.Bar(1, 1), ch, 50, 40); // no note on: dropped with a warning
    b.Note(kAcc2, b.Bar(1), 60, 100, 96);
    b.EndAt(b.Bar(2));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << o.log;
    // the stray note off, the program off the setup tick, the setup values
    // handed on to ACC2 and to the seven silent tracks
    EXPECT_EQ(o.warnings, 1 + 1 + 4 + 7 * 4);
    EXPECT_TRUE(contains(o.log, "480          | 02:02:000 | Warning: Found NoteOFF (Key= D3  , Vol= 040) "
                                "without corresponding NoteON. Discarded\n"));
    EXPECT_TRUE(
        contains(o.log, "384          | 02:01:000 | Controller  | chan=13   | contr #64  | value=127\n"));
    EXPECT_TRUE(contains(o.log, "576          | 02:03:000 | Pitch Wheel | chan=13   | LSB=69 MSB=70\n"));
    EXPECT_TRUE(contains(
        o.log, "384          | 02:01:000 | Note ON Event (Key= C4  , Vol= 100) found at channel: 13\n"));

    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    const ExportedCv exported = exportCv(style.editor(), 0, 0);
    std::vector<SmfEvent> pattern;
    for (const SmfEvent& e : exported.events)
        if (e.tick > 0 || (e.status & 0xF0) == 0x90 || (e.d1 == 64 && (e.status & 0xF0) == 0xB0))
            pattern.push_back(e);
    const uint8_t cc = uint8_t(0xB0 | ch);
    EXPECT_EQ(sorted(pattern), sorted({{0, cc, 64, 127, {}},
                                       {0, uint8_t(0x90 | ch), 60, 100, {}},
                                       {384, cc, 74, 20, {}},
                                       {384, uint8_t(0x80 | ch), 60, 64, {}},
                                       {768, uint8_t(0xE0 | ch), 0x45, 0x46, {}},
                                       {1152, cc, 64, 0, {}}}));
}

TEST(CMidiToQeStyConverter, TrackChunksOfOneChannelMergeByTime)
{
    test::SmfBuilder s(1, 96);
    s.AddTrack().TimeSig(0, 4, 2).Marker(384, "Element: VAR1").Marker(384, "CV: C Major").EndAt(768);
    s.AddTrack().NoteOn(384, 9, 36, 100).NoteOff(400, 9, 36, 0).NoteOn(500, 9, 38, 90).NoteOff(520, 9, 38, 1);
    s.AddTrack().NoteOn(390, 9, 36, 80).NoteOff(410, 9, 36, 0).NoteOn(500, 9, 38, 91).NoteOff(530, 9, 38, 2);
    const Outcome o = convert(s.Build());
    ASSERT_EQ(o.code, 0) << o.text << o.log;
    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    std::vector<SmfEvent> notes;
    for (const SmfEvent& e : exportCv(style.editor(), 0, 0).events)
        if ((e.status & 0xE0) == 0x80) notes.push_back(e);
    // In time order; at one tick the first chunk's event comes first.
    const std::vector<SmfEvent> expected = {
        {0, 0x99, 36, 100, {}},  {24, 0x99, 36, 80, {}},  {64, 0x89, 36, 0, {}},  {104, 0x89, 36, 0, {}},
        {464, 0x99, 38, 90, {}}, {464, 0x99, 38, 91, {}}, {544, 0x89, 38, 1, {}}, {584, 0x89, 38, 2, {}}};
    EXPECT_EQ(notes, expected);
}

TEST(CMidiToQeStyConverter, NoteSoundingAtTheEndOfItsCvEndsThere)
{
    StyleMidiBuilder b;
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major").Command(2, "CV: D Major");
    b.Note(kDrum, b.Bar(1, 3), 36, 100, 192); // into the next CV
    b.Note(kDrum, b.Bar(2), 38, 100, 24);
    b.EndAt(b.Bar(3));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << o.log;
    EXPECT_TRUE(contains(
        o.log,
        "Warning: NoteON (Key= C2  , Vol= 100) without NoteOFF in VAR1_CV1_DRUM. Closed at pattern end\n"));
    EXPECT_TRUE(contains(
        o.log, "Warning: Found NoteOFF (Key= C2  , Vol= 064) without corresponding NoteON. Discarded\n"));
    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    EXPECT_EQ(notesOf(exportCv(style.editor(), 0, 0).events),
              sorted({{1152, 0x99, 36, 100, {}}, {1536, 0x89, 36, 64, {}}}));
}

TEST(CMidiToQeStyConverter, ElementTimeSignatureComesFromItsFirstMeasure)
{
    struct Row {
        int numerator, power;
        uint8_t packed; // as the style editor gives it
        uint32_t cvLength;
    };
    for (const Row& r : {Row{3, 2, 0x22, 2 * 1152}, Row{6, 3, 0x35, 2 * 1152}, Row{2, 1, 0x11, 2 * 1536},
                         Row{5, 4, 0x44, 2 * 480}, Row{17, 3, 0x23, 2 * 3264}}) {
        SCOPED_TRACE(testing::Message() << r.numerator << "/" << (1 << r.power));
        StyleMidiBuilder b(96, r.numerator, r.power);
        b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
        b.Note(kDrum, b.Bar(1), 36, 100, 10);
        b.EndAt(b.Bar(3));
        const Outcome o = convert(b.Build());
        ASSERT_EQ(o.code, 0) << o.text << o.log;
        const test::LibraryStyle style = openStyle(o.file);
        ASSERT_NE(style.editor(), nullptr);
        uint8_t packed = 0;
        _ULStEGetSignature(style.editor(), 0, &packed);
        EXPECT_EQ(packed, r.packed);
        if (r.numerator <= 16) {
            EXPECT_EQ(exportCv(style.editor(), 0, 0).end, r.cvLength);
        }
    }
}

TEST(CMidiToQeStyConverter, TicksOfOtherDivisionsAreScaledAndRounded)
{
    // At 480 per quarter a tick is 0.8 pulses: 1 -> 1 (0.8), 3 -> 2 (2.4),
    // 5 -> 4, 7 -> 6 (5.6), 1919 -> 1535 (1535.2).
    StyleMidiBuilder b(480);
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    const uint32_t start = b.Bar(1);
    b.Channel(kDrum)
        .NoteOn(start + 1, kDrum - 1, 36, 100)
        .NoteOn(start + 3, kDrum - 1, 37, 100)
        .NoteOn(start + 5, kDrum - 1, 38, 100)
        .NoteOn(start + 7, kDrum - 1, 39, 100)
        .NoteOff(start + 1919, kDrum - 1, 36, 0)
        .NoteOff(start + 1919, kDrum - 1, 37, 0)
        .NoteOff(start + 1919, kDrum - 1, 38, 0)
        .NoteOff(start + 1919, kDrum - 1, 39, 0);
    b.EndAt(b.Bar(2));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << o.log;
    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    const ExportedCv exported = exportCv(style.editor(), 0, 0);
    EXPECT_EQ(notesOf(exported.events), sorted({{1, 0x99, 36, 100, {}},
                                                {2, 0x99, 37, 100, {}},
                                                {4, 0x99, 38, 100, {}},
                                                {6, 0x99, 39, 100, {}},
                                                {1535, 0x89, 36, 0, {}},
                                                {1535, 0x89, 37, 0, {}},
                                                {1535, 0x89, 38, 0, {}},
                                                {1535, 0x89, 39, 0, {}}}));
    EXPECT_EQ(exported.end, 1536u);
}

TEST(CMidiToQeStyConverter, VexSoundEventsMakeAnExtendedStyle)
{
    StyleMidiBuilder b;
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    b.VexSound(kAcc1, b.Bar(1), 1, kAcc1 - 1, 72, 90);
    b.VexSound(kAcc1, b.Bar(1, 2), 0, kAcc1 - 1, 72, 0);
    b.EndAt(b.Bar(2));
    const Outcome o = convert(b.Build());
    ASSERT_EQ(o.code, 0) << o.text << o.log;
    EXPECT_TRUE(contains(
        o.log, "384          | 02:01:000 | VEX ON   Event (Key= C5  , Vol= 090) found at channel: 12\n"));
    EXPECT_TRUE(contains(
        o.log, "576          | 02:03:000 | VEX OFF  Event (Key= C5  , Vol= 000) found at channel: 12\n"));
    const test::LibraryStyle style = openStyle(o.file);
    ASSERT_NE(style.editor(), nullptr);
    uint8_t version = 0;
    _ULStEGetQeVersion(style.editor(), &version);
    EXPECT_EQ(version, 1);
    std::vector<std::vector<uint8_t>> sysex;
    for (const SmfEvent& e : exportCv(style.editor(), 0, 0).events)
        if (e.status == 0xF0) sysex.push_back(e.data);
    const std::vector<std::vector<uint8_t>> expected = {{0x42, 0x3F, 0x78, 0x01, 0x01, 11, 72, 90, 0xF7},
                                                        {0x42, 0x3F, 0x78, 0x01, 0x00, 11, 72, 0, 0xF7}};
    EXPECT_EQ(sysex, expected);
}

TEST(CMidiToQeStyConverter, EmbeddedStsBlockBecomesASecondResource)
{
    const auto resource = test::serialisedResInstance(2, 0, 0, 0, [] {
        std::vector<uint8_t> chunk =
            test::chunkHead(0x06, 0, 0, 0x10, uint32_t(test::sampleQeStyleChunk().size()));
        const auto style = test::sampleQeStyleChunk();
        chunk.insert(chunk.end(), style.begin(), style.end());
        return chunk;
    }());
    struct Row {
        const char* what;
        std::vector<uint8_t> data; // after signature and name
        size_t entries;
        bool warning;
    };
    const Row rows[] = {
        {"signature and name only (28 bytes)", {}, 1, false},
        {"a resource", resource, 2, false},
        {"29 bytes that are no resource", {0x02}, 1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        StyleMidiBuilder b = simpleStyle();
        b.Conductor().SysEx(0, StyleMidiBuilder::StsSysExData("STS Bank \xE9t\xE9", r.data));
        const Outcome o = convert(b.Build());
        ASSERT_EQ(o.code, 0) << o.text << o.log;
        Container container(_ULRFCreateInstance(o.file.data(), uint32_t(o.file.size())));
        ASSERT_NE(container, nullptr);
        const auto index = indexOf(container.get());
        ASSERT_EQ(index.size(), r.entries);
        EXPECT_EQ(index[0].name, "Simple");
        if (r.entries == 2) {
            EXPECT_EQ(index[1].name, "STS Bank \xE9t\xE9");
            EXPECT_EQ(index[1].type, 2);
            EXPECT_EQ(index[1].user1, 17);
            EXPECT_EQ(index[1].user2, 0);
            Resource second(_ULRFExtractResource(container.get(), 1));
            Editor editor(_ULStECreateInstance(second.get()));
            ASSERT_NE(editor, nullptr);
            char name[32] = {};
            _ULStEGetName(editor.get(), name, 31);
            EXPECT_STREQ(name, "Sample Style");
        }
        EXPECT_EQ(o.warnings, r.warning ? 33 : 32); // 8 tracks x 4 setup values handed on
        EXPECT_EQ(contains(o.log, "Warning: STS block STS Bank"), r.warning);
    }
}

TEST(CMidiToQeStyConverter, StyleNameIsCutAndCleanedForTheIndex)
{
    StyleMidiBuilder c;
    c.Command(0, "Name: A:B/C*D?E.F<G>H|I\"J and more");
    c.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    c.Note(kDrum, c.Bar(1), 36, 100, 10);
    const Outcome ok = convert(c.Build());
    ASSERT_EQ(ok.code, 0) << ok.text << ok.log;
    const test::LibraryStyle style = openStyle(ok.file);
    ASSERT_NE(style.editor(), nullptr);
    EXPECT_EQ(indexOf(style.container())[0].name, "A_B_C_D_E_F_G_H_I"); // 17 of the 18
    char name[32] = {};
    _ULStEGetName(style.editor(), name, 31);
    EXPECT_STREQ(name, "A:B/C*D?E.F<G>H|I\"");
}

// Every element, CV and track of a style with one lone event each: the
// style buffer has room for all of it.
TEST(CMidiToQeStyConverter, StyleOfManySparsePatternsFitsItsBuffer)
{
    const char* names[] = {"VAR1",  "VAR2",  "VAR3", "VAR4", "INT1",  "INT2",
                           "FILL1", "FILL2", "END1", "END2", "FILL3", "INT3"};
    const int channels[] = {kDrum, kPerc, kBass, kAcc1, kAcc2, 14, 15, 16};
    for (bool vexSound : {false, true}) {
        SCOPED_TRACE(vexSound ? "VexSound on" : "note on without note off");
        StyleMidiBuilder b;
        int bar = 1;
        for (int e = 0; e < 12; ++e) {
            b.Command(bar, std::string("Element: ") + names[e]);
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv, ++bar) {
                b.Command(bar, "CV: C Major");
                for (int ch : channels) {
                    if (vexSound)
                        b.VexSound(ch, b.Bar(bar, 3, 95), 1, ch - 1, 60, 100);
                    else
                        b.Channel(ch).NoteOn(b.Bar(bar, 3, 95), ch - 1, 60, 100);
                }
            }
        }
        b.EndAt(b.Bar(bar));
        const Outcome o = convert(b.Build());
        ASSERT_EQ(o.code, 0) << o.text;
        const test::LibraryStyle style = openStyle(o.file);
        ASSERT_NE(style.editor(), nullptr);
        for (int e = 0; e < 12; ++e)
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv)
                for (int t = 0; t < 8; ++t)
                    EXPECT_EQ(_ULStEQueryPattern(style.editor(), e, cv, t), 2);
        if (!vexSound) {
            // the note ends with its CV
            const auto notes = notesOf(exportCv(style.editor(), 11, 1).events);
            EXPECT_NE(std::find(notes.begin(), notes.end(), SmfEvent{1536, 0x89, 60, 64, {}}), notes.end());
        }
    }
}

// ---- Log and lifecycle ---------------------------------------------------------------

TEST(CMidiToQeStyConverter, LogHasItsStartPassAndEndLines)
{
    const auto midi = simpleStyle().Build();
    const Outcome o = convert(midi);
    ASSERT_EQ(o.code, 0);
    const std::string start =
        "Converting MIDI file to dask QE4K style\n\nMIDI File size: " + std::to_string(midi.size()) +
        "\nFormat: 1, Num of tracks: 2, Division: 96\n\n"
        "\n==================== Track #0 ====================\n\n";
    EXPECT_EQ(o.log.substr(0, start.size()), start);
    for (const char* line :
         {"0            | 01:01:000 | Name text cmd found: Name: Simple\n",
          "0            | 01:01:000 | Time sig    |  4/4      | MIDI-clocks/click=24 | 32nds/quarter=8\n",
          "0            | 01:01:000 | Tempo       | BPM=120   | micros/quarter=500000\n",
          "\n==================== Track #1 ====================\n\n",
          "1152         | 04:01:000 | End of track\n",
          "\nEnd of MIDI file parsing. Starting conversion procedure.\n\n",
          "Allocated 7149 bytes for style buffer\n", "\nConverting VAR1, CV1, DRUM\n\n"})
        EXPECT_TRUE(contains(o.log, line)) << line;
    const std::string end = "\n\nEnd of parsing\nNumber of errors found: 0\nNumber of warnings found: 32\n";
    EXPECT_EQ(o.log.substr(o.log.size() - end.size()), end);
}

TEST(CMidiToQeStyConverter, RunsAgainFromAFreshStateAndWithoutALog)
{
    const auto failing = [] {
        StyleMidiBuilder b;
        b.Command(1, "Name: Late");
        return b.Build();
    }();
    const auto good = simpleStyle().Build();
    const Outcome fresh = convert(good);
    ASSERT_EQ(fresh.code, 0);

    test::TempDir dir;
    CMidiToQeStyConverter converter;
    converter.SetOutputFile(dir / "A.STY");
    EXPECT_EQ(converter.Convert(failing.data(), uint32_t(failing.size()), nullptr), 109);
    EXPECT_FALSE(std::filesystem::exists(dir / "A.STY"));
    EXPECT_EQ(converter.Convert(good.data(), uint32_t(good.size()), nullptr), 0);
    EXPECT_EQ(test::readFileBytes(dir / "A.STY"), fresh.file);
    EXPECT_EQ(converter.WarningCount(), fresh.warnings);
    std::vector<uint8_t> image;
    EXPECT_EQ(converter.ConvertToImage(good.data(), uint32_t(good.size()), nullptr, image), 0);
    EXPECT_EQ(image, fresh.file);
    EXPECT_EQ(converter.ConvertToImage(nullptr, 0, nullptr, image), CMidiFile::kReadPastEnd);
    EXPECT_TRUE(image.empty());
}

TEST(CMidiToQeStyConverter, EntryPointReturnsCodeAndText)
{
    test::TempDir dir;
    std::ostringstream log;
    const auto good = simpleStyle().Build();
    MidiToQeStyleResult r = ConvertMidiToQeStyle(good, dir / "S.STY", {}, &log);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.errorText, "");
    EXPECT_TRUE(std::filesystem::exists(dir / "S.STY"));
    EXPECT_TRUE(contains(log.str(), "Number of warnings found: 32\n"));

    test::SmfBuilder format0(0, 96);
    format0.AddTrack();
    r = ConvertMidiToQeStyle(format0.Build(), dir / "F.STY", {}, nullptr);
    EXPECT_EQ(r.code, 135);
    EXPECT_EQ(r.errorText, "CMidiFile error: 135 - MIDI file format not supported in MIDI2STY conversion");
    EXPECT_FALSE(std::filesystem::exists(dir / "F.STY"));
}

// ---- Real-world files -------------------------------------------------------------

// Channel events of a real file on one time line, and its division.
struct RealEvents {
    uint16_t division = 0;
    std::vector<SmfEvent> events;
    uint32_t end = 0;
};

RealEvents readReal(const std::vector<uint8_t>& image)
{
    EventCollector collector;
    RealEvents out;
    if (collector.ParseMemory(image.data(), uint32_t(image.size())) != 0) return out;
    out.division = collector.division();
    out.events = collector.events;
    out.end = collector.end;
    return out;
}

TEST(CMidiToQeStyConverter, RealFilesAsTheyAreFailCleanly)
{
    auto files = test::realFixtureFiles("midi");
    const auto styles = test::realFixtureFiles("psr-styles");
    files.insert(files.end(), styles.begin(), styles.end());
    if (files.empty()) GTEST_SKIP() << "no real-world files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        // Without text commands their notes lie in the header bar (or the
        // file is format 0): refused with a text, nothing written.
        const Outcome o = convert(test::readFileBytes(path));
        EXPECT_NE(o.code, 0);
        EXPECT_FALSE(o.text.empty());
        EXPECT_TRUE(o.file.empty());
    }
}

// The notes of each real file, laid into style elements of 32-bar CVs after
// a header bar, come back from the converted style note for note.
TEST(CMidiToQeStyConverter, RealFilesConvertWithoutLosingNotes)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real-world files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const RealEvents real = readReal(test::readFileBytes(path));
        ASSERT_GE(real.division, 96);
        StyleMidiBuilder b(real.division);
        const uint32_t bar = b.TicksPerBar();
        const uint32_t cvTicks = 32 * bar;
        const uint32_t maxCvs = 24; // VAR1-VAR4, 6 CVs each
        uint32_t last = 0;
        std::vector<std::vector<SmfEvent>> cvNotes(maxCvs);
        for (const SmfEvent& e : real.events) {
            const bool note = (e.status & 0xE0) == 0x80;
            if (!note || e.tick >= maxCvs * cvTicks) continue;
            const int channel = (e.status & 0x0F) == 9 ? kDrum : kBass;
            const bool on = (e.status & 0xF0) == 0x90 && e.d2 > 0;
            const uint32_t tick = b.Bar(1) + e.tick;
            if (on)
                b.Channel(channel).NoteOn(tick, channel - 1, e.d1, e.d2);
            else
                b.Channel(channel).NoteOff(tick, channel - 1, e.d1, e.d2);
            if (on)
                cvNotes[e.tick / cvTicks].push_back(
                    {e.tick % cvTicks, uint8_t(0x90 | (channel - 1)), e.d1, e.d2, {}});
            last = std::max(last, e.tick);
        }
        const uint32_t cvs = last / cvTicks + 1;
        for (uint32_t cv = 0; cv < cvs; ++cv) {
            if (cv % 6 == 0) b.Command(int(1 + 32 * cv), "Element: VAR" + std::to_string(cv / 6 + 1));
            b.Command(int(1 + 32 * cv), "CV: C Major");
        }
        b.EndAt(b.Bar(1) + (last / bar + 1) * bar);

        const Outcome o = convert(b.Build());
        ASSERT_EQ(o.code, 0) << o.text;
        const test::LibraryStyle style = openStyle(o.file);
        ASSERT_NE(style.editor(), nullptr);
        for (uint32_t cv = 0; cv < cvs; ++cv) {
            if (cvNotes[cv].empty()) continue;
            const ExportedCv exported = exportCv(style.editor(), int(cv / 6), int(cv % 6));
            std::vector<SmfEvent> ons, expected;
            size_t offs = 0;
            for (const SmfEvent& e : exported.events) {
                if ((e.status & 0xF0) == 0x90 && e.d2 > 0)
                    ons.push_back(e);
                else if ((e.status & 0xE0) == 0x80)
                    ++offs;
            }
            for (SmfEvent e : cvNotes[cv]) {
                // 384 per quarter, rounded on the first decimal
                const uint64_t tenths = uint64_t(e.tick) * 3840 / real.division;
                e.tick = uint32_t(tenths / 10 + (tenths % 10 >= 5));
                expected.push_back(e);
            }
            EXPECT_EQ(sorted(ons), sorted(expected)) << "CV " << cv;
            EXPECT_EQ(offs, ons.size()) << "every note ends, CV " << cv;
        }
    }
}

} // namespace midi_to_qe_sty_converter_test
} // namespace zib
