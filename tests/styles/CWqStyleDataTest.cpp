#include "styles/CWqStyleData.h"

#include <gtest/gtest.h>

#include "tests/support/WqImageBuilder.h"

namespace zib {
namespace {

using test::WqEv;
using test::WqImageBuilder;

TEST(WqStyleLayout, CvIndexAndSlotNumbering)
{
    struct Row { int element, cv, track, cvIndex, slot; };
    const Row rows[] = {
        {0, 0, 0, 0, 0},     {0, 5, 5, 5, 35},    {3, 5, 0, 23, 138},  {4, 0, 0, 24, 144},
        {5, 1, 2, 27, 164},  {8, 0, 0, 32, 192},  {9, 1, 5, 35, 215},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "element " << r.element << " cv " << r.cv);
        EXPECT_EQ(wq::cvIndexOf(r.element, r.cv), r.cvIndex);
        EXPECT_EQ(wq::trackSlotOf(r.element, r.cv, r.track), r.slot);
    }
    EXPECT_EQ(wq::cvCountOf(3), 6);
    EXPECT_EQ(wq::cvCountOf(4), 2);
    EXPECT_FALSE(wq::isValidCv(4, 2));
    EXPECT_TRUE(wq::isValidCv(3, 5));
}

TEST(WqStyleLayout, ValidateImage)
{
    auto good = WqImageBuilder('9').cv(0, 0, 0, 1).slot(0, 0, 0, {WqEv::bar(0), WqEv::end(0)}).build();
    auto goodB = WqImageBuilder('M').cv(0, 0, 0, 1).slot(0, 0, 0, {WqEv::bar(0), WqEv::end(0)}).build();
    auto setEntry = [](std::vector<uint8_t> image, size_t tableAt, int entry, uint16_t value) {
        image[tableAt + 2 * size_t(entry)] = uint8_t(value);
        image[tableAt + 2 * size_t(entry) + 1] = uint8_t(value >> 8);
        return image;
    };
    struct Row { const char* what; std::vector<uint8_t> image; uint32_t model; size_t size; WqImageError expected; };
    const Row rows[] = {
        {"valid A", good, '9', good.size(), WqImageError::None},
        {"valid B", goodB, 'M', goodB.size(), WqImageError::None},
        {"B image read as A", goodB, '9', goodB.size(), WqImageError::EntryInsideHead},
        {"shorter than head", good, '9', 1167, WqImageError::TooSmall},
        {"empty", {}, '9', 0, WqImageError::TooSmall},
        {"entry inside head", setEntry(good, 534, 0, 1000), '9', good.size(), WqImageError::EntryInsideHead},
        {"decreasing entry", setEntry(good, 534, 5, 1168), '9', good.size(), WqImageError::EntriesDecrease},
        {"end past size", setEntry(good, 534, 316, uint16_t(good.size() + 4)), '9', good.size(),
         WqImageError::EndBeyondImage},
        {"size cut below end", good, '9', good.size() - 1, WqImageError::EndBeyondImage},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(ValidateWqImage(r.image.data(), r.size, r.model), r.expected);
    }
}

TEST(CWqStyleData, EmptyImageHasEveryCvEmptyAndNoPattern)
{
    auto image = WqImageBuilder('9').build();
    ASSERT_EQ(image.size(), 1168u);
    CWqStyleData data(image.data(), image.size(), '9');
    EXPECT_EQ(data.Validate(), WqImageError::None);
    for (int e = 0; e < 10; ++e) {
        EXPECT_TRUE(data.IsStyleElementEmpty(uint8_t(e)));
        for (int c = 0; c < wq::cvCountOf(e); ++c) {
            EXPECT_TRUE(data.IsChordVarEmpty(uint8_t(e), uint8_t(c)));
            for (int t = 0; t < 6; ++t) EXPECT_FALSE(data.HasTrackData(uint8_t(e), uint8_t(c), uint8_t(t)));
        }
    }
    for (int k = 0; k < 100; ++k) {
        EXPECT_EQ(data.GetPatternLength(k), 0);
        EXPECT_TRUE(data.GetPatternRun(k).empty());
    }
    EXPECT_EQ(data.GetOffsetEntry(316), 1168);
}

TEST(CWqStyleData, EmptinessFollowsLengthAndOffsets)
{
    auto image = WqImageBuilder('9')
                     .cv(0, 0, 0, 0) // length 0 but with data: still empty
                     .slot(0, 0, 2, {WqEv::bar(0), WqEv::end(0)})
                     .cv(4, 1, 0, 1) // length 1 without data: empty
                     .cv(9, 1, 0, 2)
                     .slot(9, 1, 5, {WqEv::bar(0), WqEv::bar(1), WqEv::end(1)})
                     .build();
    CWqStyleData data(image.data(), image.size(), '9');
    EXPECT_TRUE(data.IsChordVarEmpty(0, 0));
    EXPECT_TRUE(data.HasTrackData(0, 0, 2));
    EXPECT_TRUE(data.IsStyleElementEmpty(0));
    EXPECT_TRUE(data.IsChordVarEmpty(4, 1));
    EXPECT_FALSE(data.IsChordVarEmpty(9, 1));
    EXPECT_FALSE(data.IsStyleElementEmpty(9));
    EXPECT_TRUE(data.HasTrackData(9, 1, 5));
    EXPECT_FALSE(data.HasTrackData(9, 1, 4));
    EXPECT_EQ(data.GetSlotRun(215).size(), 12u);
}

// The same logical style in both layouts reads the same through every accessor
// that does not depend on the model's sound tables.
TEST(CWqStyleData, LayoutsAAndBReadAlike)
{
    std::array<uint8_t, 20> table{};
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(i % 6);
    auto build = [&](char model) {
        WqImageBuilder b(model);
        b.name("Pop Beat").origin(2).tempo(132).timeSig(35, true).retrigger(0x14).tension(0x28);
        for (int t = 0; t < 6; ++t) b.track(t, uint16_t(0x0100 + t), uint8_t(90 + t), uint8_t(10 + t));
        for (int i = 0; i < 4; ++i) b.wrapAround(i, uint8_t(3 + i));
        b.cv(0, 0, 5, 2).cv(3, 5, 23, 16).cv(9, 1, 30, 1).chordTable(2, table);
        b.slot(0, 0, 0, {WqEv::bar(0, 35), WqEv::note(0, 36, 100, 48), WqEv::bar(1, 35), WqEv::end(1)});
        b.slot(9, 1, 3, {WqEv::bar(0, 35), WqEv::end(0)});
        b.pattern(7, 35, 1, {WqEv::bar(0, 35), WqEv::end(0)});
        return b.build();
    };
    auto imageA = build('9');
    auto imageB = build('M');
    ASSERT_EQ(imageB.size(), imageA.size() + 8);
    CWqStyleData a(imageA.data(), imageA.size(), '9');
    CWqStyleData b(imageB.data(), imageB.size(), 'M');
    EXPECT_EQ(a.Validate(), WqImageError::None);
    EXPECT_EQ(b.Validate(), WqImageError::None);
    EXPECT_EQ(a.GetStyleName(), "Pop_Beat__");
    EXPECT_EQ(b.GetStyleName(), "Pop_Beat________");
    EXPECT_EQ(a.GetOrigin(), b.GetOrigin());
    EXPECT_EQ(a.GetTempo(), 132);
    EXPECT_EQ(b.GetTempo(), 132);
    EXPECT_EQ(a.GetTimeSigCode(), 35);
    EXPECT_EQ(b.GetTimeSigCode(), 35);
    EXPECT_TRUE(a.IsLowResolution());
    EXPECT_TRUE(b.IsLowResolution());
    EXPECT_EQ(a.GetRetriggerByte(), b.GetRetriggerByte());
    for (uint8_t t = 0; t < 6; ++t) {
        EXPECT_EQ(a.GetHeaderFlag(t), b.GetHeaderFlag(t));
        EXPECT_EQ(a.GetTrackWord(0, t), b.GetTrackWord(0, t));
        EXPECT_EQ(a.GetTrackParam(0, t), b.GetTrackParam(0, t));
        EXPECT_EQ(a.GetTrackPan(t), b.GetTrackPan(t));
    }
    for (uint8_t i = 0; i < 4; ++i) EXPECT_EQ(a.GetWrapAround(i), b.GetWrapAround(i));
    for (uint8_t e = 0; e < 10; ++e) {
        EXPECT_EQ(a.IsStyleElementEmpty(e), b.IsStyleElementEmpty(e));
        for (uint8_t i = 0; i < 20; ++i) EXPECT_EQ(a.GetElementList(e, i), b.GetElementList(e, i));
        for (uint8_t v = 0; v < 8; ++v) EXPECT_EQ(a.IsInElementList(e, v), b.IsInElementList(e, v));
        for (uint8_t c = 0; c < wq::cvCountOf(e); ++c) {
            EXPECT_EQ(a.GetCvLength(e, c), b.GetCvLength(e, c));
            EXPECT_EQ(a.GetCvKey(e, c, 0), b.GetCvKey(e, c, 0));
            EXPECT_EQ(a.GetCvChordType(e, c, 0), b.GetCvChordType(e, c, 0));
            EXPECT_EQ(a.IsChordVarEmpty(e, c), b.IsChordVarEmpty(e, c));
            for (uint8_t t = 0; t < 6; ++t) {
                EXPECT_EQ(a.HasTrackData(e, c, t), b.HasTrackData(e, c, t));
                auto runA = a.GetSlotRun(wq::trackSlotOf(e, c, t));
                auto runB = b.GetSlotRun(wq::trackSlotOf(e, c, t));
                EXPECT_TRUE(std::equal(runA.begin(), runA.end(), runB.begin(), runB.end()));
            }
        }
    }
    for (int k = 0; k < 100; ++k) {
        EXPECT_EQ(a.GetPatternTimeSig(k), b.GetPatternTimeSig(k));
        EXPECT_EQ(a.GetPatternLength(k), b.GetPatternLength(k));
        EXPECT_EQ(a.GetPatternRun(k).size(), b.GetPatternRun(k).size());
    }
    EXPECT_TRUE(a.IsInElementList(2, 5));
    EXPECT_FALSE(a.IsInElementList(2, 6));
}

TEST(CWqStyleData, KeyAndChordTypeFromKeyByte)
{
    struct Row { uint8_t keyByte; uint8_t key, chordType; const char* name; };
    const Row rows[] = {
        {0, 0, 2, "CMajor"}, {1, 0, 9, "Cmin"}, {5, 2, 9, "Dmin"}, {22, 11, 2, "BMajor"},
        {23, 11, 9, "Bmin"}, {24, 0, 0, "CMajor"}, {25, 0, 0, "CMajor"}, {255, 0, 0, "CMajor"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.keyByte));
        auto image = WqImageBuilder('<').cv(1, 3, r.keyByte, 1).build();
        CWqStyleData data(image.data(), image.size(), '<');
        EXPECT_EQ(data.GetCvKey(1, 3, 0), r.key);
        EXPECT_EQ(data.GetCvChordType(1, 3, 4), r.chordType);
        EXPECT_STREQ(CWqStyleData::GetKeyName(r.keyByte), r.name);
    }
}

TEST(CWqStyleData, StyleNameIsFileNameSafe)
{
    auto image = WqImageBuilder('9').name("A/B:C* x.y").build();
    CWqStyleData data(image.data(), image.size(), '9');
    EXPECT_EQ(data.GetStyleName(), "A_B_C__x_y");

    auto early = WqImageBuilder('9').name("AB").headByte(2, 0).headByte(3, 'Z').build();
    CWqStyleData cut(early.data(), early.size(), '9');
    EXPECT_EQ(cut.GetStyleName(), "AB");

    EXPECT_EQ(CWqStyleData::MakeFileNameSafe("a\\b?\"<>|`'\x01\x7f\xe9z"), "a_b" + std::string(10, '_') + "z");
}

TEST(CWqStyleData, CvTrackInfoPerModel)
{
    struct Row { char model; uint16_t word; uint32_t bank, program; };
    const Row rows[] = {
        {'9', 0x0005, 0, 5},   {'M', 0x0105, 1, 5},   {'9', 0x0202, 2, 25},  {'9', 0x0208, 2, 0},
        {'<', 0x020D, 2, 1},   {'<', 0x0210, 2, 0},   {'H', 0x021B, 2, 0},   {'H', 0x0213, 2, 65},
        {'H', 0x021C, 2, 0},   {'M', 0x0250, 2, 80},  {'I', 0x023F, 2, 63},  {'I', 0x0240, 2, 0},
        {'9', 0x0305, 0, 0},   {'<', 0x037F, 3, 127}, {'<', 0x0380, 3, 0},   {'M', 0x0340, 3, 0},
        {'M', 0x033F, 3, 63},  {'I', 0x0370, 3, 112}, {'9', 0x0402, 0, 0},   {'H', 0x0402, 0, 0},
        {'M', 0x040C, 4, 116}, {'M', 0x0410, 4, 0},   {'I', 0x041E, 4, 50},  {'I', 0x0428, 4, 0},
        {'M', 0x0505, 0, 0},   {'9', 0xFF05, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.model << " 0x" << std::hex << r.word);
        auto image = WqImageBuilder(r.model).track(2, r.word, 100, 15).build();
        CWqStyleData data(image.data(), image.size(), uint32_t(r.model));
        EXPECT_EQ(data.GetCvTrackInfo(0, 2), (r.bank << 16) + r.program);
    }
}

TEST(CWqStyleData, HeaderFlagsAreTheTensionBitsOfAccTracks)
{
    auto image = WqImageBuilder('I').tension(0x10 | 0x20 | 0x04).build();
    CWqStyleData data(image.data(), image.size(), 'I');
    EXPECT_FALSE(data.GetHeaderFlag(2)); // bit 2 is no tension switch
    EXPECT_FALSE(data.GetHeaderFlag(3));
    EXPECT_TRUE(data.GetHeaderFlag(4));
    EXPECT_TRUE(data.GetHeaderFlag(5));
}

TEST(CWqStyleData, NameTables)
{
    EXPECT_STREQ(CWqStyleData::GetStyleElementName(0), "Variation1");
    EXPECT_STREQ(CWqStyleData::GetStyleElementName(6), "End1");
    EXPECT_STREQ(CWqStyleData::GetStyleElementName(9), "Fill2");
    EXPECT_STREQ(CWqStyleData::GetStyleElementName(10), "???");
    EXPECT_STREQ(CWqStyleData::GetTrackName(5), "ACC3");
    EXPECT_STREQ(CWqStyleData::GetTrackName(6), "???");
    EXPECT_STREQ(CWqStyleData::GetCvName(5), "CV6");
    EXPECT_STREQ(CWqStyleData::GetCvName(-1), "???");
    const char* keys[] = {"CMajor",  "Cmin",  "C#Major", "C#min", "DMajor",  "Dmin",  "D#Major", "D#min",
                          "EMajor",  "Emin",  "FMajor",  "Fmin",  "F#Major", "F#min", "GMajor",  "Gmin",
                          "G#Major", "G#min", "AMajor",  "Amin",  "A#Major", "A#min", "BMajor",  "Bmin"};
    for (int k = 0; k < 24; ++k) EXPECT_STREQ(CWqStyleData::GetKeyName(k), keys[k]);
    EXPECT_STREQ(CWqStyleData::GetKeyName(24), "CMajor");
    EXPECT_STREQ(CWqStyleData::GetKeyName(-1), "CMajor");
    const char* chords[] = {"-",       "Major",  "Maj6", "Maj7", "Maj7b5",  "Sus4", "Sus2",
                            "Maj7sus4", "min",   "min6", "min7", "min7b5",  "minMaj7", "7",
                            "7b5",     "7sus4",  "dim",  "dimMaj7", "aug", "aug7", "augMaj7"};
    for (int c = 0; c <= 20; ++c) EXPECT_STREQ(CWqStyleData::GetChordTypeName(c), chords[c]);
    EXPECT_STREQ(CWqStyleData::GetChordTypeName(21), "Major");
    EXPECT_STREQ(CWqStyleData::GetChordTypeName(-1), "Major");
    EXPECT_EQ(CWqStyleData::GetNoteName(60), "C4");
    EXPECT_EQ(CWqStyleData::GetNoteName(0), "C-1");
    EXPECT_EQ(CWqStyleData::GetNoteName(71), "B4");
    EXPECT_EQ(CWqStyleData::GetNoteName(127), "G9");
    EXPECT_EQ(CWqStyleData::GetTickPositionText(0), "1.00");
    EXPECT_EQ(CWqStyleData::GetTickPositionText(200), "3.08");
    EXPECT_EQ(CWqStyleData::GetTickLengthText(200), "2.08");
    EXPECT_EQ(CWqStyleData::GetTickPositionText(510), "TIE");
    EXPECT_EQ(CWqStyleData::GetTickLengthText(510), "TIE");
}

TEST(CWqStyleData, ReadsNeverPassTheImage)
{
    std::vector<uint8_t> tiny(20, 0xFF);
    CWqStyleData data(tiny.data(), tiny.size(), '9');
    EXPECT_EQ(data.Validate(), WqImageError::TooSmall);
    EXPECT_EQ(data.GetCvLength(9, 1), 0);
    EXPECT_EQ(data.GetOffsetEntry(316), 0);
    EXPECT_TRUE(data.GetSlotRun(0).empty());
    EXPECT_TRUE(data.IsStyleElementEmpty(0));
}

} // namespace
} // namespace zib
