// The twelve program editor pages without their windows: record offsets of
// both families, value forms, page 1's lists and the graphs.
#include "docs/program/core/PrgPageModel.h"

#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/PcgFileBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace prg_page_model_test {

using Bytes = std::vector<uint8_t>;

void openWq(test::PcgTestDoc& t, int model)
{
    ASSERT_TRUE(t.open(model == 'I' || model == 'M' ? "d.prg" : "d.pcg", test::WqPcgBuilder(model).image()));
}

const PrgField& field(const PrgPageModel& m, std::string_view label)
{
    for (const PrgField& f : m.Def().fields)
        if (f.label == label) return f;
    throw std::runtime_error("no field " + std::string(label));
}

// Every field of every page at its family-B offsets (OSC1, OSC2 or -1); family
// A lies 8 lower except where given. Written through the page, read back from the record.
TEST(PrgPages, EveryFieldIsStoredAtItsRecordOffsetInBothFamilies)
{
    struct Row {
        int page;
        const char* label;
        int b1, b2;
        int a1 = -100, a2 = -100; // -100: 8 below family B
    };
    const Row rows[] = {
        {1, "OSC2 Interval", 26, -1, 18},  {1, "OSC2 Detune", 27, -1, 19},     {1, "OSC2 Delay", 28, -1, 20},
        {1, "Pitch EG Intensity", 48, 95}, {1, "Level", 73, 120},
        {2, "Start level", 29, -1},        {2, "Attack time", 30, -1},         {2, "Attack level", 31, -1},
        {2, "Decay time", 32, -1},         {2, "Release time", 33, -1},        {2, "Release level", 34, -1},
        {2, "Time Velocity", 35, -1},      {2, "Velocity sense", 36, -1},
        {3, "VDF Cutoff Frequency", 58, 105}, {3, "VDF EG Intensity", 61, 108}, {3, "Color", 91, 138},
        {4, "Attack time", 65, 112},       {4, "Attack level", 66, 113},       {4, "Decay time", 67, 114},
        {4, "Break point", 68, 115},       {4, "Slope time", 69, 116},         {4, "Sustain level", 70, 117},
        {4, "Release time", 71, 118},      {4, "Release level", 72, 119},
        {5, "Attack time", 79, 126},       {5, "Attack level", 80, 127},       {5, "Decay time", 81, 128},
        {5, "Break point", 82, 129},       {5, "Slope time", 83, 130},         {5, "Sustain level", 84, 131},
        {5, "Release time", 85, 132},
        {6, "Frequency", 38, -1},          {6, "Delay", 39, -1},               {6, "Intensity", 40, -1},
        {7, "VDF MG Controllers: Joystick down", 47, -1}, {7, "VDF MG Controllers: Aftertouch", 43, -1},
        {7, "VDA level: Aftertouch", 44, -1}, {7, "Pitch band: Joystick L/R", 45, -1},
        {7, "Pitch band: Aftertouch", 41, -1}, {7, "Cutoff: Joystick L/R", 46, -1},
        {7, "Cutoff: Aftertouch", 42, -1},
        {8, "EG Intensity", 64, 111},      {8, "Color", 92, 139},              {8, "Time Amount", 63, 110},
        {8, "Time signs", 87, 134},
        {9, "Amount", 76, 123},            {9, "Time Amount", 78, 125},        {9, "Time signs", 89, 136},
        {10, "Keyboard Amount", 60, 107},  {10, "Pivot Key", 59, 106},         {10, "Time Amount", 62, 109},
        {10, "Time signs", 86, 133},
        {11, "Keyboard Amount", 75, 122},  {11, "Pivot Key", 74, 121},         {11, "Time Amount", 77, 124},
        {11, "Time signs", 88, 135},
        {12, "Frequency", 50, 97},         {12, "Delay", 51, 98},              {12, "Fade In", 52, 99},
        {12, "Intensity", 53, 100},        {12, "KbdTracking", 54, 101},
        {12, "Vibrato Controllers: Aftertouch", 55, 102}, {12, "Vibrato Controllers: Joystick", 56, 103},
        {12, "Vibrato Controllers: Js+Aftt Freq", 57, 104},
    };
    for (int model : {'9', 'I'}) {
        const bool b = model == 'I';
        test::PcgTestDoc t;
        openWq(t, model);
        auto& rec = t.doc.programs[2].data;
        for (const Row& r : rows) {
            const int a1 = r.a1 == -100 ? r.b1 - 8 : r.a1;
            const int a2 = r.a2 == -100 ? r.b2 - 8 : r.a2;
            std::set<size_t> named = {size_t(b ? r.b1 : a1)};
            if (r.b2 >= 0) named.insert(size_t(b ? r.b2 : a2));
            for (size_t at : named)
                rec[at] = 0;
            // OK without an edit: nothing but the oscillator mode's normalisation.
            PrgPageModel page(r.page);
            ASSERT_TRUE(page.Read(t.doc, 2));
            ASSERT_TRUE(page.Write(t.doc));
            const auto before = rec;
            const PrgField& f = field(page, r.label);
            page.SetValue(f, 0, 30);
            if (r.b2 >= 0) page.SetValue(f, 1, 31);
            const uint8_t v1 = uint8_t(std::clamp(30, f.min, f.max)), v2 = uint8_t(std::clamp(31, f.min, f.max));
            ASSERT_TRUE(page.Write(t.doc));
            EXPECT_EQ(rec[size_t(b ? r.b1 : a1)], v1) << r.page << " " << r.label << " " << char(model);
            if (r.b2 >= 0) {
                EXPECT_EQ(rec[size_t(b ? r.b2 : a2)], v2) << r.page << " " << r.label;
            }
            std::set<size_t> changed;
            for (size_t i = 0; i < rec.size(); ++i)
                if (rec[i] != before[i]) changed.insert(i);
            EXPECT_EQ(changed, named) << r.page << " " << r.label << " " << char(model);
        }
    }
}

TEST(PrgPages, OkWithoutEditsKeepsTheRecordButTheOscillatorMode)
{
    for (int model : {'9', 'I'}) {
        test::PcgTestDoc t;
        openWq(t, model);
        const size_t mode = model == 'I' ? 18 : 10;
        auto& rec = t.doc.programs[1].data;
        rec[mode] = 7; // shown as Double, stored as 1
        Bytes expected = rec;
        expected[mode] = 1;
        for (int p = 1; p <= 12; ++p) {
            PrgPageModel page(p);
            ASSERT_TRUE(page.Read(t.doc, 1));
            ASSERT_TRUE(page.Write(t.doc));
        }
        EXPECT_EQ(rec, expected) << char(model);
        // A page never read writes nothing.
        rec[mode] = 7;
        EXPECT_FALSE(PrgPageModel(1).Write(t.doc));
        EXPECT_EQ(rec[mode], 7);
    }
}

TEST(PrgPages, ASoundPastTheListSelectsNothingAndIsKept)
{
    test::PcgTestDoc t;
    openWq(t, 'I');
    auto& rec = t.doc.programs[0].data;
    rec[20] = 0xFF, rec[21] = 0xFF;
    PrgPageModel page(1);
    ASSERT_TRUE(page.Read(t.doc, 0));
    EXPECT_EQ(page.SampleListIndex(0), -1);
    ASSERT_TRUE(page.Write(t.doc));
    EXPECT_EQ(rec[20], 0xFF);
    EXPECT_EQ(rec[21], 0xFF);
}

TEST(PrgPages, Page1ModeAndOsc2SoundGoToTheirFamilysBytes)
{
    struct Case {
        int model;
        size_t mode, osc2Sound;
    };
    for (const Case c : {Case{'9', 10, 15}, Case{'H', 10, 15}, Case{'M', 18, 22}}) {
        test::PcgTestDoc t;
        openWq(t, c.model);
        PrgPageModel page(1);
        ASSERT_TRUE(page.Read(t.doc, 0));
        page.ChooseOscMode(1);
        page.ChooseSample(1, 300);
        ASSERT_TRUE(page.Write(t.doc));
        const auto& rec = t.doc.programs[0].data;
        EXPECT_EQ(rec[c.mode], 1);
        EXPECT_EQ(test::wordAt(rec, c.osc2Sound), 300);
    }
}

TEST(PrgPages, ValuesAreReadAndWrittenInTheirOwnForm)
{
    test::PcgTestDoc t;
    openWq(t, 'I');
    auto& rec = t.doc.programs[1].data;
    rec[18] = 7;    // an oscillator mode that does not exist
    rec[19] = 0xF1; // Mono, other bits set
    rec[90] = 0x35; // CSend 3, DSend 5
    rec[94] = 255;  // Panpot OFF
    rec[141] = 31;  // OSC2 Panpot PRG
    rec[24] = 254;  // Octave 32'
    rec[48] = 0xFB; // Pitch EG Intensity -5
    PrgPageModel page(1);
    ASSERT_TRUE(page.Read(t.doc, 1));
    EXPECT_EQ(page.Value(field(page, "Oscilator Mode"), 0), 1); // shown as Double
    EXPECT_EQ(page.Value(field(page, "Assign"), 0), 1);
    EXPECT_EQ(page.Value(field(page, "Hold"), 0), 0);
    EXPECT_EQ(page.Value(field(page, "CSend"), 0), 3);
    EXPECT_EQ(page.Value(field(page, "DSend"), 0), 5);
    EXPECT_EQ(page.Value(field(page, "Pitch EG Intensity"), 0), -5);
    EXPECT_EQ(page.PanpotListIndex(0), 32);
    EXPECT_EQ(page.PanpotTexts()[32], "OFF");
    EXPECT_EQ(page.PanpotTexts()[31], "PRG");
    EXPECT_EQ(page.PanpotListIndex(1), 31);
    EXPECT_EQ(page.OctaveListIndex(0), 0);
    EXPECT_EQ(page.OctaveTexts(), (std::vector<std::string>{"32'", "16'", "8'", "4'"}));

    page.SetValue(field(page, "Hold"), 0, 1);
    page.SetValue(field(page, "DSend"), 0, 9);
    page.SetValue(field(page, "Pitch EG Intensity"), 0, -150); // held to -99
    page.ChoosePanpot(1, 32);
    page.ChooseOctave(1, "16'");
    ASSERT_TRUE(page.Write(t.doc));
    EXPECT_EQ(rec[18], 1);
    EXPECT_EQ(rec[19], 0xF3);
    EXPECT_EQ(rec[90], 0x39);
    EXPECT_EQ(rec[48], uint8_t(-99));
    EXPECT_EQ(rec[141], 255);
    EXPECT_EQ(rec[25], 255);
}

TEST(PrgPages, TimeSignsAndSharedModeBytesKeepTheOtherBits)
{
    test::PcgTestDoc t;
    openWq(t, 'M');
    auto& rec = t.doc.programs[0].data;
    rec[87] = 0x20; // page 8 OSC1: Decay down bit set, Decay not changed
    PrgPageModel page8(8);
    ASSERT_TRUE(page8.Read(t.doc, 0));
    const PrgField& signs = field(page8, "Time signs");
    EXPECT_EQ(page8.TimeSign(signs, 0, 1), PrgTimeSign::Zero);
    page8.SetTimeSign(signs, 0, 1, PrgTimeSign::Plus);
    page8.SetTimeSign(signs, 0, 3, PrgTimeSign::Minus);
    ASSERT_TRUE(page8.Write(t.doc));
    EXPECT_EQ(rec[87], 0x02 | 0x08 | 0x80); // Decay up: bit 1 set, bit 5 cleared; Release down
    page8.SetTimeSign(signs, 0, 3, PrgTimeSign::Zero);
    ASSERT_TRUE(page8.Write(t.doc));
    EXPECT_EQ(rec[87], 0x02 | 0x80); // Zero clears bit 3 and leaves bit 7
    EXPECT_EQ(page8.TimeSign(signs, 0, 1), PrgTimeSign::Plus);

    rec[93] = 0xCE; // page 10 Mode in bits 0-1 (2), page 11 Mode in bits 4-5 (0)
    PrgPageModel page10(10), page11(11);
    ASSERT_TRUE(page10.Read(t.doc, 0));
    ASSERT_TRUE(page11.Read(t.doc, 0));
    EXPECT_EQ(page10.Value(field(page10, "Mode"), 0), 2);
    EXPECT_EQ(page11.Value(field(page11, "Mode"), 0), 0);
    page11.SetValue(field(page11, "Mode"), 0, 3);
    ASSERT_TRUE(page10.Write(t.doc));
    ASSERT_TRUE(page11.Write(t.doc));
    EXPECT_EQ(rec[93], 0xFE);

    rec[37] = 0x45; // page 6: waveform 5, OSC2 MG
    PrgPageModel page6(6);
    ASSERT_TRUE(page6.Read(t.doc, 0));
    EXPECT_EQ(page6.Value(field(page6, "Waveform"), 0), 5);
    EXPECT_EQ(page6.Value(field(page6, "OSC2 MG"), 0), 1);
    page6.SetValue(field(page6, "Key Sync"), 0, 1);
    page6.SetValue(field(page6, "Waveform"), 0, 9); // held to the last option
    ASSERT_TRUE(page6.Write(t.doc));
    EXPECT_EQ(rec[37], 0xC5);
}

TEST(PrgPages, Page1ListsTheModelsSoundsAndOffersTheFittingModes)
{
    struct Case {
        int model;
        int list;
        size_t sounds;
    };
    for (const Case c : {Case{'9', 1, 341}, Case{'<', 1, 341}, Case{'H', 1, 343}, Case{'I', 1, 523},
                         Case{'9', 2, 8}, Case{'<', 2, 16}, Case{'H', 2, 28}, Case{'I', 2, 40}, Case{'M', 2, 16}}) {
        test::PcgTestDoc t;
        openWq(t, c.model);
        t.doc.shownList = c.list;
        PrgPageModel page(1);
        ASSERT_TRUE(page.Read(t.doc, 0));
        EXPECT_EQ(page.SampleNames().size(), c.sounds) << char(c.model) << c.list;
        EXPECT_EQ(page.EditsDrumKit(), c.list == 2);
        EXPECT_EQ(page.Controls().drum, c.list == 2);
        EXPECT_EQ(page.Controls().single, c.list == 1);
    }
    test::PcgTestDoc t;
    openWq(t, '9');
    t.doc.programs[0].data[10] = 0; // Single: no second oscillator
    PrgPageModel page(1);
    ASSERT_TRUE(page.Read(t.doc, 0));
    EXPECT_FALSE(page.Controls().osc2);
    page.ChooseOscMode(1);
    EXPECT_TRUE(page.Controls().osc2);
    page.ChooseOscMode(2);
    EXPECT_FALSE(page.Controls().osc1);
    EXPECT_FALSE(page.Controls().panpot);
    // A sound is chosen by its entry; an entry past the list changes nothing.
    page.ChooseSample(0, 12);
    EXPECT_EQ(page.SampleListIndex(0), 12);
    page.ChooseSample(0, int(page.SampleNames().size()));
    EXPECT_EQ(page.SampleListIndex(0), 12);
}

TEST(PrgPages, WithoutAnItemOrInAQeDocumentThePagesStayEmpty)
{
    test::PcgTestDoc t;
    openWq(t, '9');
    const auto before = t.doc.programs[0].data;
    PrgPageModel page(3);
    EXPECT_FALSE(page.Read(t.doc, -1));
    EXPECT_FALSE(page.Write(t.doc));
    EXPECT_EQ(t.doc.programs[0].data, before);

    test::PcgTestDoc qe;
    ASSERT_TRUE(qe.open("q.pcg", test::qePcgImage({{"A", 9, 0}})));
    EXPECT_FALSE(page.Read(qe.doc, 0));
    EXPECT_FALSE(page.Write(qe.doc));
}

TEST(PrgPages, PivotKeysAreListedByNoteName)
{
    const auto keys = PrgPageModel::PivotKeyTexts();
    ASSERT_EQ(keys.size(), 97u);
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(PrgPageModel::PivotKeyOfText(keys[i]), int(24 + i)) << keys[i];
}

// Graph: lines as (pen, x1, y1, x2, y2).
using L = PrgGraphLine;
constexpr auto kAxis = PrgGraphPen::Axis;
constexpr auto kCurve = PrgGraphPen::Curve;

TEST(PrgPages, EnvelopeGraphsDrawTheirValuesAsPixels)
{
    test::PcgTestDoc t;
    openWq(t, 'I');
    PrgPageModel page2(2);
    ASSERT_TRUE(page2.Read(t.doc, 0));
    const auto set = [](PrgPageModel& p, const char* label, int v) { p.SetValue(field(p, label), v); };
    set(page2, "Start level", 5);
    set(page2, "Attack time", 10);
    set(page2, "Attack level", -20);
    set(page2, "Decay time", 7);
    set(page2, "Release time", 3);
    set(page2, "Release level", 9);
    const std::vector<L> expected2 = {
        {kAxis, 2, 50, 198, 50},    {kAxis, 10, 2, 10, 99},     {kCurve, 10, 45, 20, 70},
        {kCurve, 20, 70, 27, 50},   {kCurve, 27, 50, 37, 50},   {kCurve, 37, 50, 40, 41},
        {PrgGraphPen::ReleaseTail, 40, 41, 50, 41},
    };
    EXPECT_EQ(page2.Graph(200, 101), expected2);

    PrgPageModel page5(5);
    ASSERT_TRUE(page5.Read(t.doc, 0));
    for (const char* label : {"Attack time", "Attack level", "Decay time", "Break point", "Slope time",
                              "Sustain level", "Release time"})
        set(page5, label, 4);
    const auto lines = page5.Graph(100, 60);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines.back(), (L{kCurve, 32, 26, 46, 30})); // the release level is 0: back on the zero line
    EXPECT_TRUE(PrgPageModel(3).Graph(100, 60).empty());  // a page without a graph
}

TEST(PrgPages, TheTriangleOfAWideGraph)
{
    test::PcgTestDoc t;
    openWq(t, '9');
    PrgPageModel page6(6);
    ASSERT_TRUE(page6.Read(t.doc, 0));
    page6.SetValue(field(page6, "Frequency"), 3);
    page6.SetValue(field(page6, "Delay"), 10);
    page6.SetValue(field(page6, "Intensity"), 20);
    // W 200: P = (200 - 20 - 10) / 3 = 56, P / 4 = 14, 3P / 4 = 42, from x = 20 to 180.
    const std::vector<PrgGraphLine> expected = {
        {PrgGraphPen::Axis, 2, 50, 198, 50},   {PrgGraphPen::Axis, 10, 2, 10, 98},
        {PrgGraphPen::Curve, 20, 50, 34, 30},  {PrgGraphPen::Curve, 34, 30, 62, 70},
        {PrgGraphPen::Curve, 62, 70, 76, 50},  {PrgGraphPen::Curve, 76, 50, 90, 30},
        {PrgGraphPen::Curve, 90, 30, 118, 70}, {PrgGraphPen::Curve, 118, 70, 132, 50},
        {PrgGraphPen::Curve, 132, 50, 146, 30}, {PrgGraphPen::Curve, 146, 30, 174, 70},
        {PrgGraphPen::Curve, 174, 70, 188, 50},
    };
    EXPECT_EQ(page6.Graph(200, 100), expected);
}

TEST(PrgPages, ModulationGraphsDrawATriangleThatAlwaysEnds)
{
    test::PcgTestDoc t;
    openWq(t, 'I');
    PrgPageModel page6(6);
    ASSERT_TRUE(page6.Read(t.doc, 0));
    const auto set = [](PrgPageModel& p, const char* label, int v) { p.SetValue(field(p, label), v); };
    set(page6, "Frequency", 2);
    set(page6, "Delay", 20);
    set(page6, "Intensity", 10);
    // P = (120 - 20 - 20) / 2 = 40 from x = 30 to the limit 100.
    const std::vector<L> expected = {
        {kAxis, 2, 30, 118, 30},  {kAxis, 10, 2, 10, 58},   {kCurve, 30, 30, 40, 20},
        {kCurve, 40, 20, 60, 40}, {kCurve, 60, 40, 70, 30}, {kCurve, 70, 30, 80, 20}, // x + 3P/4 reaches the limit
    };
    EXPECT_EQ(page6.Graph(120, 60), expected);
    set(page6, "Frequency", 0);
    EXPECT_EQ(page6.Graph(120, 60).size(), 2u); // the axes only
    set(page6, "Frequency", 99);
    set(page6, "Delay", 99);
    EXPECT_EQ(page6.Graph(30, 60).size(), 2u); // no room for a period: the wave stays out

    PrgPageModel page12(12);
    ASSERT_TRUE(page12.Read(t.doc, 0));
    page12.ShowOsc(1);
    set(page12, "Delay", 5);
    set(page12, "Fade In", 10);
    set(page12, "Intensity", 8);
    set(page12, "Frequency", 1);
    const auto lines = page12.Graph(100, 40);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[2], (L{PrgGraphPen::FadeIn, 15, 20, 25, 12}));
    EXPECT_EQ(lines[3], (L{PrgGraphPen::FadeIn, 25, 12, 80, 12}));
    EXPECT_EQ(lines[4], (L{PrgGraphPen::FadeIn, 15, 20, 25, 28}));
    EXPECT_EQ(lines[6], (L{kCurve, 25, 20, 41, 12})); // P = 65 from x = 25
}

} // namespace prg_page_model_test
} // namespace zib
