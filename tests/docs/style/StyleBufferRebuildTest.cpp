// Writing an edited chord variation back: the track bytes of a sequence and
// the two rebuilds of the edit frames.
#include "docs/style/core/StyleBufferRebuild.h"
#include "midi/CMidiParserEx.h"
#include "platform/FileIo.h"
#include "styles/CWqStyleFile.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/FakeQeStyleEditor.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::FakeQeStyleEditor;
using test::SmfBuilder;
using Bytes = std::vector<uint8_t>;

// A sequence read from a format-0 file at 384 ticks per quarter note.
std::unique_ptr<CMidiParserEx> sequenceOf(const Bytes& smf)
{
    auto sequence = std::make_unique<CMidiParserEx>();
    EXPECT_EQ(sequence->ParseImage(smf.data(), uint32_t(smf.size())), 0);
    return sequence;
}

// Marks the events with these indexes as VexSound notes.
void markVex(CMidiParserEx& s, std::initializer_list<size_t> indexes)
{
    for (size_t i : indexes)
        s.GetEvent(i)->flags |= CMidiEvent::kVexNoise;
}

TEST(QeTrackBytes, RunningStatusVexSoundAndTheEndOfTheBar)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .TimeSig(0, 4, 2)
        .Controller(0, 5, 7, 100)
        .Controller(0, 5, 10, 64)
        .Marker(10, "m")
        .Controller(10, 5, 7, 90)
        .NoteOn(20, 5, 60, 100)
        .Controller(30, 5, 7, 80)
        .NoteOff(40, 5, 60, 0);
    auto s = sequenceOf(smf.Build());
    ASSERT_EQ(s->GetEventCount(), 8u);
    markVex(*s, {5, 7});
    const QeTrackBytes track = BuildQeTrackBytes(*s);
    ASSERT_EQ(track.error, TrackBytesError::None);
    EXPECT_EQ(track.endTick, 1536u);
    const Bytes expected{
        0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,                   // time signature
        0x00, 0xB5, 0x07, 0x64,                                           // status written
        0x00, 0x0A, 0x40,                                                 // running status
        0x0A, 0xFF, 0x06, 0x01, 'm',                                      // marker
        0x00, 0xB5, 0x07, 0x5A,                                           // status again after a meta
        0x0A, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, 0x01, 0x05, 0x3C, 0x64, 0xF7, // VexSound note on
        0x0A, 0xB5, 0x07, 0x50,                                           // status again after VexSound
        0x0A, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, 0x00, 0x05, 0x3C, 0x00, 0xF7, // VexSound note off
        0x8B, 0x58, 0xFF, 0x2F, 0x00,                                     // end of bar 1: 1536 - 40
    };
    EXPECT_EQ(track.bytes, expected);
}

TEST(QeTrackBytes, EndsAtTheEndOfTheBarOfTheLastEvent)
{
    const struct {
        uint32_t last;
        int numerator, power;
        uint32_t end;
    } cases[] = {
        {3172, 4, 2, 4608}, // bar 3 of 4/4 ends at 3 x 1536
        {3072, 4, 2, 4608}, // on the bar line: that bar counts
        {0, 4, 2, 1536},
        {1200, 3, 2, 2304}, // 3/4: 1152 a bar
        {100, 6, 3, 1152},  // 6/8
    };
    for (const auto& c : cases) {
        SmfBuilder smf(0, 384);
        smf.AddTrack().TimeSig(0, c.numerator, c.power).Controller(c.last, 0, 7, 1);
        auto s = sequenceOf(smf.Build());
        const QeTrackBytes track = BuildQeTrackBytes(*s);
        EXPECT_EQ(track.endTick, c.end) << c.last;
        ASSERT_GE(track.bytes.size(), 3u);
        EXPECT_EQ(Bytes(track.bytes.end() - 3, track.bytes.end()), (Bytes{0xFF, 0x2F, 0x00}));
    }
}

TEST(QeTrackBytes, AVexSoundThatIsNoNoteIsRefused)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack().Controller(0, 3, 7, 1);
    auto s = sequenceOf(smf.Build());
    ASSERT_EQ(s->GetEvent(1)->status, 0xB3) << "after the time signature the reader adds";
    markVex(*s, {1});
    EXPECT_EQ(BuildQeTrackBytes(*s).error, TrackBytesError::VexSound);
}

// The harness of a Qe rebuild over the fake editor.
struct QeRebuild {
    FakeQeStyleEditor editor;
    std::unique_ptr<CMidiParserEx> sequence;
    int edited = 0;
    std::vector<StyNotice> notices;
    int closed = 0, modified = 0;
    std::optional<Bytes> stored;

    QeRebuild()
    {
        SmfBuilder smf(0, 384);
        smf.AddTrack().TimeSig(0, 4, 2).NoteOn(0, 9, 36, 100).NoteOff(96, 9, 36, 0);
        sequence = sequenceOf(smf.Build());
        // The CV as it was before the edit.
        editor.cvWithData(0, 1);
        editor.images[{0, 1}] = Bytes{9, 9, 9};
        for (int t = 0; t < 8; ++t) {
            editor.chord[0][1][size_t(t)] = uint8_t(t);
            editor.key[0][1][size_t(t)] = uint8_t(t + 1);
        }
    }
    int run(bool withSequence = true)
    {
        StyleRebuildContext c;
        c.sequence = withSequence ? sequence.get() : nullptr;
        c.edited = &edited;
        c.notify = [this](const StyNotice& n) { notices.push_back(n); };
        c.closeEventWindow = [this] { ++closed; };
        c.setModified = [this] { ++modified; };
        QeRebuildTarget t;
        t.editor = &editor;
        t.element = 0;
        t.cv = 1;
        t.storeItemData = [this](Bytes b) { stored = std::move(b); };
        return RecreateQeStyleBuffer(c, t);
    }
};

TEST(RecreateQeStyleBuffer, AnEditedTrackReplacesItsCvAndTheStyleIsWrittenOnce)
{
    QeRebuild r;
    r.sequence->SetTrackModified(10, 1);
    EXPECT_EQ(r.run(), 0);
    EXPECT_EQ(r.editor.calls, (std::vector<std::string>{"DeleteChordVar 0 1", "ImportSmf 0 1", "SerializedResource"}));
    const QeTrackBytes track = BuildQeTrackBytes(*r.sequence);
    EXPECT_EQ(r.editor.images[std::make_pair(0, 1)], SmfImageOf(384, {track.bytes}));
    EXPECT_EQ(r.stored, r.editor.resource);
    EXPECT_EQ(r.edited, 0);
    EXPECT_EQ(r.modified, 1);
    EXPECT_EQ(r.sequence->HasModifiedTrack(), 0);
    EXPECT_TRUE(r.notices.empty());
}

TEST(RecreateQeStyleBuffer, TheEditedFlagDecidesWhetherTheStyleIsWritten)
{
    QeRebuild untouched;
    EXPECT_EQ(untouched.run(), 0);
    EXPECT_TRUE(untouched.editor.calls.empty()) << "an event list opened but nothing changed";
    EXPECT_FALSE(untouched.stored);

    QeRebuild dialogsOnly;
    dialogsOnly.edited = 1;
    EXPECT_EQ(dialogsOnly.run(false), 0);
    EXPECT_EQ(dialogsOnly.editor.calls, std::vector<std::string>{"SerializedResource"});
    EXPECT_TRUE(dialogsOnly.stored);
    EXPECT_EQ(dialogsOnly.edited, 0);
    EXPECT_EQ(dialogsOnly.modified, 1);
}

TEST(RecreateQeStyleBuffer, ACvThatCannotBeImportedGetsItsOldDataBack)
{
    QeRebuild r;
    r.sequence->SetTrackModified(10, 1);
    r.editor.importFailures = 1;
    EXPECT_EQ(r.run(), -1);
    EXPECT_EQ(r.editor.images[std::make_pair(0, 1)], (Bytes{9, 9, 9}));
    EXPECT_EQ(r.editor.callsOf("ImportSmf").size(), 2u);
    for (int t = 0; t < 8; ++t) {
        EXPECT_EQ(r.editor.chord[0][1][size_t(t)], t);
        EXPECT_EQ(r.editor.key[0][1][size_t(t)], t + 1);
    }
    EXPECT_EQ(r.edited, 0) << "nothing was edited";
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(r.modified, 0);
    EXPECT_EQ(r.closed, 1);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].English(), "Cannot import MIDI data to style");
    EXPECT_EQ(r.notices[0].caption, "RecreateQeStyleBuffer");
}

TEST(RecreateQeStyleBuffer, FailuresLeaveTheItemAsItWas)
{
    QeRebuild vex;
    vex.sequence->SetTrackModified(10, 1);
    vex.sequence->GetEvent(1)->status = 0xA9; // key pressure is no VexSound note
    markVex(*vex.sequence, {1});
    EXPECT_EQ(vex.run(), -1);
    EXPECT_TRUE(vex.editor.calls.empty());
    EXPECT_EQ(vex.closed, 1);
    EXPECT_EQ(vex.notices.at(0).English(), "Cannot recreate VexSound events");

    QeRebuild noResource;
    noResource.edited = 1;
    noResource.editor.resource.clear();
    EXPECT_EQ(noResource.run(), -1) << "the item is intact: no abort";
    EXPECT_FALSE(noResource.stored);
    EXPECT_EQ(noResource.edited, 1) << "the edits stay for another try";
    EXPECT_EQ(noResource.notices.at(0).English(), "Cannot recreate style buffer");
}

// A Wq style document with one style whose VAR1 CV1 has DRUM and BASS.
struct WqRebuild : test::StyDocHarness {
    test::TempDir dir;
    std::unique_ptr<CMidiParserEx> sequence;
    int edited = 0;
    std::vector<StyNotice> notices;
    int closed = 0, remade = 0;

    WqRebuild()
    {
        EXPECT_TRUE(doc.OpenImage(test::wqStyleFile('9', {test::smallWq8Image("Rock")}), (dir / "A.STY").string()));
        const CStyItem& item = doc.m_StyItems.at(0);
        const CWqStyleFile style(item.data.data(), item.data.size(), '9');
        EXPECT_EQ(style.DumpChordVarToMidi(0, 0, CWqStyleFile::kAllTracks, dir / "cv.mid"), 0);
        Bytes smf;
        EXPECT_EQ(readWholeFile(dir / "cv.mid", smf), FileIoError::None);
        sequence = sequenceOf(smf);
    }
    int run(std::function<int(std::span<const uint8_t>, int, int, int)> replace)
    {
        StyleRebuildContext c;
        c.sequence = sequence.get();
        c.edited = &edited;
        c.notify = [this](const StyNotice& n) { notices.push_back(n); };
        c.closeEventWindow = [this] { ++closed; };
        c.setModified = [this] { doc.SetModified(); };
        WqRebuildTarget t;
        t.element = 0;
        t.cv = 0;
        t.track = 2;
        t.replaceTrackData = std::move(replace);
        t.remakeStyleData = [this] { return ++remade, true; };
        return RecreateOldStyleBuffer(c, t);
    }
};

TEST(RecreateOldStyleBuffer, AnUnchangedCvGivesTheItemWhatItsOwnFileGives)
{
    // What replacing the track by the chord variation's own MIDI file makes of the item.
    WqRebuild direct;
    Bytes smf;
    ASSERT_EQ(readWholeFile(direct.dir / "cv.mid", smf), FileIoError::None);
    ASSERT_EQ(direct.doc.ReplaceWqTrackData(0, smf, 0, 0, 2), 1);
    const Bytes before = direct.doc.m_StyItems[0].data;

    WqRebuild r;
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        if (r.sequence->GetTrackEventCount(t)) r.sequence->SetTrackModified(t, 1);
    EXPECT_EQ(r.run([&r](std::span<const uint8_t> smf, int e, int cv, int track) {
                  return r.doc.ReplaceWqTrackData(0, smf, e, cv, track);
              }),
              0);
    const Bytes& after = r.doc.m_StyItems[0].data;
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], before[i]) << i;
    EXPECT_EQ(r.remade, 1);
    EXPECT_EQ(r.edited, 0);
    EXPECT_TRUE(r.notices.empty());
}

TEST(RecreateOldStyleBuffer, ATrackThatCannotBeReplacedDoesNotAbortTheDocument)
{
    WqRebuild r;
    r.sequence->SetTrackModified(1, 1);
    EXPECT_EQ(r.run([](std::span<const uint8_t>, int, int, int) { return 0; }), -1);
    EXPECT_EQ(r.closed, 1);
    EXPECT_EQ(r.remade, 0);
    EXPECT_EQ(r.sequence->HasModifiedTrack(), 0);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].English(), "Cannot import MIDI data to style");
    EXPECT_EQ(r.notices[0].caption, "RecreateOldStyleBuffer");
}

} // namespace
} // namespace zib
