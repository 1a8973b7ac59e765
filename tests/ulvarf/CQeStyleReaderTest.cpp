// Reading a style chunk into the model: the layout the MIDI-to-Qe converter
// writes, the header forms, and damaged styles with their repairs and
// "Warning!" traces.

#include "ulvarf/CNstQeIfc.h"
#include "ulvarf/CQeStyleReader.h"
#include "ulvarf/CQeStyleWriter.h"
#include "ulvarf/CResourceFile.h"
#include "ulvarf/CResourceInstance.h"
#include "ulvarf/CStyleEditor.h"

#include "tests/support/DasfImageBuilder.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::PropStreamBuilder;
using zib::test::QeStyleLayout;
using zib::test::qeCv;
using zib::test::qePattern;

Bytes drumNotes(uint32_t end = 1536)
{
    return PropStreamBuilder().noteOn(0, 36).noteOff(96, 36).noteOn(768, 38).noteOff(864, 38).end(end);
}

// One element, one CV of one bar playing one drum pattern of one bar.
QeStyleLayout oneBarStyle()
{
    QeStyleLayout layout;
    layout.header = zib::test::qeHeaderRecord("Damaged", 0xAAA0, 0xF8, 0x0001);
    layout.patterns = {qePattern(2, 1536, drumNotes())};
    zib::test::QeElementChunk element;
    element.cvs = {qeCv(1536, PropStreamBuilder().start(0, 0).end(1536), {{0, 0}})};
    layout.elements = {element};
    return layout;
}

std::unique_ptr<CNstQeIfc> read(const Bytes& chunk)
{
    auto style = CNstQeIfc::NewStyle(); // as the style editor reads a resource
    EXPECT_TRUE(CQeStyleReader::Read(chunk, *style));
    return style;
}

std::vector<std::string> warnings(const zib::test::TraceCapture& trace)
{
    std::vector<std::string> out;
    for (const std::string& text : trace.texts()) {
        if (text.rfind("Warning!", 0) == 0) out.push_back(text);
    }
    return out;
}

TEST(CQeStyleReader, TheConverterLayoutReadsIntoTheExpectedModel)
{
    // The one-resource container the MIDI-to-Qe converter writes, opened and
    // its style taken out as the style document does.
    const Bytes image = zib::test::qeConverterStyleImage("Converted Style 01", zib::test::sampleQeStyleChunk());
    auto file = CResourceFile::FromImage(image);
    ASSERT_TRUE(file);
    auto resource = file->ExtractResource(0);
    ASSERT_TRUE(resource);
    zib::test::TraceCapture trace;
    auto editor = CStyleEditor::FromResource(*resource);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(trace.texts().empty());

    const CNstQeIfc& style = editor->style();
    EXPECT_EQ(style.name(), "Sample Style");
    EXPECT_EQ(style.version, 0);
    EXPECT_EQ(style.release, 0);
    const std::array<uint8_t, 8> modes = {0, 0, 2, 2, 2, 2, 2, 2};
    const std::array<uint8_t, 8> tensions = {0, 0, 0, 1, 1, 1, 1, 1};
    for (size_t t = 0; t < 8; ++t) {
        EXPECT_EQ(style.tracks[t].mode, modes[t]);
        EXPECT_EQ(style.tracks[t].tension, tensions[t]);
        EXPECT_EQ(style.tracks[t].thirdFlag, t == 0 ? 1 : 0); // a short header keeps the defaults
    }
    EXPECT_EQ(style.QueryStyleElem(0), 2);
    for (int e = 1; e < 12; ++e) EXPECT_EQ(style.QueryStyleElem(e), 0);
    const CNstStyleElem& element = *style.FindElement(0);
    EXPECT_EQ(element.ntt, 1);
    EXPECT_EQ(element.numerator, 4);
    EXPECT_EQ(element.log2Denominator, 2);
    for (const CNstTrackRecord& r : element.tracks) {
        EXPECT_EQ(r.expression, 100);
        EXPECT_EQ(r.bankLsb, 0);
        EXPECT_EQ(r.rangeLow, 21);
        EXPECT_EQ(r.rangeHigh, 108);
    }
    const CNstChordVar& cv = *style.FindChordVar(0, 0);
    EXPECT_EQ(cv.length, 1536u);
    EXPECT_EQ(cv.bars, 1);
    EXPECT_TRUE(cv.stream.empty());
    EXPECT_EQ(style.QueryPattern(0, 0, 0), 2);
    for (int t = 1; t < 8; ++t) EXPECT_EQ(style.QueryPattern(0, 0, t), 0);
    const CNstPattern& drum = cv.patterns[0];
    EXPECT_EQ(drum.type, 0);
    EXPECT_EQ(drum.length, 1536u);
    EXPECT_EQ(drum.bars, 1);
    EXPECT_EQ(drum.stream, (Bytes{0x01, 0x24, 0xE4, 0xE0, 0x00, 0x24, 0xC0, 0x8B, 0xA0, 0x09, 0x2F, 0x00, 0x00}));
    EXPECT_EQ(style.trackPatternType[0], 0);
}

TEST(CQeStyleReader, HeaderFieldsAreReadAsFarAsTheReleaseGoes)
{
    for (uint8_t id2 : {0, 1, 2}) {
        QeStyleLayout layout = oneBarStyle();
        layout.version = 1;
        layout.headerId2 = id2;
        layout.header = zib::test::qeHeaderRecord("Long", 0x0004, 0x02, 0x0001, true, 0x81, {1, 2, 3, 4, 5, 6, 7, 8}, 0xA, 0xB);
        const auto style = read(zib::test::qeStyleChunk(layout));
        EXPECT_EQ(style->version, 1);
        EXPECT_EQ(style->release, id2);
        EXPECT_EQ(style->tracks[1].mode, 1);
        EXPECT_EQ(style->tracks[1].tension, 1);
        EXPECT_EQ(style->tracks[7].thirdFlag, id2 >= 1 ? 1 : 0);
        EXPECT_EQ(style->tracks[3].trackByte, id2 >= 2 ? 4 : 8);
        EXPECT_EQ(style->styleByteA, id2 >= 2 ? 0xA : 0);
        EXPECT_EQ(style->styleByteB, id2 >= 2 ? 0xB : 0);
    }
}

// A resource is read over the "New Style" defaults, not into a blank model.
TEST(CQeStyleReader, AResourceReadsOverTheNewStyleDefaults)
{
    auto editorOf = [](const QeStyleLayout& layout) {
        auto resource =
            CResourceInstance::FromSerialised(zib::test::qeStyleResource(zib::test::qeStyleChunk(layout)));
        EXPECT_TRUE(resource);
        return resource ? CStyleEditor::FromResource(*resource) : nullptr;
    };
    QeStyleLayout headless = oneBarStyle();
    headless.withHeader = false;
    auto fromHeadless = editorOf(headless);
    ASSERT_TRUE(fromHeadless);
    EXPECT_EQ(fromHeadless->style().name(), "New Style");
    EXPECT_EQ(fromHeadless->style().release, 2);

    // ACC1 plays a type-0 chunk in CV2 only.
    QeStyleLayout layout = oneBarStyle();
    layout.elements[0].cvMask = 0x03;
    layout.patterns.push_back(qePattern(2, 1536, drumNotes()));
    layout.elements[0].cvs.push_back(qeCv(1536, PropStreamBuilder().start(0, 0).end(1536), {{0, 3}}));
    auto editor = editorOf(layout);
    ASSERT_TRUE(editor);
    const CNstQeIfc& style = editor->style();
    EXPECT_EQ(style.name(), "Damaged");
    EXPECT_TRUE(style.typeForcing);
    EXPECT_EQ(style.trackPatternType, (std::array<uint8_t, 8>{0, 0, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(style.tracks[0].thirdFlag, 1); // the short header holds neither
    EXPECT_EQ(style.tracks[5].trackByte, 8);
    EXPECT_EQ(style.FindChordVar(0, 1)->patterns[3].type, 0);

    // Written back, the patterns take their track's type: ACC1's pattern
    // comes back as type 2.
    auto written = editor->CreateResource();
    ASSERT_TRUE(written);
    auto again = CStyleEditor::FromResource(*written);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->style().QueryPattern(0, 1, 3), 2);
    EXPECT_EQ(again->style().FindChordVar(0, 1)->patterns[3].type, 2);
}

TEST(CQeStyleReader, ElementInfoGivesSignatureNttAndChordAssign)
{
    QeStyleLayout layout = oneBarStyle();
    layout.elements[0].signature = 0x22;
    layout.elements[0].ntt = 3;
    layout.elements[0].chordAssign = {0, 5, 2, 3};
    const auto style = read(zib::test::qeStyleChunk(layout));
    const CNstStyleElem& element = *style->FindElement(0);
    EXPECT_EQ(element.numerator, 4);
    EXPECT_EQ(element.log2Denominator, 2);
    EXPECT_EQ(element.ntt, 3);
    std::array<uint8_t, 22> assign{};
    assign[1] = 5;
    assign[2] = 2;
    assign[3] = 3;
    EXPECT_EQ(element.chordAssign, assign);

    layout.elements[0].chordAssign = {4, 1, 2, 3};
    std::array<uint8_t, 22> copied;
    copied.fill(4);
    copied[1] = 1;
    copied[2] = 2;
    copied[3] = 3;
    EXPECT_EQ(read(zib::test::qeStyleChunk(layout))->FindElement(0)->chordAssign, copied);
}

// A damaged style, the "Warning!" traces it gives in order, and what the
// model holds after the repairs (which can always be written again).
struct DamageCase {
    const char* name;
    std::function<void(QeStyleLayout&)> damage;
    std::vector<std::string> warnings;
    const char* trace; // one more text of the library, or null
    std::function<void(const CNstQeIfc&)> check;
};

const char* const kTypeWarning = "Warning! Pattern type && use in CV are inconsistent!";
const char* const kCvWarning = "Warning! Uncorrect CV length found!\nForced to Pattern length.";
const char* const kPatternWarning = "Warning! Uncorrect Pattern length(s) found!\nForced to CV length.";

const CNstChordVar& cv0(const CNstQeIfc& style) { return *style.FindChordVar(0, 0); }
const CNstPattern& drum(const CNstQeIfc& style) { return cv0(style).patterns[0]; }

const std::vector<DamageCase> kDamageCases = {
    {"pair type differs from the chunk id", [](QeStyleLayout& s) { s.elements[0].cvs[0].uses = {{1, 0}}; },
     {kTypeWarning}, nullptr, [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).type, 0); }},
    {"CV shorter than its pattern",
     [](QeStyleLayout& s) { s.elements[0].cvs[0] = qeCv(768, PropStreamBuilder().start(0, 0).end(768), {{0, 0}}); },
     {kCvWarning}, nullptr,
     [](const CNstQeIfc& st) {
         EXPECT_EQ(cv0(st).length, 1536u);
         EXPECT_EQ(drum(st).stream, drumNotes());
     }},
    {"playing time not a whole multiple",
     [](QeStyleLayout& s) { s.elements[0].cvs[0] = qeCv(2304, PropStreamBuilder().start(0, 0).end(2304), {{0, 0}}); },
     {kPatternWarning}, nullptr, [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).length, 2304u); }},
    // Not merged: the chunk's events stay once, its length becomes the CV's.
    {"chunk played twice through its CV",
     [](QeStyleLayout& s) { s.elements[0].cvs[0] = qeCv(3072, PropStreamBuilder().start(0, 0).end(3072), {{0, 0}}); },
     {kPatternWarning}, nullptr,
     [](const CNstQeIfc& st) {
         EXPECT_EQ(drum(st).length, 3072u);
         EXPECT_EQ(drum(st).stream, drumNotes());
     }},
    {"late start that never reaches a pattern length",
     [](QeStyleLayout& s) { s.elements[0].cvs[0].stream = PropStreamBuilder().start(768, 0).end(1536); },
     {kCvWarning}, nullptr,
     [](const CNstQeIfc& st) {
         EXPECT_EQ(cv0(st).length, 2304u);
         EXPECT_EQ(drum(st).length, 1536u);
     }},
    {"numerator 0", [](QeStyleLayout& s) { s.elements[0].signature = 0x02; }, {},
     "CQeStyleReader::Read() - Element 0 has numerator 0; read as 4/4",
     [](const CNstQeIfc& st) {
         EXPECT_EQ(st.FindElement(0)->numerator, 4);
         EXPECT_EQ(cv0(st).bars, 1);
     }},
    {"pattern length 0", [](QeStyleLayout& s) { s.patterns[0].length = 0; }, {kPatternWarning}, nullptr,
     [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).length, 1536u); }},
    {"CV length 0", [](QeStyleLayout& s) { s.elements[0].cvs[0] = qeCv(0, PropStreamBuilder().start(0, 0).end(0), {{0, 0}}); },
     {kCvWarning}, nullptr, [](const CNstQeIfc& st) { EXPECT_EQ(cv0(st).length, 1536u); }},
    {"use stopped before its pattern ends",
     [](QeStyleLayout& s) { s.elements[0].cvs[0].stream = PropStreamBuilder().start(0, 0).stop(768, 0).end(1536); },
     {kPatternWarning}, nullptr, [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).length, 768u); }},
    {"name of 40 characters", [](QeStyleLayout& s) { s.header = zib::test::qeHeaderRecord(std::string(40, 'n'), 0, 0, 1); },
     {}, "CQeStyleReader::Read() - Style name of 40 characters cut to 31",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.name(), std::string(31, 'n')); }},
    {"30 chord-assign bytes",
     [](QeStyleLayout& s) {
         s.elements[0].chordAssign.assign(30, 0);
         s.elements[0].chordAssign[21] = 5;
         s.elements[0].chordAssign[22] = 4;
     },
     {}, "CQeStyleTree::Parse() - 30 chord-assign bytes; the first 22 are kept",
     [](const CNstQeIfc& st) {
         EXPECT_EQ(st.FindElement(0)->chordAssign[21], 5);
         EXPECT_EQ(st.FindElement(0)->ntt, 1);
     }},
    {"pattern stream longer than its chunk", [](QeStyleLayout& s) { s.patterns[0].declaredSize = 5000; }, {},
     "CQeStyleTree::Parse() - Pattern event stream runs past its chunk; cut to 22 bytes",
     [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).stream, drumNotes()); }},
    {"more uses than pairs", [](QeStyleLayout& s) { s.elements[0].cvs[0].declaredUses = 5; }, {},
     "CQeStyleTree::Parse() - CV record holds 1 of 5 pattern uses",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.QueryPattern(0, 0, 0), 2); }},
    {"pair naming track 9", [](QeStyleLayout& s) { s.elements[0].cvs[0].uses = {{0, 9}}; }, {},
     "CQeStyleReader::Read() - Pattern use 1 names track 9, type 0; ignored",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.QueryChordVar(0, 0), 1); }},
    {"pair of type 3", [](QeStyleLayout& s) { s.elements[0].cvs[0].uses = {{3, 0}}; }, {},
     "CQeStyleReader::Read() - Pattern use 1 names track 0, type 3; ignored",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.QueryPattern(0, 0, 0), 0); }},
    {"map value beyond its chunk count",
     [](QeStyleLayout& s) {
         s.mapChunks = 1;
         s.map = {5};
     },
     {}, "CQeStyleReader::Read() - Pattern map value 5 of use 1 names no pattern; use ignored",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.QueryPattern(0, 0, 0), 0); }},
    {"control event naming a use the CV lacks",
     [](QeStyleLayout& s) { s.elements[0].cvs[0].stream = PropStreamBuilder().start(0, 3).end(1536); }, {},
     "CCvUseTimes::CCvUseTimes() - Control event names pattern use 3 of 1; ignored",
     [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).stream, drumNotes()); }},
    {"more element chunks than mask bits",
     [](QeStyleLayout& s) { s.elements.push_back(s.elements[0]); }, {},
     "CQeStyleReader::Read() - 1 element chunk(s) beyond the mask ignored",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.QueryStyleElem(1), 0); }},
    {"more CV records than mask bits",
     [](QeStyleLayout& s) { s.elements[0].cvs.push_back(s.elements[0].cvs[0]); }, {},
     "CQeStyleReader::Read() - 1 CV chunk(s) beyond the mask ignored",
     [](const CNstQeIfc& st) { EXPECT_EQ(st.QueryChordVar(0, 1), 0); }},
    {"CV longer than a stream can span",
     [](QeStyleLayout& s) { s.elements[0].cvs[0].length = 0xFFFFFFFF; }, {kPatternWarning},
     "CQeStyleReader::Read() - CV length 4294967295 cut to 268435455",
     [](const CNstQeIfc& st) { EXPECT_EQ(cv0(st).length, 268435455u); }},
    {"no pattern map",
     [](QeStyleLayout& s) { s.withMap = false; }, {}, nullptr,
     [](const CNstQeIfc& st) { EXPECT_EQ(drum(st).stream, drumNotes()); }},
};

TEST(CQeStyleReader, DamagedStylesAreRepairedWithTheirTraces)
{
    for (const DamageCase& c : kDamageCases) {
        SCOPED_TRACE(c.name);
        QeStyleLayout layout = oneBarStyle();
        c.damage(layout);
        zib::test::TraceCapture trace;
        const auto style = read(zib::test::qeStyleChunk(layout));
        EXPECT_EQ(warnings(trace), c.warnings);
        if (c.trace) {
            EXPECT_TRUE(trace.contains(c.trace)) << testing::PrintToString(trace.texts());
        }
        c.check(*style);
        // Whatever was read can be written.
        EXPECT_TRUE(CQeStyleWriter::Write(*style));
    }
}

TEST(CQeStyleReader, SharedChunksAreReadThroughThePatternMap)
{
    // Two CVs; the map lets CV 1's drum use play chunk 1 and its bass use
    // chunk 2, and CV 0 play them the other way round.
    const Bytes drums = drumNotes();
    const Bytes bass = PropStreamBuilder().noteOn(0, 40).noteOff(700, 40).end(1536);
    QeStyleLayout layout;
    layout.header = zib::test::qeHeaderRecord("Shared", 0, 0, 0x0001);
    layout.patterns = {qePattern(2, 1536, drums), qePattern(3, 1536, bass, 4, 5)};
    layout.mapChunks = 2;
    layout.map = {2, 1, 1, 2};
    zib::test::QeElementChunk element;
    element.cvMask = 0x03;
    const Bytes starts = PropStreamBuilder().start(0, 0).start(0, 1).end(1536);
    element.cvs = {qeCv(1536, starts, {{1, 2}, {0, 0}}), qeCv(1536, starts, {{0, 0}, {1, 2}})};
    layout.elements = {element};
    zib::test::TraceCapture trace;
    const auto style = read(zib::test::qeStyleChunk(layout));
    EXPECT_TRUE(trace.texts().empty()) << testing::PrintToString(trace.texts());
    for (int cv : {0, 1}) {
        EXPECT_EQ(style->FindChordVar(0, cv)->patterns[0].stream, drums);
        EXPECT_EQ(style->FindChordVar(0, cv)->patterns[2].stream, bass);
        EXPECT_EQ(style->FindChordVar(0, cv)->patterns[2].chord, 4);
        EXPECT_EQ(style->FindChordVar(0, cv)->patterns[2].key, 5);
    }
}

TEST(CQeStyleReader, UsesOfOneTrackAreMergedInPlayingOrder)
{
    // A bar of A, then a bar of B twice over (one use repeating its chunk),
    // then A once more: one drum pattern of four bars.
    const Bytes a = PropStreamBuilder().noteOn(0, 36).noteOff(96, 36).end(1536);
    const Bytes b = PropStreamBuilder().noteOn(0, 38).noteOff(48, 38).end(1536);
    QeStyleLayout layout;
    layout.header = zib::test::qeHeaderRecord("Merged", 0, 0, 0x0001);
    layout.patterns = {qePattern(2, 1536, a), qePattern(2, 1536, b)};
    layout.mapChunks = 2;
    layout.map = {1, 2, 1};
    zib::test::QeElementChunk element;
    element.cvs = {qeCv(6144,
                        PropStreamBuilder().start(0, 0).start(1536, 1).stop(1536, 0).stop(4608, 1).start(4608, 2).end(6144),
                        {{0, 0}, {0, 0}, {0, 0}})};
    layout.elements = {element};
    zib::test::TraceCapture trace;
    const auto style = read(zib::test::qeStyleChunk(layout));
    EXPECT_TRUE(warnings(trace).empty());
    const CNstPattern& merged = style->FindChordVar(0, 0)->patterns[0];
    EXPECT_EQ(merged.length, 6144u);
    EXPECT_EQ(merged.stream, PropStreamBuilder()
                                 .noteOn(0, 36).noteOff(96, 36)
                                 .noteOn(1536, 38).noteOff(1584, 38)
                                 .noteOn(3072, 38).noteOff(3120, 38)
                                 .noteOn(4608, 36).noteOff(4704, 36)
                                 .end(6144));
}

// Every truncation and every one-bit change of a written style (shared and
// split patterns, tempo changes) reads without a fault, and what is read
// can be written again.
TEST(CQeStyleReader, EveryDamageOfAStyleReadsAndWritesAgain)
{
    auto style = CNstQeIfc::NewStyle();
    PropStreamBuilder b;
    for (uint32_t i = 0; i < 64; ++i) b.noteOn(i * 40, uint8_t(36 + i % 8)).noteOff(i * 40 + 20, uint8_t(36 + i % 8));
    style->Pattern(0, 0, 0).SetStream(b.end(3072));
    style->Pattern(0, 0, 0).length = 3072;
    style->Pattern(0, 1, 2).SetStream(drumNotes(3072));
    style->Pattern(0, 1, 2).length = 3072;
    style->Pattern(4, 1, 2).SetStream(drumNotes(3072));
    style->Pattern(4, 1, 2).length = 3072;
    style->ChordVar(0, 1).stream = PropStreamBuilder().tempo(1536, 90).end(3072);
    const auto good = CQeStyleWriter::Write(*style);
    ASSERT_TRUE(good);

    // What is read is written again, and what is written reads again; from
    // then on writing settles (a damaged event may be re-encoded once).
    zib::test::TraceCapture quiet;
    size_t read = 0;
    auto readAndWrite = [&read](const Bytes& chunk) {
        CNstQeIfc damaged;
        if (!CQeStyleReader::Read(chunk, damaged)) return;
        ++read;
        auto written = CQeStyleWriter::Write(damaged);
        ASSERT_TRUE(written) << chunk.size();
        for (int round = 0; round < 2; ++round) {
            CNstQeIfc again;
            ASSERT_TRUE(CQeStyleReader::Read(*written, again)) << chunk.size();
            auto rewritten = CQeStyleWriter::Write(again);
            ASSERT_TRUE(rewritten) << chunk.size();
            if (round == 1) {
                EXPECT_EQ(*rewritten, *written) << chunk.size();
            }
            written = std::move(rewritten);
        }
    };
    for (size_t n = 0; n < good->size(); ++n) readAndWrite(Bytes(good->begin(), good->begin() + long(n)));
    for (size_t at = 0; at < good->size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = *good;
            damaged[at] ^= uint8_t(1 << bit);
            readAndWrite(damaged);
        }
    }
    EXPECT_GT(read, good->size()); // most damages read: the reader repairs rather than refuses
}

} // namespace
} // namespace zib::ulvarf
