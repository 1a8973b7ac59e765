// The supplement of an event clipboard block: its bytes, what a copy notes
// in it, and supplements that are not used (the block then pastes alone).
#include "mididoc/core/EventClipboardSupplement.h"

#include "midi/CMidiParserEx.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zib;
using namespace zib::test;

namespace {

using Supplement = EventClipboardSupplement;

Supplement twoNoteOffs()
{
    Supplement s;
    s.division = 480;
    s.noteOffs = {{0, 0x86, 102}, {3, 0x96, 0}};
    return s;
}

} // namespace

TEST(EventClipboardSupplement, BytesFollowTheLayoutAndReadBack)
{
    const auto bytes = twoNoteOffs().Encode(700, 5);
    // clang-format off
    const std::vector<uint8_t> expected = {
        1, 0, 0, 0,       // kind
        0xBC, 2, 0, 0,    // the block's 700 bytes
        5, 0, 0, 0,       // its records
        0xE0, 1,          // 480 ticks per quarter
        2, 0, 0, 0,       // note-offs
        0, 0, 0, 0, 0x86, 102, // record 0
        3, 0, 0, 0, 0x96, 0,   // record 3
    };
    // clang-format on
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Supplement::Decode(bytes, 700, 5), twoNoteOffs());
    // Bytes after the note-offs are for later kinds of the same layout.
    auto longer = bytes;
    longer.insert(longer.end(), {9, 9, 9});
    EXPECT_EQ(Supplement::Decode(longer, 700, 5), twoNoteOffs());
    // A song counted in SMPTE frames has no quarter note to scale by.
    Supplement frames = twoNoteOffs();
    frames.division = 0xE728;
    EXPECT_EQ(Supplement::Decode(frames.Encode(700, 5), 700, 5).division, 0);
}

TEST(EventClipboardSupplement, OneThatDoesNotHoldIsNotUsed)
{
    const auto good = twoNoteOffs().Encode(700, 5);
    auto with = [&](std::function<void(std::vector<uint8_t>&)> change) {
        auto b = good;
        change(b);
        return b;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        size_t blockSize = 700;
        size_t records = 5;
    };
    const std::vector<Case> cases = {
        {"none", {}},
        {"another kind", with([](auto& b) { b[0] = 2; })},
        {"another block's size", good, 701},
        {"another block's records", good, 700, 6},
        {"short head", std::vector<uint8_t>(good.begin(), good.begin() + 15)},
        {"a note-off cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"more note-offs than bytes", with([](auto& b) { b[14] = 3; })},
        {"out of order", with([](auto& b) { b[18] = 4; })},
        {"twice the same record", with([](auto& b) { b[24] = 0; })},
        {"past the records", with([](auto& b) { b[24] = 5; })},
        {"a note-on with a velocity", with([](auto& b) { b[29] = 1; })},
        {"a controller", with([](auto& b) { b[22] = 0xB6; })},
        {"a velocity above 127", with([](auto& b) { b[23] = 0x80; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Supplement::Decode(c.bytes, c.blockSize, c.records), Supplement{});
    }
}

TEST(EventClipboardSupplement, ACopyNotesEachNotesOwnNoteOff)
{
    // Two notes of one key overlap (each pairs with its own note-off), a
    // note-off by a note-on of velocity 0, a note without its note-off, and a
    // controller.
    SmfBuilder smf(1, 480);
    smf.AddTrack().Tempo(0, 500000);
    smf.AddTrack()
        .NoteOn(0, 6, 57, 100)
        .NoteOn(10, 6, 57, 90)
        .NoteOff(20, 6, 57, 102)
        .NoteOff(30, 6, 57, 5)
        .NoteOn(40, 6, 60, 80)
        .NoteOn(50, 6, 60, 0)
        .Controller(60, 6, 7, 90)
        .NoteOn(70, 6, 62, 80);
    const auto image = smf.Build();
    CMidiParserEx seq;
    ASSERT_EQ(seq.ParseImage(image.data(), uint32_t(image.size())), 0);
    seq.Renumber(0);
    std::vector<const CMidiEvent*> copied;
    for (const auto& e : seq.GetEvents())
        if (e->track == 1 && (e->status & 0xF0) != 0x80 && !((e->status & 0xF0) == 0x90 && e->data[1] == 0))
            copied.push_back(e.get());
    ASSERT_EQ(copied.size(), 5u);
    const Supplement s = Supplement::Of(seq, copied);
    EXPECT_EQ(s.division, 480);
    const std::vector<Supplement::NoteOff> expected = {{0, 0x86, 102}, {1, 0x86, 5}, {2, 0x96, 0}};
    EXPECT_EQ(s.noteOffs, expected);
}
