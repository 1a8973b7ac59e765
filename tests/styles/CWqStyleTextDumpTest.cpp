#include "styles/CWqStyleTextDump.h"
#include "tests/support/BuildPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "styles/CWqStyleFile.h"
#include "tests/support/Golden.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
namespace {

using test::WqEv;
using test::WqImageBuilder;

constexpr WqDumpDate kDate{7, 3, 2001};

std::string dump(const std::vector<uint8_t>& image, char model, size_t size = SIZE_MAX)
{
    CWqStyleFile file(image.data(), size == SIZE_MAX ? image.size() : size, uint32_t(model));
    std::ostringstream out;
    EXPECT_EQ(file.DumpToText(out, kDate), 1);
    return out.str();
}

// A small style that holds every event kind, a two-bar pattern reference, an
// empty CV with stray data and a 6/8 CV.
std::vector<uint8_t> goldenStyle(char model)
{
    WqImageBuilder b(model);
    b.name("Golden").origin(1).tempo(100).timeSig(19).retrigger(0x14).tension(0x08);
    b.wrapAround(0, 0).wrapAround(1, 5).wrapAround(2, 11).wrapAround(3, 3);
    b.track(0, model == 'M' ? 0x0403 : 0x0200, 127, 15).track(1, 0x0001, 100, 31).track(2, 0x0145, 90, 0);
    b.track(3, 0x0047, 80, 30).track(4, 0x0100, 70, 255).track(5, 0x0300, 60, 16);
    b.chordTable(0, {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1});
    b.chordTable(4, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 9});
    b.cv(0, 0, 3, 2);
    b.slot(0, 0, 0,
           {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::pitchBend(10, 8192), WqEv::aftertouch(20, 64),
            WqEv::program(30, 0x0009), WqEv::control(40, 7, 90), WqEv::poly(50, 42, 33), WqEv::raw(1, 2, 3, 4),
            WqEv::note(300, 38, 80, 510), WqEv::bar(1), WqEv::note(510, 38, 80, 96), WqEv::end(1)});
    b.slot(0, 0, 2, {WqEv::bar(0, 19, 3, 0), WqEv::bar(1, 19, 2, 0), WqEv::end(1)});
    b.pattern(0, 19, 2, {WqEv::bar(0), WqEv::note(0, 48, 64, 96), WqEv::bar(1), WqEv::note(96, 50, 64, 96), WqEv::end(1)});
    b.cv(0, 1, 1, 0);
    b.slot(0, 1, 0, {WqEv::bar(0), WqEv::end(0)});
    b.cv(4, 0, 22, 1);
    b.slot(4, 0, 1, {WqEv::bar(0, 37), WqEv::note(48, 60, 120, 24), WqEv::end(0)});
    return b.build();
}

void compareWithGolden(const std::string& text, const std::string& name)
{
    test::compareWithGolden(text, (test::SourceDir() / "tests/styles/golden" / name).string());
}

// The golden reports were checked line by line against the report's rules
// for this style (models '9' and 'M'); where each kind of line comes from:
// - head lines: name field (10 / 16 characters), the fixed date, the model's
//   format line, origin 1 "BUILT-IN STYLE", tempo byte + 30, the 4/4 code
//   with "High" (bit 7 clear), retrigger 0x14 (BASS, ACC2 ON), tension 0x08
//   (ACC1 ON), wrap-around points + 1 in width 2;
// - track lines: the sound texts by bank bits (0x200 -> "Dr1" for '9',
//   0x403 -> "Dr14" for 'M'; layout-B letters with a trailing blank; 0x300
//   is "NUL" for '9' and "F11 " for 'M'), volume width 3, the pan texts of
//   15, 31, 0, 30, 255, 16 (CNT, PRG, L15, R15, OFF, R01);
// - CHORDVAR PARAMS: the 36 CV labels in width 12, lengths, key names (3
//   C#min, 1 Cmin, 22 BMajor); CHORDS and the ten chord-table lines, where
//   INT1's entry 9 has no CV name ("???");
// - 100 pattern lines, pattern 0 of 2 bars, the others free (4/4, 0);
// - offsets in hex from the 1168 / 1176-byte head on: 12, 3, 2 and 3 events
//   of 4 bytes in the slots, 5 in pattern 0 (the ": " after "Pattern  0" as
//   in the track offset lines);
// - the event listing: DRUM with every event kind (positions beat.tick from
//   1.00, TIE for 510, an OTHER event by its four bytes, the tied note's
//   length 1.00 in bar 2), BASS playing pattern 00 START then CONTINUED with
//   the pattern's bar 1 and bar 2 notes, INT1's 6/8 note at tick 48 at 2.00,
//   EMPTY for every CV of length 0 (VAR1 CV2 despite its stray data);
// - the pattern dump of pattern 00, unexpanded.
TEST(CWqStyleTextDump, GoldenLayoutA) { compareWithGolden(dump(goldenStyle('9'), '9'), "WqStyleDumpLayoutA.txt"); }

TEST(CWqStyleTextDump, GoldenLayoutB) { compareWithGolden(dump(goldenStyle('M'), 'M'), "WqStyleDumpLayoutB.txt"); }

TEST(CWqStyleTextDump, SoundTexts)
{
    struct Row { char model; uint16_t word; const char* text; };
    const Row rows[] = {
        {'9', 0x0001, "A12"},  {'9', 0x0009, "A22"},  {'9', 0x0040, "B11"},  {'9', 0x0100, "C11"},
        {'9', 0x017F, "U88"},  {'9', 0x0203, "Dr4"},  {'9', 0x0208, "NUL"},  {'9', 0x0300, "NUL"},
        {'<', 0x0300, "D11 "}, {'<', 0x0340, "E11 "}, {'<', 0x020F, "Dr28"}, {'<', 0x0210, "NUL"},
        {'H', 0x021C, "Dr45"}, {'H', 0x021D, "NUL"},  {'M', 0x0140, "D11 "}, {'M', 0x0240, "F11 "},
        {'M', 0x0300, "F11 "}, {'M', 0x0340, "?11 "}, {'M', 0x0409, "Dr22"}, {'I', 0x0340, "G11 "},
        {'I', 0x0400, "R11 "}, {'I', 0x0240, "?11 "}, {'Z', 0x0000, "NUL"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.model << " 0x" << std::hex << r.word);
        EXPECT_EQ(CWqStyleTextDump::GetSoundText(uint32_t(r.model), r.word), r.text);
    }
    std::string text = dump(WqImageBuilder('9').track(0, 0x0001, 100, 15).build(), '9');
    EXPECT_NE(text.find("DRUM: instr=A12 volume=100 pan=CNT"), std::string::npos);
}

TEST(CWqStyleTextDump, NotePositionCountsBeatsOfTheBarsUnit)
{
    auto image = WqImageBuilder('9').cv(0, 0, 0, 1)
                     .slot(0, 0, 0, {WqEv::bar(0, 37), WqEv::note(48, 60, 100, 48), WqEv::control(48, 7, 1), WqEv::end(0)})
                     .build();
    std::string text = dump(image, '9');
    EXPECT_NE(text.find("   2.00  C4   V100   0.48"), std::string::npos) << text;
    EXPECT_NE(text.find("   1.48 CTRL   7   1"), std::string::npos);
}

TEST(CWqStyleTextDump, CvOfLengthZeroIsEmptyWhateverItsOffsets)
{
    auto image = WqImageBuilder('9').cv(2, 4, 0, 0).slot(2, 4, 3, {WqEv::bar(0), WqEv::end(0)}).build();
    std::string text = dump(image, '9');
    EXPECT_NE(text.find("EMPTY: Variation3, CV5\n"), std::string::npos);
    EXPECT_EQ(text.find("=== Variation3, CV5"), std::string::npos);
}

TEST(CWqStyleTextDump, DecreasingEntriesAreFlaggedAndNeverWalkedPastTheImage)
{
    WqImageBuilder b('9');
    b.cv(0, 0, 0, 1).slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 60, 100, 96), WqEv::end(0)});
    b.cv(0, 1, 0, 1).slot(0, 1, 0, {WqEv::bar(0), WqEv::end(0)});
    auto image = b.build();
    // Slot 1 entry points back to the head start; slot 6 far past the end.
    image[534 + 2] = 0x00;
    image[534 + 3] = 0x00;
    image[534 + 12] = 0xF0;
    image[534 + 13] = 0xFF;
    std::string text = dump(image, '9');
    EXPECT_NE(text.find("Variation1 CV1: 0490 0000 ???? 049C "), std::string::npos) << text;
    EXPECT_NE(text.find("Variation1 CV2: FFF0 "), std::string::npos);
    EXPECT_NE(text.find("=== Variation1, CV2, DRUM ===\n\n\n"), std::string::npos);
    // A size cut inside the last run lists only whole events within it.
    std::string cut = dump(image, '9', image.size() - 2);
    EXPECT_NE(cut.find("End Offset: "), std::string::npos);
}

TEST(CWqStyleTextDump, FaultPatternNumberEndsTheTrackListing)
{
    auto image = WqImageBuilder('9').cv(0, 0, 0, 2)
                     .slot(0, 0, 0, {WqEv::bar(0, 19, 3, 120), WqEv::note(0, 60, 100, 10), WqEv::end(0)})
                     .pattern(5, 19, 1, {WqEv::bar(0, 19, 3, 101), WqEv::note(0, 62, 100, 10), WqEv::end(0)})
                     .build();
    std::string text = dump(image, '9');
    auto error = text.find("ERROR: Fault pattern number: 120!!!!!!!!!\n");
    ASSERT_NE(error, std::string::npos);
    EXPECT_EQ(text.find("C4", error), std::string::npos) << "listing went on after the fault";
    // In the pattern dump the fault is reported and the listing goes on.
    auto patternError = text.find("ERROR: Fault pattern number: 101!!!!!!!!!\n");
    ASSERT_NE(patternError, std::string::npos);
    EXPECT_NE(text.find("D4", patternError), std::string::npos);
}

// A track plays at most 16 bars: a damaged track with more pattern references
// lists them all but expands only the first 16, so that overlapping runs of a
// small image cannot blow the listing up.
TEST(CWqStyleTextDump, PatternExpansionStopsAfterSixteenBars)
{
    auto countIn = [](const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    for (int bars : {3, 16, 40}) {
        SCOPED_TRACE(bars);
        test::WqEvents track;
        for (int i = 0; i < bars; ++i) track.push_back(WqEv::bar(uint16_t(i), 19, 3, 0));
        track.push_back(WqEv::end(uint16_t(bars - 1)));
        auto image = WqImageBuilder('9').cv(0, 0, 0, 1).slot(0, 0, 0, track)
                         .pattern(0, 19, 1, {WqEv::bar(0), WqEv::note(0, 61, 100, 10), WqEv::end(0)})
                         .build();
        std::string text = dump(image, '9');
        std::string listing = text.substr(0, text.find("PATTERN DUMP"));
        EXPECT_EQ(countIn(listing, "PATTERN 00 (4/4), START"), size_t(bars));
        EXPECT_EQ(countIn(listing, " C#4 "), size_t(std::min(bars, 16)));
    }
}

TEST(CWqStyleTextDump, ImageSmallerThanHeadWritesNothing)
{
    std::vector<uint8_t> image(1175, 0);
    CWqStyleFile file(image.data(), image.size(), 'M');
    std::ostringstream out;
    EXPECT_EQ(file.DumpToText(out, kDate), 0);
    EXPECT_TRUE(out.str().empty());
}

} // namespace
} // namespace zib
