#include "styles/CWqToQeConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "styles/CQeRecordParser.h"
#include "styles/CSmfTrackReader.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/ByteSamples.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/LibraryStyle.h"
#include "tests/support/QeStyleBodyReader.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/support/WqImageBuilder.h"
#include "ulvarf/ulvarf.h"

namespace zib {
namespace {

using test::LibraryStyle;
using test::PropItem;
using test::PropStreamBuilder;
using test::QeStyleBody;
using test::WqEv;
using test::WqEvents;
using test::WqImageBuilder;

struct Converted {
    int result = 0;
    std::vector<uint8_t> body;
    QeStyleBody parts;
};

Converted convert(const std::vector<uint8_t>& image, char model, size_t capacity = CWqToQeConverter::kOutputCapacity)
{
    Converted out;
    CWqToQeConverter converter;
    out.result = converter.Convert(image, uint32_t(uint8_t(model)), out.body, capacity);
    if (out.result > 0) {
        EXPECT_EQ(size_t(out.result), out.body.size());
        out.parts = test::readQeStyleBody(out.body);
        EXPECT_EQ(out.parts.error, "");
    }
    return out;
}

// The converted body read back through the library's exports: wrapped in a
// one-resource container, extracted and opened in a style editor.
LibraryStyle openConverted(const std::vector<uint8_t>& body)
{
    return LibraryStyle(test::qeConverterStyleImage("Converted", body));
}

// The note events of one CV as the library renders it: "tick on|off channel key velocity"
std::vector<std::string> exportedNotes(const LibraryStyle& style, int e, int cv)
{
    std::vector<std::string> out;
    const std::vector<uint8_t> smf = style.ExportCv(e, cv);
    if (smf.empty()) return {"no export"};
    test::SmfListing listing;
    if (listing.Read(smf) != 0) return {"export does not parse"};
    for (const auto& ev : listing.events) {
        const uint8_t kind = ev.status & 0xF0;
        if (kind != 0x80 && kind != 0x90) continue;
        const bool on = kind == 0x90 && ev.data[1] != 0;
        out.push_back(std::to_string(ev.tick) + (on ? " on " : " off ") + std::to_string(ev.status & 0x0F) + " " +
                      std::to_string(ev.data[0]) + (on ? " " + std::to_string(ev.data[1]) : ""));
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<PropItem> itemsOf(const test::QeBodyPattern& pattern)
{
    bool ok = false;
    auto items = test::readPropStream(pattern.stream, &ok);
    EXPECT_TRUE(ok);
    return items;
}

// "tick on|off key velocity" of the note events of a pattern, in stream order
std::vector<std::string> noteLines(const test::QeBodyPattern& pattern)
{
    std::vector<std::string> out;
    for (const PropItem& item : itemsOf(pattern)) {
        if (item.kind > 1) continue;
        out.push_back(std::to_string(item.tick) + (item.kind ? " on " : " off ") + std::to_string(item.payload[0]) +
                      " " + std::to_string(item.payload[1] & 0x7F));
    }
    return out;
}

// A two-bar VAR1 CV1 in 4/4: DRUM on a lowered drum kit, BASS on a GM sound.
WqImageBuilder smallStyle()
{
    WqImageBuilder b('9');
    b.name("Pop 8 Beat").timeSig(19).tension(0x29);
    b.track(0, 0x0202, 100, 15).track(2, 0x0021, 90, 15);
    b.cv(0, 0, 3, 2); // C# minor
    b.slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::note(192, 30, 80, 24), WqEv::bar(1),
                     WqEv::note(96, 38, 90, 48), WqEv::end(1)});
    b.slot(0, 0, 2, {WqEv::bar(0), WqEv::note(0, 40, 64, 96), WqEv::bar(1), WqEv::end(1)});
    return b;
}

TEST(CWqToQeConverter, WritesTheStyleTreeByteForByte)
{
    const Converted c = convert(smallStyle().build(), '9');
    ASSERT_GT(c.result, 0);
    const QeStyleBody& body = c.parts;

    const std::vector<uint8_t> header = {16, 'P', 'o', 'p', '_', '8', '_', 'B', 'e', 'a', 't', 0,
                                         0,  0,   0,   0,   0,   0xAA, 0xA0, 0x28, 0x00, 0x01};
    EXPECT_EQ(body.header, header);
    EXPECT_EQ(body.mapChunks, 2);
    EXPECT_EQ(body.map, (std::vector<uint16_t>{1, 2}));

    ASSERT_EQ(body.patterns.size(), 2u);
    const auto drum = PropStreamBuilder()
                          .noteOn(0, 36, 100, 9)
                          .noteOff(192, 36, 100, 9)
                          .noteOn(768, 18, 80, 9) // kit note 30 an octave lower
                          .noteOff(864, 18, 80, 9)
                          .noteOn(1536 + 384, 38, 90, 9)
                          .noteOff(1536 + 384 + 192, 38, 90, 9)
                          .end(3072);
    EXPECT_EQ(body.patterns[0].id, 2);
    EXPECT_EQ(body.patterns[0].length, 3072u);
    EXPECT_EQ(body.patterns[0].stream, drum);
    EXPECT_FALSE(body.patterns[0].chordKey);

    const auto bass = PropStreamBuilder().noteOn(0, 40, 64, 8).noteOff(384, 40, 64, 8).end(3072);
    EXPECT_EQ(body.patterns[1].id, 3);
    EXPECT_EQ(body.patterns[1].stream, bass);
    EXPECT_EQ(body.patterns[1].chordKey, std::make_pair(uint8_t(9), uint8_t(1)));

    ASSERT_EQ(body.elements.size(), 1u);
    const auto& element = body.elements[0];
    EXPECT_EQ(element.cvMask, 0x01);
    EXPECT_EQ(element.ntt, 2);
    EXPECT_EQ(element.timeSig, 0x22);
    EXPECT_EQ(element.chordAssign, std::vector<uint8_t>(21, 0));
    const std::vector<uint8_t> tracks = {100, 120, 0, 25, 21, 108, 100, 121, 0, 0,  21, 108, // DRUM kit 2, PERC
                                         100, 121, 0, 33, 21, 108, 100, 121, 0, 0,  21, 108, // BASS, ACC1
                                         100, 121, 0, 0,  21, 108, 100, 121, 0, 0,  21, 108, // ACC2, ACC3
                                         100, 0,   0, 0,  21, 108, 100, 0,   0, 0,  21, 108};
    EXPECT_EQ(element.trackTable, tracks);
    ASSERT_EQ(element.cvs.size(), 1u);
    EXPECT_EQ(element.cvs[0].length, 3072u);
    const std::vector<uint8_t> cvStream = {0x09, 0x7E, 0x00, 0x04, 0x03, 0x00, 0x00, 0x00, 0x09, 0x7E, 0x00,
                                           0x04, 0x03, 0x01, 0x00, 0x00, 0x98, 0x80, 0x09, 0x2F, 0x00, 0x00};
    EXPECT_EQ(element.cvs[0].stream, cvStream);
    EXPECT_EQ(element.cvs[0].uses, (std::vector<std::pair<uint8_t, uint8_t>>{{0, 0}, {1, 2}}));
}

TEST(CWqToQeConverter, TheLibraryReadsTheConvertedStyle)
{
    const Converted c = convert(smallStyle().build(), '9');
    ASSERT_GT(c.result, 0);
    const LibraryStyle style = openConverted(c.body);
    ULStEEditor* h = style.editor();
    ASSERT_NE(h, nullptr);

    char name[32] = {};
    _ULStEGetName(h, name, 16);
    EXPECT_STREQ(name, "Pop_8_Beat");
    EXPECT_EQ(_ULStEQueryStyleElem(h, 0), 2);
    EXPECT_EQ(_ULStEQueryStyleElem(h, 1), 0);
    EXPECT_EQ(_ULStEQueryPattern(h, 0, 0, 0), 2);
    EXPECT_EQ(_ULStEQueryPattern(h, 0, 0, 1), 0);
    EXPECT_EQ(_ULStEQueryPattern(h, 0, 0, 2), 2);
    uint8_t signature = 0, chord = 0, key = 0, mode = 0, tension = 0;
    _ULStEGetSignature(h, 0, &signature);
    EXPECT_EQ(signature, 0x23); // 4/4 packed
    _ULStEGetTrackChord(h, 0, 0, 2, &chord);
    _ULStEGetTrackKey(h, 0, 0, 2, &key);
    EXPECT_EQ(chord, 9);
    EXPECT_EQ(key, 1);
    _ULStEGetTrackMode(h, 2, &mode);
    EXPECT_EQ(mode, 2);
    _ULStEGetTrackTension(h, 5, &tension);
    EXPECT_EQ(tension, 1);
    _ULStEGetTrackTension(h, 4, &tension);
    EXPECT_EQ(tension, 0);
    uint32_t program = 0;
    _ULStEGetTrackProgram(h, 0, 0, &program);
    EXPECT_EQ(program, 120u << 24 | 25u);

    std::vector<std::string> notes = {"0 on 9 36 100", "192 off 9 36",  "768 on 9 18 80",  "864 off 9 18",
                                      "1920 on 9 38 90", "2112 off 9 38", "0 on 8 40 64",  "384 off 8 40"};
    std::sort(notes.begin(), notes.end());
    EXPECT_EQ(exportedNotes(style, 0, 0), notes);
}

TEST(CWqToQeConverter, MakesTheNameOfPermittedCharacters)
{
    struct Case {
        char model;
        std::vector<uint8_t> field; // as stored in the image
        std::vector<uint8_t> name;  // 16 bytes in the header
    };
    const std::vector<Case> cases = {
        {'9', {'R', 'o', 'c', 'k', ' ', '&', 'R', 'o', 'l', 'l'},
         {'R', 'o', 'c', 'k', '_', '_', 'R', 'o', 'l', 'l', 0, 0, 0, 0, 0, 0}},
        {'<', {'B', 'o', 's', 's', 'a', 0, 0, 0, 0, 0}, {'B', 'o', 's', 's', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {'H', {'C', 'a', 'f', 0xE9, '~', '!', 0x7F, '\t', 0, 'x'},
         {'C', 'a', 'f', '_', '~', '!', '_', '_', 0, 'x', 0, 0, 0, 0, 0, 0}},
        {'M', {'S', 'i', 'x', 't', 'e', 'e', 'n', ' ', 'C', 'h', 'a', 'r', 's', '!', '?', '#'},
         {'S', 'i', 'x', 't', 'e', 'e', 'n', '_', 'C', 'h', 'a', 'r', 's', '!', '?', '#'}},
    };
    for (const Case& c : cases) {
        WqImageBuilder b(c.model);
        for (size_t i = 0; i < c.field.size(); ++i) b.headByte(i, c.field[i]);
        b.cv(0, 0, 0, 1).slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 10), WqEv::end(0)});
        const Converted out = convert(b.build(), c.model);
        ASSERT_GT(out.result, 0) << c.model;
        ASSERT_EQ(out.parts.header.size(), 22u);
        EXPECT_EQ(out.parts.header[0], 16);
        EXPECT_EQ(std::vector<uint8_t>(out.parts.header.begin() + 1, out.parts.header.begin() + 17), c.name)
            << c.model;
    }
}

// One note in the last bar of a one-bar CV or in the first bar of a two-bar
// CV (4/4: L = 384 Wq ticks, 1536 Qe ticks).
TEST(CWqToQeConverter, FitsNotesToTheirBar)
{
    struct Case {
        const char* what;
        int bars;
        uint16_t time;
        uint16_t duration;
        std::vector<std::string> notes; // in the pattern, Qe ticks
    };
    const std::vector<Case> cases = {
        {"inside the bar", 2, 96, 48, {"384 on 60 100", "576 off 60 100"}},
        {"over the bar line", 2, 300, 200, {"1200 on 60 100", "1536 off 60 100"}},
        {"over the bar line, last bar", 1, 300, 200, {"1200 on 60 100", "1528 off 60 100"}},
        {"at the last tick, last bar", 1, 383, 10, {"1528 on 60 100", "1532 off 60 100"}},
        {"tied in", 2, 510, 48, {"192 off 60 100"}},
        {"tied in over the whole bar", 2, 510, 400, {"1536 off 60 100"}},
        {"tied in over the whole bar, last bar", 1, 510, 400, {"1528 off 60 100"}},
        {"held into the next bar", 2, 96, 510, {"384 on 60 100"}},
        {"held, last bar", 1, 96, 510, {"384 on 60 100", "1536 off 60 100"}},
        {"tied through, last bar", 1, 510, 510, {"1536 off 60 100"}},
        {"tied through", 2, 510, 510, {}},
        {"after the bar", 2, 400, 10, {}},
    };
    for (const Case& c : cases) {
        WqImageBuilder b('9');
        b.cv(0, 0, 0, uint8_t(c.bars));
        WqEvents events = {WqEv::bar(0), WqEv::note(c.time, 60, 100, c.duration)};
        if (c.bars == 2) events.push_back(WqEv::bar(1));
        events.push_back(WqEv::end(uint16_t(c.bars - 1)));
        b.slot(0, 0, 3, events);
        const Converted out = convert(b.build(), '9');
        ASSERT_GT(out.result, 0) << c.what;
        ASSERT_EQ(out.parts.patterns.size(), 1u);
        EXPECT_EQ(noteLines(out.parts.patterns[0]), c.notes) << c.what;
        EXPECT_EQ(out.parts.patterns[0].length, uint32_t(1536 * c.bars)) << c.what;
    }
}

TEST(CWqToQeConverter, KeepsPitchBendsAndTheListedControllersOnly)
{
    WqImageBuilder b('9');
    b.cv(0, 0, 0, 1);
    b.slot(0, 0, 4, {WqEv::bar(0), WqEv::control(10, 7, 90), WqEv::control(20, 1, 64), WqEv::pitchBend(30, 0x2000),
                     WqEv::aftertouch(40, 50), WqEv::program(50, 0x0005), WqEv::poly(60, 61, 62),
                     WqEv::control(70, 64, 127), WqEv::control(80, 91, 40), WqEv::raw(0, 0x00, 1, 2), WqEv::end(0)});
    const Converted out = convert(b.build(), '9');
    ASSERT_GT(out.result, 0);
    const std::vector<PropItem> expected = {
        {80, 3, 12, {1, 0xC0}},     // modulation
        {120, 6, 12, {0, 0xC0}},    // pitch wheel: LSB, MSB
        {280, 3, 12, {64, 0xFF}},   // sustain
        {1536, 9, 12, {0x2F, 0, 0}},
    };
    EXPECT_EQ(itemsOf(out.parts.patterns[0]), expected);
}

TEST(CWqToQeConverter, SortsTheEventsOfABarByTime)
{
    WqImageBuilder b('9');
    b.cv(0, 0, 0, 1);
    b.slot(0, 0, 1, {WqEv::bar(0), WqEv::note(200, 50, 60, 10), WqEv::note(0, 51, 60, 200),
                     WqEv::note(200, 52, 60, 10), WqEv::end(0)});
    const Converted out = convert(b.build(), '9');
    ASSERT_GT(out.result, 0);
    const std::vector<std::string> notes = {"0 on 51 60",   "800 on 50 60",  "800 off 51 60",
                                            "800 on 52 60", "840 off 50 60", "840 off 52 60"};
    EXPECT_EQ(noteLines(out.parts.patterns[0]), notes);
}

TEST(CWqToQeConverter, DropsTheBarsBeyondTheCvLength)
{
    WqImageBuilder b('9');
    b.cv(0, 0, 0, 1);
    b.slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 10), WqEv::bar(1), WqEv::note(0, 38, 100, 10),
                     WqEv::end(1)});
    const Converted out = convert(b.build(), '9');
    ASSERT_GT(out.result, 0);
    EXPECT_EQ(noteLines(out.parts.patterns[0]), (std::vector<std::string>{"0 on 36 100", "40 off 36 100"}));
    EXPECT_EQ(out.parts.elements[0].cvs[0].length, 1536u);
}

// A BASS track that refers to a two-bar Wq pattern: bar 0 marked 11 plays
// the pattern's bar 0, bar 1 marked 10 its bar 1.
TEST(CWqToQeConverter, PlaysReferencedPatternsInPlace)
{
    WqImageBuilder b('<');
    b.cv(0, 0, 0, 2);
    b.slot(0, 0, 2, {WqEv::bar(0, 19, 3, 7), WqEv::note(300, 33, 80, 20), WqEv::bar(1, 19, 2, 7), WqEv::end(1)});
    b.pattern(7, 19, 2, {WqEv::bar(0), WqEv::note(0, 40, 100, 96), WqEv::bar(1), WqEv::note(96, 43, 100, 96),
                         WqEv::end(1)});
    const Converted out = convert(b.build(), '<');
    ASSERT_GT(out.result, 0);
    const std::vector<std::string> notes = {"0 on 40 100",    "384 off 40 100", "1200 on 33 80",
                                            "1280 off 33 80", "1920 on 43 100", "2304 off 43 100"};
    EXPECT_EQ(noteLines(out.parts.patterns[0]), notes);
}

TEST(CWqToQeConverter, LowersTheLowNotesOfDrumKits)
{
    struct Case {
        char model;
        int track;
        uint16_t word;
        bool lowered;
    };
    const std::vector<Case> cases = {
        {'9', 0, 0x0200, true},  {'9', 0, 0x0204, true},  {'9', 0, 0x0205, false}, {'9', 0, 0x0206, true},
        {'9', 1, 0x0206, false}, {'9', 1, 0x0201, true},  {'9', 2, 0x0201, false}, {'9', 0, 0x0002, false},
        {'<', 1, 0x020F, true},  {'<', 0, 0x020D, false}, {'H', 1, 0x021A, true},  {'H', 1, 0x0215, false},
        {'I', 0, 0x0426, true},  {'I', 1, 0x0426, false}, {'I', 1, 0x041D, true},  {'I', 0, 0x0200, false},
        {'M', 0, 0x040F, true},  {'M', 1, 0x040F, false}, {'M', 1, 0x0408, true},  {'M', 0, 0x0202, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CWqToQeConverter::IsLoweredDrumKit(uint32_t(uint8_t(c.model)), c.track, c.word), c.lowered)
            << c.model << " track " << c.track << " word " << c.word;

    // Notes 21-34 move, the others stay.
    WqImageBuilder b('M');
    b.track(1, 0x0403, 100, 15);
    b.cv(0, 0, 0, 1);
    b.slot(0, 0, 1, {WqEv::bar(0), WqEv::note(0, 20, 100, 10), WqEv::note(0, 21, 100, 10),
                     WqEv::note(0, 34, 100, 10), WqEv::note(0, 35, 100, 10), WqEv::end(0)});
    const Converted out = convert(b.build(), 'M');
    ASSERT_GT(out.result, 0);
    std::vector<int> keys;
    for (const PropItem& item : itemsOf(out.parts.patterns[0]))
        if (item.kind == 1) keys.push_back(item.payload[0]);
    EXPECT_EQ(keys, (std::vector<int>{20, 9, 22, 35}));
}

// VAR1 with CVs 0, 2, 4, 5 (1 and 3 empty), INT1 and END1 after FILL1:
// compacted CV masks, renumbered chord tables, Qe element order.
TEST(CWqToQeConverter, CompactsCvsAndWritesElementsInQeOrder)
{
    WqImageBuilder b('I');
    const WqEvents oneBar = {WqEv::bar(0), WqEv::note(0, 36, 100, 10), WqEv::end(0)};
    for (int cv : {0, 2, 4, 5}) b.cv(0, cv, uint8_t(2 * cv), 1).slot(0, cv, 0, oneBar);
    b.cv(0, 1, 0, 1); // exists, but holds no events
    b.chordTable(0, {0, 1, 2, 3, 4, 5, 9, 0, 2, 4, 5, 5, 3, 1, 0, 0, 0, 0, 0, 4});
    b.cv(4, 0, 0, 1).slot(4, 0, 2, oneBar);              // INT1
    b.cv(6, 1, 0, 1).slot(6, 1, 3, oneBar);              // END1 CV2
    b.cv(8, 0, 0, 1).cv(8, 1, 0, 1).slot(8, 1, 5, oneBar); // FILL1 CV2 only
    b.chordTable(8, {1, 1, 0, 7, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    const Converted out = convert(b.build(), 'I');
    ASSERT_GT(out.result, 0);

    EXPECT_EQ(out.parts.header[19], 0x00); // tension bits
    EXPECT_EQ(out.parts.header[20] << 8 | out.parts.header[21], 0x0001 | 0x0010 | 0x0040 | 0x0100);
    ASSERT_EQ(out.parts.elements.size(), 4u);
    const auto& var1 = out.parts.elements[0];
    EXPECT_EQ(var1.cvMask, 0x0F);
    const std::vector<uint8_t> var1Chords = {0, 0, 1, 1, 2, 3, 3, 0, 1, 2, 3, 3, 1, 0, 0, 0, 0, 0, 0, 2, 0};
    EXPECT_EQ(var1.chordAssign, var1Chords);
    EXPECT_EQ(var1.cvs.size(), 4u);
    EXPECT_EQ(out.parts.elements[1].ntt, 3); // INT1
    EXPECT_EQ(out.parts.elements[2].cvMask, 0x01);
    EXPECT_EQ(out.parts.elements[2].ntt, 2); // FILL1 before END1
    EXPECT_EQ(out.parts.elements[2].chordAssign,
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(out.parts.elements[3].ntt, 3); // END1
    EXPECT_EQ(out.parts.elements[3].cvs[0].uses, (std::vector<std::pair<uint8_t, uint8_t>>{{2, 3}}));
    // The patterns follow the element order too: VAR1 x 4 DRUM, INT1 BASS, FILL1 ACC3, END1 ACC1.
    std::vector<uint8_t> ids;
    for (const auto& p : out.parts.patterns) ids.push_back(p.id);
    EXPECT_EQ(ids, (std::vector<uint8_t>{2, 2, 2, 2, 3, 4, 4}));

    const LibraryStyle style = openConverted(out.body);
    ULStEEditor* h = style.editor();
    ASSERT_NE(h, nullptr);
    for (int e : {0, 4, 6, 8}) EXPECT_EQ(_ULStEQueryStyleElem(h, e), 2) << e;
    for (int e : {1, 5, 7, 9}) EXPECT_EQ(_ULStEQueryStyleElem(h, e), 0) << e;
    for (int cv = 0; cv < 4; ++cv) EXPECT_EQ(_ULStEQueryChordVar(h, 0, cv), 2) << cv;
    EXPECT_EQ(_ULStEQueryChordVar(h, 0, 4), 0);
    uint8_t assigned = 0;
    _ULStEGetChordAssign(h, 0, 5, &assigned);
    EXPECT_EQ(assigned, 3);
    uint8_t ntt = 0;
    _ULStEGetNTT(h, 8, &ntt);
    EXPECT_EQ(ntt, 3);
    uint8_t chord = 0, key = 0;
    _ULStEGetTrackChord(h, 0, 2, 0, &chord); // CV 4 on DRUM: no chord
    EXPECT_EQ(chord, 0);
    _ULStEGetTrackKey(h, 8, 0, 3, &key);
    EXPECT_EQ(key, 0);
    // Each element chunk counts one pattern use per pattern.
    uint16_t uses = 0, total = 0;
    for (const auto& element : out.parts.elements) {
        CQeRecordParser parser;
        EXPECT_EQ(parser.Parse(element.chunk, uses), 0);
        total = uint16_t(total + uses);
    }
    EXPECT_EQ(total, out.parts.patterns.size());
}

// An Intro in 4/4 whose first bar is a 2/4 pickup: the pickup is padded in
// front to a whole 4/4 bar, with a hi-hat on every beat of the padding on
// DRUM. An Ending with a 5/4 bar takes two 4/4 bars for it.
TEST(CWqToQeConverter, FitsBarsOfOtherSignaturesToWholePatternBars)
{
    WqImageBuilder b('9');
    b.timeSig(19);
    b.cv(4, 0, 0, 2);
    b.slot(4, 0, 0, {WqEv::bar(0, 17), WqEv::note(0, 36, 100, 10), WqEv::bar(1, 19), WqEv::note(0, 38, 100, 10),
                     WqEv::end(1)});
    b.slot(4, 0, 3, {WqEv::bar(0, 17), WqEv::note(96, 60, 100, 96), WqEv::bar(1, 19), WqEv::end(1)});
    b.cv(6, 0, 0, 2);
    b.slot(6, 0, 2, {WqEv::bar(0, 20), WqEv::note(400, 40, 100, 80), WqEv::bar(1, 19), WqEv::note(0, 41, 100, 10),
                     WqEv::end(1)});
    const Converted out = convert(b.build(), '9');
    ASSERT_GT(out.result, 0);
    ASSERT_EQ(out.parts.patterns.size(), 3u);

    const std::vector<std::string> drum = {"0 on 42 72",      "0 off 42 72",     "384 on 42 72",   "384 off 42 72",
                                           "768 on 36 100",   "808 off 36 100",  "1536 on 38 100", "1576 off 38 100"};
    EXPECT_EQ(noteLines(out.parts.patterns[0]), drum);
    EXPECT_EQ(noteLines(out.parts.patterns[1]), (std::vector<std::string>{"1152 on 60 100", "1536 off 60 100"}));
    EXPECT_EQ(out.parts.elements[0].cvs[0].length, 3072u);
    EXPECT_EQ(out.parts.elements[0].timeSig, 0x22);

    const std::vector<std::string> ending = {"1600 on 40 100", "1920 off 40 100", "3072 on 41 100", "3112 off 41 100"};
    EXPECT_EQ(noteLines(out.parts.patterns[2]), ending);
    EXPECT_EQ(out.parts.elements[1].cvs[0].length, 3072u + 1536u);
    EXPECT_EQ(out.parts.patterns[2].length, 4608u);
}

// Bars that all share a signature other than the style's give the pattern
// (and the element) that signature, in any element.
TEST(CWqToQeConverter, TakesTheSignatureTheBarsShare)
{
    WqImageBuilder b('H');
    b.timeSig(19);
    b.cv(1, 0, 0, 2);
    b.slot(1, 0, 0, {WqEv::bar(0, 37), WqEv::note(0, 36, 100, 10), WqEv::bar(1, 37), WqEv::end(1)}); // 6/8
    const Converted out = convert(b.build(), 'H');
    ASSERT_GT(out.result, 0);
    EXPECT_EQ(out.parts.elements[0].timeSig, 6 * 8 + 3);
    EXPECT_EQ(out.parts.elements[0].cvs[0].length, 2u * 1152u);
    const LibraryStyle style = openConverted(out.body);
    uint8_t signature = 0;
    _ULStEGetSignature(style.editor(), 1, &signature);
    EXPECT_EQ(signature, 0x35);
}

TEST(CWqToQeConverter, RefusesWhatItCannotConvert)
{
    const WqEvents oneBar = {WqEv::bar(0), WqEv::note(0, 36, 100, 10), WqEv::end(0)};
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        char model;
        size_t capacity;
        int code;
    };
    auto image = [&](auto&& build, char model = '9') {
        WqImageBuilder b(model);
        build(b);
        return b.build();
    };
    auto valid = image([&](WqImageBuilder& b) { b.cv(0, 0, 0, 1).slot(0, 0, 0, oneBar); });
    auto damaged = valid;
    damaged[534] = 0x10; // offset entry 0 points into the head
    const std::vector<Case> cases = {
        {"no image", {}, '9', 300000, -1},
        {"damaged offset table", damaged, '9', 300000, -1},
        {"image of a layout-A head read as layout B", std::vector<uint8_t>(valid.begin(), valid.begin() + 1170), 'I',
         300000, -1},
        {"unknown model", valid, 'F', 300000, -3},
        {"output below 8 bytes", valid, '9', 7, -2},
        {"no room for the header", valid, '9', 30, -2},
        {"no room for the patterns", valid, '9', 70, -2},
        {"no room for the element", valid, '9', 140, -2},
        {"every CV empty", image([](WqImageBuilder& b) { b.cv(0, 0, 0, 1).cv(4, 1, 0, 2); }), '9', 300000, -8},
        {"CV with no length", image([&](WqImageBuilder& b) { b.cv(0, 0, 0, 0).slot(0, 0, 0, oneBar); }), '9',
         300000, -8},
        {"CV of 17 bars", image([&](WqImageBuilder& b) { b.cv(0, 0, 0, 17).slot(0, 0, 0, oneBar); }), '9', 300000,
         -17},
        {"pattern number 100", image([](WqImageBuilder& b) {
             b.cv(0, 0, 0, 1).slot(0, 0, 0, {WqEv::bar(0, 19, 3, 100), WqEv::end(0)});
         }), '9', 300000, -18},
        {"signature change in a Variation", image([](WqImageBuilder& b) {
             b.cv(2, 0, 0, 2).slot(2, 0, 0, {WqEv::bar(0, 19), WqEv::bar(1, 18), WqEv::end(1)});
         }), '9', 300000, -19},
        {"signature change in Fill2", image([](WqImageBuilder& b) {
             b.cv(9, 1, 0, 2).slot(9, 1, 0, {WqEv::bar(0, 18), WqEv::bar(1, 19), WqEv::end(1)});
         }), '9', 300000, -19},
        {"no end event", image([](WqImageBuilder& b) {
             b.cv(0, 0, 0, 2).slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 10), WqEv::bar(1)});
         }), '9', 300000, -20},
    };
    for (const Case& c : cases) {
        CWqToQeConverter converter;
        std::vector<uint8_t> out(c.capacity, 0xEE);
        EXPECT_EQ(converter.Convert(c.image.data(), c.image.size(), uint32_t(uint8_t(c.model)), out.data(), out.size()),
                  c.code)
            << c.what;
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t v) { return v == 0xEE; }))
            << c.what << ": the output must stay untouched";
        EXPECT_NE(WqToQeErrorText(c.code), nullptr);
    }
    EXPECT_EQ(WqToQeErrorText(-4), nullptr);
    EXPECT_EQ(WqToQeErrorText(1), nullptr);
}

TEST(CWqToQeConverter, ReportsAFailureWithTheStyleName)
{
    WqImageBuilder b('9');
    b.cv(0, 0, 0, 1);
    const WqToQeResult failed = ConvertWqStyleToQe(b.build(), '9', "Ballad 1");
    EXPECT_EQ(failed.code, -8);
    EXPECT_EQ(failed.text, "Style Ballad 1 not converted - Error no: -8");
    EXPECT_TRUE(failed.body.empty());

    const WqToQeResult done = ConvertWqStyleToQe(smallStyle().build(), '9', "Pop 8 Beat");
    EXPECT_EQ(done.code, 0);
    EXPECT_EQ(done.text, "");
    EXPECT_EQ(test::readQeStyleBody(done.body).error, "");
}

// Any event but a bar or an end: notes, controllers, pitch bends, the rest.
WqEv randomEvent(test::SampleRandom& random)
{
    const uint8_t b1 = uint8_t(random.below(2) ? 0x80 | random.next() : random.below(6) << 4 | (random.next() & 0x0F));
    return WqEv::raw(uint8_t(random.next()), b1, uint8_t(random.next()), uint8_t(random.next()));
}

// Whatever a Wq image holds, a converted body is a well-formed tree whose
// patterns walk cleanly and whose elements count their pattern uses.
TEST(CWqToQeConverter, ConvertedBodiesOfRandomStylesAreWellFormed)
{
    test::SampleRandom random(7);
    int converted = 0;
    for (int round = 0; round < 60; ++round) {
        const char model = "9<HIM"[round % 5];
        WqImageBuilder b(model);
        b.timeSig(uint8_t(random.below(3) == 0 ? random.below(64) : 19));
        for (int t = 0; t < 6; ++t) b.track(t, uint16_t(random.below(5) << 8 | random.below(128)), 100, 15);
        for (int p = 0; p < 3; ++p) {
            WqEvents events;
            for (int bar = 0; bar < 2; ++bar) {
                events.push_back(WqEv::bar(uint16_t(bar)));
                for (uint32_t i = random.below(6); i > 0; --i) events.push_back(randomEvent(random));
            }
            events.push_back(WqEv::end(1));
            b.pattern(p, 19, 2, events);
        }
        for (int e = 0; e < 10; ++e)
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv) {
                if (random.below(4) != 0) continue;
                const uint8_t bars = uint8_t(1 + random.below(4));
                b.cv(e, cv, uint8_t(random.below(26)), bars);
                for (int t = 0; t < 6; ++t) {
                    if (random.below(2)) continue;
                    WqEvents events;
                    for (int bar = 0; bar < bars + int(random.below(2)); ++bar) {
                        const uint8_t sig = uint8_t(e >= 4 && e < 8 && random.below(3) == 0 ? 16 + random.below(9) : 19);
                        const bool ref = random.below(4) == 0;
                        events.push_back(WqEv::bar(uint16_t(bar), sig, ref ? uint8_t(2 + random.below(2)) : 0,
                                                   uint8_t(random.below(3))));
                        for (uint32_t i = random.below(8); i > 0; --i) {
                            if (random.below(4) == 0)
                                events.push_back(randomEvent(random));
                            else
                                events.push_back(WqEv::note(uint16_t(random.below(2) ? 510 : random.below(400)),
                                                            uint8_t(random.below(128)), uint8_t(random.below(127)),
                                                            uint16_t(random.below(2) ? 510 : random.below(500))));
                        }
                    }
                    events.push_back(WqEv::end(uint16_t(bars - 1)));
                    b.slot(e, cv, t, events);
                }
            }
        const Converted out = convert(b.build(), model);
        if (out.result < 0) {
            EXPECT_NE(WqToQeErrorText(out.result), nullptr) << out.result;
            continue;
        }
        ++converted;
        for (const auto& pattern : out.parts.patterns) {
            CSmfTrackReader reader;
            EXPECT_EQ(reader.Init(pattern.chunk), 0);
            EXPECT_EQ(reader.GetRunningTime(), pattern.length);
        }
        size_t uses = 0;
        for (const auto& element : out.parts.elements) {
            CQeRecordParser parser;
            uint16_t count = 0;
            EXPECT_EQ(parser.Parse(element.chunk, count), 0);
            uses += count;
        }
        EXPECT_EQ(uses, out.parts.patterns.size());
        const LibraryStyle style = openConverted(out.body);
        EXPECT_NE(style.editor(), nullptr);
    }
    EXPECT_GT(converted, 20);
}

} // namespace
} // namespace zib
