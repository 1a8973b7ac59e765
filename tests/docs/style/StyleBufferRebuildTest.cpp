// Writing an edited chord variation back: the track bytes of a sequence and
// the two rebuilds of the edit frames.
#include "docs/style/core/StyleBufferRebuild.h"
#include "docs/style/core/QeStyleEditor.h"
#include "midi/CMidiFileParser.h"
#include "midi/CMidiParserEx.h"
#include "mididoc/core/CEventListParser.h"
#include "platform/FileIo.h"
#include "styles/CWqStyleFile.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/FakeQeStyleEditor.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/QeStyleContents.h"
#include "tests/support/RealStyles.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// The events of a sequence in order, each as "tick:status data..." in hex.
std::vector<std::string> eventTexts(CMidiParserEx& s)
{
    std::vector<std::string> out;
    for (const auto& e : s.GetEvents()) {
        std::string text = std::to_string(e->time) + ":";
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", e->status);
        text += hex;
        for (size_t i = 0; i < e->data.size() && i < e->length; ++i) {
            std::snprintf(hex, sizeof hex, " %02X", e->data[i]);
            text += hex;
        }
        out.push_back(text);
    }
    return out;
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

TEST(QeTrackBytes, EndsOnTheBarLineAfterTheLastEvent)
{
    const struct {
        uint32_t last;
        int numerator, power;
        uint32_t end;
        bool noteOff = false;  // the last event ends a note (from tick 0)
        uint32_t readEnd = 0;  // the end of track of the file read (0: at the last event)
    } cases[] = {
        {3172, 4, 2, 4608}, // bar 3 of 4/4 ends at 3 x 1536
        {3072, 4, 2, 4608}, // on the bar line: that bar counts
        {0, 4, 2, 1536},
        {1200, 3, 2, 2304}, // 3/4: 1152 a bar
        {100, 6, 3, 1152},  // 6/8
        {3072, 4, 2, 3072, true},         // a note ending on the bar line ends the bar before
        {3073, 4, 2, 4608, true},
        {100, 4, 2, 3072, false, 3072},   // quiet bars up to the end read stay
        {100, 4, 2, 3072, true, 2000},    // an end read between bar lines goes up to the next
        {3072, 4, 2, 4608, false, 3072},  // an event past the end read makes its bar
    };
    for (const auto& c : cases) {
        SmfBuilder smf(0, 384);
        auto& events = smf.AddTrack().TimeSig(0, c.numerator, c.power);
        if (c.noteOff)
            events.NoteOn(0, 0, 60, 100).NoteOff(c.last, 0, 60);
        else
            events.Controller(c.last, 0, 7, 1);
        if (c.readEnd) events.EndAt(c.readEnd);
        auto s = sequenceOf(smf.Build());
        const QeTrackBytes track = BuildQeTrackBytes(*s);
        EXPECT_EQ(track.endTick, c.end) << c.last << " " << c.noteOff << " " << c.readEnd;
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
    // The CV is not deleted first: its patterns keep their chords and keys.
    EXPECT_EQ(r.editor.calls, (std::vector<std::string>{"ImportSmf 0 1", "SerializedResource"}));
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

TEST(RecreateQeStyleBuffer, ACvThatCannotBeImportedKeepsWhatItHeld)
{
    QeRebuild r;
    r.sequence->SetTrackModified(10, 1);
    r.editor.importFailures = 1;
    EXPECT_EQ(r.run(), -1);
    EXPECT_EQ(r.editor.calls, std::vector<std::string>{"ImportSmf 0 1"});
    EXPECT_EQ(r.editor.images[std::make_pair(0, 1)], (Bytes{9, 9, 9}));
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

// The export starts each created pattern's channel with the element's track
// record (expression, bank select MSB and LSB, program change at tick 0);
// the write-back leaves those out, and keeps the pattern's own events of
// the same kinds and the events of channels without a created pattern.
TEST(RecreateQeStyleBuffer, TheTrackRecordEventsStayOutOfThePattern)
{
    QeRebuild r;
    r.editor.patternStatus[0][1].fill(0);
    r.editor.patternStatus[0][1][2] = 2; // BASS, channel 8
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .TimeSig(0, 4, 2)
        .Controller(0, 8, 11, 100) // the record
        .Controller(0, 8, 0, 121)
        .Controller(0, 8, 32, 0)
        .Program(0, 8, 17)
        .Controller(0, 8, 0, 1) // the pattern's own
        .Program(0, 8, 2)
        .Program(0, 9, 7) // DRUM: no pattern, no record written for it
        .NoteOn(0, 8, 40, 70)
        .Program(768, 8, 17)
        .NoteOff(1536, 8, 40);
    r.sequence = sequenceOf(smf.Build());
    r.sequence->SetTrackModified(9, 1);
    EXPECT_EQ(r.run(), 0);
    const auto events = eventTexts(*sequenceOf(r.editor.images[std::make_pair(0, 1)]));
    EXPECT_EQ(events, (std::vector<std::string>{"0:FF FF 58 04 04 02 18 08", "0:B8 00 01", "0:C8 02", "0:C9 07",
                                                "0:98 28 46", "768:C8 11", "1536:88 28 00"}));
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
    EXPECT_EQ(vex.run(), 0) << "the edit went with its message; closing the frame later tries nothing again";
    EXPECT_EQ(vex.notices.size(), 1u);

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


// ---- A write-back through the library changes only what the user edited ----

// Everything of an element and one of its CVs that a track edit leaves
// alone: the element's signature, NTT, chord assignment and track records,
// each pattern's status, chord and key, and what the element's other CVs
// export. (Reading a pattern's chord makes the pattern: only the patterns
// that are there are read.)
std::vector<std::string> untouchedState(QeStyleEditor& editor, int e, int cv)
{
    std::vector<std::string> out;
    auto add = [&out](const std::string& name, uint32_t value) { out.push_back(name + " " + std::to_string(value)); };
    add("signature", editor.Signature(e));
    add("ntt", editor.Ntt(e));
    for (int i = 0; i < 22; ++i)
        add("assign" + std::to_string(i), editor.ChordAssign(e, i));
    for (int t = 0; t < 8; ++t) {
        const std::string track = std::to_string(t);
        add("expression" + track, editor.TrackExpression(e, t));
        add("program" + track, editor.TrackProgram(e, t));
        add("range" + track, editor.TrackKBRangeLow(e, t) * 256u + editor.TrackKBRangeHigh(e, t));
        add("pattern" + track, uint32_t(editor.QueryPattern(e, cv, t)));
        if (editor.QueryPattern(e, cv, t) == 0) continue;
        add("chord" + track, editor.TrackChord(e, cv, t));
        add("key" + track, editor.TrackKey(e, cv, t));
    }
    for (int other = 0; other < QeStyleEditor::CvCountOf(e); ++other) {
        if (other == cv || editor.QueryChordVar(e, other) == 0) continue;
        const Bytes image = editor.ExportSmf(e, other);
        out.push_back("cv" + std::to_string(other) + " " + std::string(image.begin(), image.end()));
    }
    return out;
}

// The events of a sequence as texts, at each tick the meta events first,
// then each channel's in their order (the order of events of different
// channels at one tick is no part of the music).
std::vector<std::string> byChannel(CMidiParserEx& s)
{
    std::vector<std::string> texts = eventTexts(s);
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto channel = [&s](size_t i) {
        const uint8_t status = s.GetEvent(i)->status;
        return status >= 0xF0 ? -1 : status & 0x0F;
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const uint32_t ta = s.GetEvent(a)->time, tb = s.GetEvent(b)->time;
        return ta != tb ? ta < tb : channel(a) < channel(b);
    });
    std::vector<std::string> out;
    for (size_t i : order)
        out.push_back(texts[i]);
    return out;
}

// The CV as the tree loads it for the track editor.
std::unique_ptr<CEventListParser> cvSequence(QeStyleEditor& editor, int e, int cv)
{
    const Bytes image = editor.ExportSmf(e, cv);
    auto sequence = std::make_unique<CEventListParser>();
    EXPECT_EQ(sequence->ParseImage(image.data(), uint32_t(image.size())), 0);
    return sequence;
}

// The first note-on (velocity above 0) of a style track's channel.
CMidiEvent* firstNoteOf(CMidiParserEx& s, int track)
{
    const uint8_t status = uint8_t(0x90 | CMidiFileParser::QeTrackChannelTable[track]);
    for (const auto& e : s.GetEvents())
        if (e->status == status && e->data.size() >= 2 && e->data[1] > 0) return e.get();
    return nullptr;
}

enum class TrackEdit { Velocity, Duration };

// Edits the first note of `track` in CV (e, cv) as the track editor does and
// writes the CV back: exported again, the CV holds exactly the edited
// events and ends where it did, nothing else of the element changed, and
// the item stored holds what `item` held (the contents of the item before,
// made those of the item stored) but for the edited note's velocity or
// length. Returns whether the CV was written back.
bool expectOnlyTheEditWrittenBack(QeStyleEditor& editor, test::QeStyleContents& item, int e, int cv, int track,
                                  TrackEdit edit)
{
    SCOPED_TRACE("element " + std::to_string(e) + " cv " + std::to_string(cv) + " track " + std::to_string(track));
    const std::vector<std::string> before = untouchedState(editor, e, cv);
    auto sequence = cvSequence(editor, e, cv);
    const std::vector<uint32_t> end = sequence->GetChunkEndTimes();
    CMidiEvent* note = firstNoteOf(*sequence, track);
    EXPECT_NE(note, nullptr);
    if (!note) return false;
    const std::string editedNote = test::qeNoteName(e, cv, track, 1);
    std::string change;
    if (edit == TrackEdit::Velocity) {
        const int velocity = note->data[1] == 50 ? 51 : 50;
        change = editedNote + " velocity: " + std::to_string(note->data[1]) + " -> " + std::to_string(velocity);
        note->data[1] = uint8_t(velocity);
    } else {
        // The note ends half its length earlier.
        for (const auto& off : sequence->GetEvents())
            if (off.get() != note && off->pairId == note->pairId) {
                const uint32_t length = off->time - note->time;
                change = editedNote + " length: " + std::to_string(length) + " -> " + std::to_string(length - length / 2);
                off->time -= length / 2;
            }
        sequence->SortEvents();
    }
    sequence->SetTrackModified(note->track, 1);
    int edited = 0;
    std::vector<StyNotice> notices;
    std::optional<Bytes> stored;
    StyleRebuildContext c;
    c.sequence = sequence.get();
    c.edited = &edited;
    c.notify = [&notices](const StyNotice& n) { notices.push_back(n); };
    QeRebuildTarget t;
    t.editor = &editor;
    t.element = uint8_t(e);
    t.cv = uint8_t(cv);
    t.storeItemData = [&stored](Bytes data) { stored = std::move(data); };
    EXPECT_EQ(RecreateQeStyleBuffer(c, t), 0);
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(stored && !stored->empty());
    if (!stored) return false;
    test::QeStyleContents itemAfter = test::qeStyleContents(*stored);
    EXPECT_EQ(test::contentDifferences(item, itemAfter), std::vector<std::string>{change});
    item = std::move(itemAfter);

    auto again = cvSequence(editor, e, cv);
    EXPECT_EQ(byChannel(*again), byChannel(*sequence));
    EXPECT_EQ(again->GetChunkEndTimes(), end);
    EXPECT_EQ(untouchedState(editor, e, cv), before);
    return true;
}

// A style whose chord variations are not major, with track records of
// their own and patterns that carry their own bank selects and program
// changes: V1 CV1 (Maj7 on A) is two bars whose last note ends on the CV's
// end, V1 CV2 one bar, I1 CV1 (min7 on D, the only CV of its element) two
// bars whose second bar is quiet.
std::unique_ptr<QeStyleEditor> styleWithChords()
{
    SmfBuilder twoBars(0, 384);
    twoBars.AddTrack()
        .TimeSig(0, 4, 2)
        .Controller(0, 8, 0, 121)
        .Program(0, 8, 17)
        .NoteOn(0, 9, 36, 100)
        .NoteOn(0, 8, 45, 70)
        .NoteOff(96, 9, 36)
        .NoteOff(768, 8, 45)
        .NoteOn(1536, 8, 52, 90)
        .NoteOff(3072, 8, 52)
        .EndAt(3072);
    SmfBuilder quietEnd(0, 384);
    quietEnd.AddTrack().TimeSig(0, 4, 2).NoteOn(0, 8, 38, 80).NoteOn(0, 11, 62, 60).NoteOff(384, 8, 38).NoteOff(768, 11, 62).EndAt(3072);
    test::QeEditorStyleBuilder b;
    b.cv(0, 0, twoBars.Build()).cvWithNotes(0, 1, {0, 2, 3}).cv(4, 0, quietEnd.Build());
    for (int t = 0; t < 8; ++t) {
        b.chordKey(0, 0, t, 2, 9).chordKey(0, 1, t, 2, 9).chordKey(4, 0, t, 9, 2);
        b.program(0, t, 121u << 24 | uint32_t(t) << 16 | uint32_t(17 + t)).program(4, t, uint32_t(40 + t));
    }
    auto made = LibraryQeStyleEditor::FromItem(b.resource());
    EXPECT_EQ(made.result, 0);
    return std::move(made.editor);
}

TEST(QeWriteBack, OnlyTheEditedNoteChanges)
{
    const struct {
        int element, cv, track;
        TrackEdit edit;
    } cases[] = {
        {0, 0, 2, TrackEdit::Velocity}, {0, 0, 2, TrackEdit::Duration}, {0, 0, 0, TrackEdit::Velocity},
        {0, 1, 3, TrackEdit::Velocity}, {4, 0, 2, TrackEdit::Velocity}, {4, 0, 3, TrackEdit::Duration},
    };
    for (const auto& c : cases) {
        auto editor = styleWithChords();
        ASSERT_NE(editor, nullptr);
        test::QeStyleContents item = test::qeStyleContents(editor->SerializedResource());
        EXPECT_TRUE(expectOnlyTheEditWrittenBack(*editor, item, c.element, c.cv, c.track, c.edit));
        // A second edit of the same CV is written back the same way.
        EXPECT_TRUE(expectOnlyTheEditWrittenBack(*editor, item, c.element, c.cv, c.track, TrackEdit::Velocity));
    }
}

// Every element of every real converted style: one CV after the other and,
// from one to the next, another track, so that every element, CV and track
// kind has a note edited and written back.
TEST(QeWriteBack, RealConvertedStylesChangeOnlyTheEditedNote)
{
    test::forEachRealStyleEditor([](QeStyleEditor& editor) {
        // The style as any saving leaves it: patterns without events are not kept.
        const std::vector<uint8_t> saved = editor.SerializedResource();
        ASSERT_FALSE(saved.empty());
        test::QeStyleContents item = test::qeStyleContents(saved);
        int turn = 0, writtenBack = 0;
        for (int e = 0; e < editor.ElementCount(); ++e) {
            for (int cv = 0; cv < QeStyleEditor::CvCountOf(e); ++cv) {
                if (editor.QueryChordVar(e, cv) != 2) continue;
                for (int i = 0; i < 8; ++i) {
                    const int track = (turn + i) % 8;
                    auto sequence = cvSequence(editor, e, cv);
                    if (editor.QueryPattern(e, cv, track) != 2 || !firstNoteOf(*sequence, track)) continue;
                    writtenBack += expectOnlyTheEditWrittenBack(editor, item, e, cv, track,
                                                                turn % 3 ? TrackEdit::Velocity : TrackEdit::Duration);
                    break;
                }
                ++turn;
            }
        }
        // Every converted style has notes: a style with no edit written back tested nothing.
        EXPECT_GT(writtenBack, 0);
    });
}

} // namespace
} // namespace zib
