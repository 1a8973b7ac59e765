#include "styles/CQeMidiCollect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "styles/CQeStyleInfo.h"
#include "styles/PackQe7Bit.h"
#include "tests/styles/CollectedFileCheck.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/ReportedError.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace qe_midi_collect_test {

using test::Collected;
using test::CollectedCommandCheck;
using test::contains;
using test::markers;
using test::markerTexts;
using test::QeEditorStyleBuilder;
using test::SmfBuilder;
using test::SmfListing;
using test::SmfTrack;
using test::TempDir;

constexpr const char* kTerminators[] = {"V11", "V12", "V13", "V14", "V15", "V16", "V21", "V22", "V23", "V24",
                                        "V25", "V26", "V31", "V32", "V33", "V34", "V35", "V36", "V41", "V42",
                                        "V43", "V44", "V45", "V46", "I11", "I12", "I21", "I22", "F11", "F12",
                                        "F21", "F22", "E11", "E12", "E21", "E22", "F31", "F32", "I31", "I32"};

std::string terminator(int e, int cv)
{
    return kTerminators[e < 4 ? e * 6 + cv : e * 2 + 16 + cv];
}

// The system-exclusive messages of each track: status, then the data.
class SysExListing : public CMidiFile {
public:
    struct Message {
        int track;
        uint32_t tick;
        std::vector<uint8_t> data;
    };
    std::vector<Message> messages;

protected:
    int OnSysEx() override
    {
        std::vector<uint8_t> data(GetEventBytes());
        if (!data.empty() && ReadBytes(data.data(), uint32_t(data.size())) != 0) return 99;
        messages.push_back(Message{GetTrackIndex(), m_trackTime, std::move(data)});
        return 0;
    }
};

std::unique_ptr<Collected> collect(const std::filesystem::path& picked,
                                   const QeCvCollectSettings& settings = {},
                                   const QeCollectStyleInfo* info = nullptr,
                                   const QeStyleItem* item = nullptr)
{
    std::ostringstream log;
    const CvCollectResult result = CollectQeCvMidi(picked, settings, &log, info, item);
    return Collected::Of(result, log.str());
}

size_t noteOnCount(const SmfListing& listing, int firstTrack)
{
    return size_t(
        std::count_if(listing.events.begin(), listing.events.end(), [&](const SmfListing::Event& e) {
            return e.track >= firstTrack && (e.status & 0xF0) == 0x90 && e.data.size() == 2 && e.data[1] > 0;
        }));
}

// Undoes the 7-bit groups (written here independently of the collector).
std::vector<uint8_t> unpack7Bit(const std::vector<uint8_t>& packed)
{
    std::vector<uint8_t> out;
    for (size_t at = 0; at < packed.size();) {
        const uint8_t high = packed[at++];
        for (int i = 0; i < 7 && at < packed.size(); ++i)
            out.push_back(uint8_t(packed[at++] | ((high >> i & 1) << 7)));
    }
    return out;
}

// A Qe style with settings in every table: VAR1 CV1 and CV4, INT1 CV1, and
// INT3 CV2 without a first CV.
std::vector<uint8_t> settingsStyle()
{
    QeEditorStyleBuilder b;
    b.cvWithNotes(0, 0, {0, 2, 3})
        .cvWithNotes(0, 3, {0, 5, 7}, 2)
        .cvWithNotes(4, 0, {1, 2})
        .cvWithNotes(11, 1, {3});
    b.chordKey(0, 0, 2, 7, 9).chordKey(0, 0, 3, 12, 2).chordKey(0, 3, 5, 2, 5).chordKey(0, 3, 7, 21, 11);
    b.trackMode(0, 0).trackMode(1, 1).trackMode(2, 2).trackMode(3, 1);
    b.tension(3, 0).tension(4, 1).tension(5, 0).tension(6, 1).tension(7, 1);
    b.ntt(0, 2).ntt(4, 3);
    b.chordAssign(0, 7, 3).chordAssign(0, 12, 0).chordAssign(11, 0, 1);
    b.range(0, 2, 28, 60).range(0, 3, 48, 96).range(11, 3, 40, 80);
    b.program(0, 2, 0x01020021u).program(4, 1, 0x78000005u);
    return b.resource();
}

struct StyleSet {
    TempDir dir;
    std::vector<uint8_t> resource;
    QeCollectStyleInfo info;
    size_t notes = 0;
};

// The CV files of a style as the style export writes them: "<name>_tmp_<terminator>.mid".
std::unique_ptr<StyleSet> exportStyle(const std::vector<uint8_t>& resource, const std::string& name)
{
    auto set = std::make_unique<StyleSet>();
    set->resource = resource;
    CQeStyleInfo info(resource);
    set->info = QeCollectStyleInfo::FromStyleInfo(info);
    for (int e = 0; e < 12; ++e)
        for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv) {
            if (!info.HasChordVar(e, cv)) continue;
            const auto path = set->dir / (name + "_tmp_" + terminator(e, cv) + ".mid");
            EXPECT_EQ(info.CreateMidiFromQeCvOrTrack(e, cv, 255, path, 1), 1);
            SmfListing cvListing;
            EXPECT_EQ(cvListing.Read(test::readFileBytes(path)), 0);
            set->notes += noteOnCount(cvListing, 0);
        }
    return set;
}

TEST(CQeMidiCollect, CollectsAStyleExportWithItsSettingsAsTextCommands)
{
    const auto set = exportStyle(settingsStyle(), "Style");
    const QeStyleItem item{"MyStyle", set->resource};
    const auto c = collect(set->dir / "Style_tmp_V11.mid", {}, &set->info, &item);
    ASSERT_EQ(c->code, 0) << c->errorText << "\n" << c->log;
    EXPECT_EQ(c->output, set->dir / "Style_QECOLLECT.MID");
    EXPECT_EQ(c->listing.GetDivision(), 384);
    ASSERT_EQ(c->listing.GetTrackCount(), 9); // the conductor and channels 9-16
    EXPECT_EQ(noteOnCount(c->listing, 1), set->notes);

    // The converter's text commands take every setting back.
    CollectedCommandCheck check(QeStyleSeries());
    ASSERT_EQ(check.Read(c->file), 0);
    EXPECT_EQ(check.fatal, 0);
    EXPECT_EQ(check.State().errors, 0) << check.Log();
    EXPECT_EQ(check.State().warnings, 0) << check.Log();
    const StyleCommandState& s = check.State();
    EXPECT_EQ(s.styleName, "Style");
    for (int e = 0; e < 12; ++e)
        EXPECT_TRUE(s.elementFound[size_t(e)]) << e;
    EXPECT_EQ(s.rflag, (std::array<int, 8>{0, 1, 2, 1, 2, 2, 2, 2}));
    EXPECT_EQ(s.tension, (std::array<int, 8>{0, 0, 0, 0, 1, 0, 1, 1}));
    EXPECT_EQ(s.ntt[0], 2);
    EXPECT_EQ(s.ntt[4], 3);
    EXPECT_EQ(s.chordTable[0][7], 3);
    EXPECT_EQ(s.rangeLow[0][2], 28);
    EXPECT_EQ(s.rangeHigh[0][3], 96);
    // INT3 has no file for its first CV, so its table and ranges are not written.
    EXPECT_EQ(s.chordTable[11][0], 0);
    EXPECT_EQ(s.rangeLow[11][3], 21);
    EXPECT_EQ(s.rangeHigh[11][3], 108);
    // Key and chord of the CVs (the first BASS or ACC pattern) and of each pattern.
    EXPECT_EQ(s.cvChord[0][0], 9 * 22 + 7);
    EXPECT_EQ(s.cvChord[0][3], 5 * 22 + 2);
    EXPECT_EQ(s.trackKey[0][0][3], 2);
    EXPECT_EQ(s.trackChord[0][0][3], 12);
    EXPECT_EQ(s.trackKey[0][3][7], 11);
    EXPECT_EQ(s.trackChord[0][3][7], 21);

    // KeyChord markers for every CV with a file; the element's tables only
    // with its first CV, when that has a file.
    const auto conductor = markerTexts(c->listing, 0);
    const auto cv4 = std::find(conductor.begin(), conductor.end(), "CV: FMaj7");
    ASSERT_NE(cv4, conductor.end());
    const std::vector<std::string> afterCv4(cv4 + 1, cv4 + 7);
    EXPECT_EQ(afterCv4, (std::vector<std::string>{"KeyChord: 9, CMajor", "KeyChord: 12, CMajor",
                                                  "KeyChord: 13, CMajor", "KeyChord: 14, FMaj7",
                                                  "KeyChord: 15, CMajor", "KeyChord: 16, BNo3rdNo5th"}));
    EXPECT_EQ(cv4[7], "CV: CMajor"); // CV5 has no file: no table markers follow CV4
    EXPECT_EQ(std::count_if(conductor.begin(), conductor.end(),
                            [](const std::string& m) { return m.rfind("Table: ", 0) == 0; }),
              2 * 22); // VAR1 and INT1; not INT3, whose first CV has no file
    EXPECT_EQ(std::count_if(conductor.begin(), conductor.end(),
                            [](const std::string& m) { return m.rfind("Range: ", 0) == 0; }),
              2 * 8);
    EXPECT_EQ(std::count_if(conductor.begin(), conductor.end(),
                            [](const std::string& m) { return m.rfind("NTT: ", 0) == 0; }),
              2);

    // The channel tracks: "__" markers and each element's set-up at its start.
    const auto bass = markerTexts(c->listing, 1);
    EXPECT_EQ(bass[0], "__Element: VAR1");
    EXPECT_EQ(bass[1], "__CV: CMajor");
    std::vector<std::string> bassPrograms;
    for (const auto& line : c->listing.lines)
        if (line.rfind("1 ", 0) == 0 && line.find("ch C8") != std::string::npos) bassPrograms.push_back(line);
    ASSERT_GE(bassPrograms.size(), 3u);
    EXPECT_EQ(bassPrograms[0], "1 0 ch C8 33");    // the heads
    EXPECT_EQ(bassPrograms[1], "1 1536 ch C8 33"); // VAR1 CV1

    // The style item, packed, right after the conductor's last event.
    SysExListing sysex;
    ASSERT_EQ(sysex.ParseMemory(c->file.data(), uint32_t(c->file.size())), 0);
    ASSERT_EQ(sysex.messages.size(), 1u);
    EXPECT_EQ(sysex.messages[0].track, 0);
    std::vector<uint8_t> packed = sysex.messages[0].data;
    ASSERT_EQ(packed.back(), 0xF7);
    packed.pop_back();
    EXPECT_EQ(packed.size(), PackedQe7BitSize(28 + set->resource.size()));
    EXPECT_TRUE(std::all_of(packed.begin(), packed.end(), [](uint8_t b) { return b < 0x80; }));
    std::vector<uint8_t> expected = {'D', 'A', 'S', 'K', 'Q', 'E', 'S', 'T', 'S',
                                     ' ', 'M', 'y', 'S', 't', 'y', 'l', 'e'};
    expected.resize(28, 0);
    expected.insert(expected.end(), set->resource.begin(), set->resource.end());
    EXPECT_EQ(unpack7Bit(packed), expected);
    EXPECT_EQ(conductor.back(), "End of MIDI file");
    EXPECT_EQ(c->log.find("Number of errors found"), std::string::npos);
}

TEST(CQeMidiCollect, ThePadExportEmbedsNoItem)
{
    QeEditorStyleBuilder b;
    b.cvWithNotes(0, 0, {0, 2});
    const auto set = exportStyle(b.resource(), "Pad");
    const QeStyleItem empty{"Empty", {}};
    for (const QeStyleItem* item : {static_cast<const QeStyleItem*>(nullptr), &empty}) {
        const auto c = collect(set->dir / "Pad_tmp_V11.mid", {}, &set->info, item);
        ASSERT_EQ(c->code, 0) << c->errorText;
        EXPECT_EQ(c->output, set->dir / "Pad_QECOLLECT.MID");
        SysExListing sysex;
        ASSERT_EQ(sysex.ParseMemory(c->file.data(), uint32_t(c->file.size())), 0);
        EXPECT_TRUE(sysex.messages.empty());
        // A style without FILL3 and INT3: ten elements.
        const auto texts = markerTexts(c->listing, 0);
        EXPECT_FALSE(contains(texts, "Element: FILL3"));
        EXPECT_TRUE(contains(texts, "Element: END2"));
    }
}

TEST(CQeMidiCollect, WithoutStyleInformation)
{
    TempDir dir;
    test::writeBytes(dir / "Plain_tmp_V11.mid", test::qeCvSmf({0, 2}, 1, 1));
    const auto ten = collect(dir / "Plain_tmp_V11.mid");
    ASSERT_EQ(ten->code, 0) << ten->errorText;
    // No "_tmp_" cut, C major CVs, no settings commands, no item.
    EXPECT_EQ(ten->output, dir / "Plain_tmp__QECOLLECT.MID");
    const auto texts = markerTexts(ten->listing, 0);
    EXPECT_EQ(texts[0], "Name: Plain_tmp_");
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& m) { return m.rfind("Element: ", 0) == 0; }),
              10);
    for (const char* absent : {"Element: FILL3", "Element: INT3"})
        EXPECT_FALSE(contains(texts, absent));
    for (const std::string& t : texts)
        EXPECT_TRUE(t.rfind("Name: ", 0) == 0 || t.rfind("Element: ", 0) == 0 || t == "CV: CMajor" ||
                    t == "End of MIDI file")
            << t;

    // One INT3 file makes it 12 elements; FILL3 and INT3 CV1 are one empty bar each.
    test::writeBytes(dir / "Plain_tmp_I32.mid", test::qeCvSmf({7}, 1, 1));
    const auto twelve = collect(dir / "Plain_tmp_V11.mid");
    ASSERT_EQ(twelve->code, 0);
    const auto timed = markers(twelve->listing, 0);
    auto at = [&](const std::string& text) {
        for (const std::string& m : timed)
            if (m.substr(m.find(' ') + 1) == text) return std::stoul(m.substr(0, m.find(' ')));
        return 0ul;
    };
    const unsigned long fill3 = at("Element: FILL3");
    const unsigned long int3 = at("Element: INT3");
    ASSERT_GT(fill3, 0u);
    EXPECT_EQ(int3, fill3 + 2 * 1536); // two empty 4/4 bars
    EXPECT_TRUE(contains(timed, std::to_string(int3 + 1536) + " CV: CMajor"));
    CollectedCommandCheck check(QeStyleSeries());
    ASSERT_EQ(check.Read(twelve->file), 0);
    EXPECT_EQ(check.State().errors, 0) << check.Log();
    EXPECT_TRUE(check.State().extendedStyle);
}

TEST(CQeMidiCollect, KeyChordsFromTheSettings)
{
    TempDir dir;
    test::writeBytes(dir / "KcV11.mid", test::qeCvSmf({2}, 1, 1));
    test::writeBytes(dir / "KcV12.mid", test::qeCvSmf({2}, 1, 1));
    test::writeBytes(dir / "KcI11.mid", test::qeCvSmf({2}, 1, 1));
    QeCvCollectSettings settings;
    settings.qeKeyChordDetermination = 0;
    settings.qeKeyChord = "HCz"; // G Maj7, then a bad key: C of the default, chord 'A'
    const auto c = collect(dir / "KcV11.mid", settings);
    ASSERT_EQ(c->code, 0) << c->errorText;
    std::vector<std::string> cvs;
    for (const std::string& t : markerTexts(c->listing, 0))
        if (t.rfind("CV: ", 0) == 0) cvs.push_back(t);
    ASSERT_EQ(cvs.size(), 36u);
    EXPECT_EQ(cvs[0], "CV: GMaj7");
    EXPECT_EQ(cvs[1], "CV: Cmin");    // 'z' -> the default's 'A', missing -> the default's 'H'
    EXPECT_EQ(cvs[24], "CV: CMajor"); // INT1 CV1: the default's "AA"
    EXPECT_TRUE(contains(markerTexts(c->listing, 1), "__CV: GMaj7"));
    CollectedCommandCheck check(QeStyleSeries());
    ASSERT_EQ(check.Read(c->file), 0);
    EXPECT_EQ(check.State().errors, 0) << check.Log();
    EXPECT_EQ(check.State().cvChord[0][0], 7 * 22 + 2);
}

TEST(CQeMidiCollect, ElementSetupAndWhatThePatternsKeep)
{
    TempDir dir;
    SmfBuilder var1(1, 384);
    var1.AddTrack().TimeSig(0, 4, 2);
    var1.AddTrack()
        .Program(0, 11, 5)
        .Controller(0, 11, 11, 90)
        .Controller(0, 11, 7, 99)
        .Controller(0, 11, 10, 20)
        .NoteOn(0, 11, 60, 100)
        .PitchBend(100, 11, 8000)
        .KeyPressure(110, 11, 60, 3)
        .ChannelPressure(120, 11, 4)
        .NoteOff(384, 11, 60)
        .Program(3072, 11, 9) // bar 3
        .NoteOn(3072, 11, 62, 100)
        .NoteOff(3200, 11, 62);
    test::writeBytes(dir / "SetupV11.mid", var1.Build());
    SmfBuilder var2(1, 384);
    var2.AddTrack().TimeSig(0, 4, 2);
    var2.AddTrack().Program(0, 11, 7).NoteOn(0, 11, 64, 100).NoteOff(100, 11, 64);
    test::writeBytes(dir / "SetupV21.mid", var2.Build());

    const auto c = collect(dir / "SetupV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText;
    std::vector<std::string> acc1;
    for (const auto& line : c->listing.lines)
        if (line.rfind("4 ", 0) == 0 && line.find(" ch ") != std::string::npos) acc1.push_back(line);
    // Heads and VAR1's set-up: expression 90, bank 121/0, program 5; VAR2's program 7.
    for (const char* expected : {"4 0 ch BB 11 90", "4 0 ch BB 0 121", "4 0 ch BB 32 0", "4 0 ch CB 5",
                                 "4 1536 ch CB 5", "4 1536 ch BB 7 99", "4 1636 ch EB 64 62"})
        EXPECT_TRUE(contains(acc1, expected)) << expected;
    EXPECT_EQ(std::count_if(acc1.begin(), acc1.end(),
                            [](const std::string& l) { return l.find("ch CB 9") != std::string::npos; }),
              0);
    EXPECT_EQ(std::count_if(acc1.begin(), acc1.end(),
                            [](const std::string& l) {
                                return l.find("ch AB") != std::string::npos ||
                                       l.find("ch DB") != std::string::npos;
                            }),
              0);
    EXPECT_EQ(std::count_if(acc1.begin(), acc1.end(),
                            [](const std::string& l) { return l.find("ch BB 10 20") != std::string::npos; }),
              0);
    const auto var2Start = std::find_if(acc1.begin(), acc1.end(), [](const std::string& l) {
        return l.find("ch CB 7") != std::string::npos;
    });
    EXPECT_NE(var2Start, acc1.end());
    EXPECT_NE(
        c->log.find("Program     | chan=12   | contr #5   | value=5 --- Saved as default for Element: VAR1"),
        std::string::npos);
    EXPECT_NE(c->log.find("Program     | chan=12   | pgm #=9 --- IGNORED"), std::string::npos);
    EXPECT_NE(c->log.find("Ctrl-Panpot | chan=12   | contr #10  | value=20 --- IGNORED"), std::string::npos);
}

TEST(CQeMidiCollect, VexSoundMessagesGoToTheirChannels)
{
    TempDir dir;
    const std::vector<uint8_t> vexOn = {0x42, 0x3F, 0x78, 0x01, 0x01, 0x0B, 0x40, 0x64, 0xF7};
    const std::vector<uint8_t> badChannel = {0x42, 0x3F, 0x78, 0x01, 0x01, 0x13, 0x40, 0x64, 0xF7};
    const std::vector<uint8_t> other = {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    SmfBuilder smf(1, 384);
    smf.AddTrack().TimeSig(0, 4, 2).SysEx(0, vexOn);
    smf.AddTrack()
        .NoteOn(0, 11, 60, 100)
        .SysEx(10, vexOn)
        .SysEx(20, badChannel)
        .SysEx(30, other)
        .NoteOff(300, 11, 60);
    test::writeBytes(dir / "VexV11.mid", smf.Build());

    const auto c = collect(dir / "VexV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText;
    SysExListing sysex;
    ASSERT_EQ(sysex.ParseMemory(c->file.data(), uint32_t(c->file.size())), 0);
    ASSERT_EQ(sysex.messages.size(), 1u);
    EXPECT_EQ(sysex.messages[0].track, 4); // ACC1, channel 12
    EXPECT_EQ(sysex.messages[0].tick, 1536u + 10u);
    EXPECT_EQ(sysex.messages[0].data, vexOn);
    EXPECT_NE(c->log.find("Sysex      | chan=12   | Len=     9"), std::string::npos);
    EXPECT_NE(c->log.find("Warning: Unexpected channel in Qe9z VexSound event: 19"), std::string::npos);
}

TEST(CQeMidiCollect, SignaturesOfLaterCvs)
{
    TempDir dir;
    SmfBuilder same(1, 384);
    same.AddTrack().TimeSig(0, 4, 2);
    same.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(100, 9, 36);
    test::writeBytes(dir / "SigV11.mid", same.Build());
    test::writeBytes(dir / "SigV12.mid", same.Build());
    SmfBuilder other(1, 384);
    other.AddTrack().TimeSig(0, 3, 2);
    other.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(100, 9, 36);
    test::writeBytes(dir / "SigV13.mid", other.Build());

    const auto c = collect(dir / "SigV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText;
    std::vector<std::string> signatures;
    for (const auto& line : c->listing.lines)
        if (line.rfind("0 ", 0) == 0 && line.find("timesig") != std::string::npos) signatures.push_back(line);
    // The heads and VAR1's first CV; the signatures of CV2 and CV3 are not
    // copied, even where CV3 changes the bars.
    // (the later elements, without files, are forced to 4/4)
    ASSERT_GE(signatures.size(), 3u);
    EXPECT_EQ(signatures[0], "0 0 timesig 4/2^2 24 8");
    EXPECT_EQ(signatures[1], "0 1536 timesig 4/2^2 24 8");
    EXPECT_EQ(signatures[2], "0 9216 timesig 4/2^2 24 8"); // VAR2
    EXPECT_EQ(std::count_if(signatures.begin(), signatures.end(),
                            [](const std::string& l) { return l.find("timesig 3/") != std::string::npos; }),
              0);
    EXPECT_NE(c->log.find("Time sig    |  4/4      | MIDI-clocks/click=24 | 32nds/quarter=8 --- IGNORED"),
              std::string::npos);
    EXPECT_NE(c->log.find("Time sig    |  3/4      | MIDI-clocks/click=24 | 32nds/quarter=8 --- IGNORED"),
              std::string::npos);
    // CV3 still lasts one bar of its own signature: the empty CV4 starts a 3/4 bar after it.
    const auto& lines = c->listing.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0 4608 meta6 \"CV: CMajor\""), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0 5760 meta6 \"CV: CMajor\""), lines.end());
}

TEST(CQeMidiCollect, FailuresWriteNothing)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int code;
        const char* logText;
    };
    SmfBuilder shared(1, 384);
    shared.AddTrack().TimeSig(0, 4, 2);
    shared.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(10, 9, 36);
    shared.AddTrack().NoteOn(0, 11, 60, 100).NoteOff(10, 11, 60);
    shared.AddTrack().NoteOn(20, 11, 64, 100).NoteOff(30, 11, 64);
    SmfBuilder tenTracks(1, 384);
    tenTracks.AddTrack().TimeSig(0, 4, 2);
    for (int t = 0; t < 9; ++t)
        tenTracks.AddTrack().NoteOn(0, t, 60, 100).NoteOff(10, t, 60);
    SmfBuilder vexShared(1, 384);
    vexShared.AddTrack().TimeSig(0, 4, 2);
    vexShared.AddTrack().NoteOn(0, 11, 60, 100).NoteOff(10, 11, 60);
    vexShared.AddTrack().SysEx(0, {0x42, 0x3F, 0x78, 0x01, 0x01, 0x0B, 0x40, 0x64, 0xF7});

    for (const Case& c : std::vector<Case>{
             {"two tracks on one channel", shared.Build(), 113,
              "Error: Last event found in MIDI channel (12) that is already processed in MIDI track 2!!!"},
             {"ten track chunks", tenTracks.Build(), 112, "Error: Found more then 8 channel tracks!!!"},
             {"VexSound of a bound channel", vexShared.Build(), 113, "MIDI channel (12)"}}) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        test::writeBytes(dir / "BadV11.mid", c.file);
        const auto result = collect(dir / "BadV11.mid");
        EXPECT_EQ(result->code, c.code);
        EXPECT_NE(result->log.find(c.logText), std::string::npos) << result->log;
        EXPECT_FALSE(std::filesystem::exists(dir / "Bad_QECOLLECT.MID"));
        // The log ends with the error the collection stopped on.
        EXPECT_TRUE(result->log.ends_with("\n" + result->errorText + "\n")) << result->log;
    }
    TempDir dir;
    const auto badName = collect(dir / "Style.mid");
    EXPECT_EQ(badName->code, 109);
    EXPECT_EQ(badName->errorText, "CQeMidiCollect error: 109 - Chord variation MIDI file name not correct");
}

TEST(CQeMidiCollect, ErrorTexts)
{
    CQeMidiCollect collector;
    struct Case {
        int code;
        const char* text;
    };
    for (const Case& c :
         {Case{106, "CQeMidiCollect error: 106 - Midi format not supported in this function"},
          Case{111, "CQeMidiCollect error: 111 - Base files have different Time Division (PPQN)"},
          Case{112, "CQeMidiCollect error: 112 - Found more then 8 channel tracks"},
          Case{113, "CQeMidiCollect error: 113 - Found event in channel that is already processed"},
          Case{114, ""}, Case{105, ""}, Case{24, "CMidiFile error: 24 - Event data too long"}})
        EXPECT_EQ(test::ReportedError(collector, c.code), c.text) << c.code;
}

TEST(CQeMidiCollect, ReadsRealMidiFiles)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& source : files) {
        SCOPED_TRACE(source.filename().string());
        TempDir dir;
        const auto bytes = test::readFileBytes(source);
        test::writeBytes(dir / "RealV11.mid", bytes);
        test::writeBytes(dir / "RealI31.mid", bytes);
        SmfListing in;
        ASSERT_EQ(in.Read(bytes), 0);

        const auto c = collect(dir / "RealV11.mid");
        ASSERT_EQ(c->code, 0) << c->errorText;
        EXPECT_EQ(noteOnCount(c->listing, 1), 2 * noteOnCount(in, 0));
        CollectedCommandCheck check(QeStyleSeries());
        ASSERT_EQ(check.Read(c->file), 0);
        EXPECT_EQ(check.State().errors, 0) << check.Log();
    }
}

} // namespace qe_midi_collect_test
} // namespace zib
