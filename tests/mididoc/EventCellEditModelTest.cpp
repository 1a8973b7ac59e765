#include "mididoc/core/EventCellEditModel.h"
#include "tests/support/UniformMeasureContext.h"

#include <gtest/gtest.h>
#include <string>

using namespace zib;
using zib::test::UniformMeasureContext;

namespace {

const UniformMeasureContext fourFour; // 480 ticks per bar

CellEditStart cell(int column, uint8_t statusClass)
{
    CellEditStart s;
    s.row = 7;
    s.column = column;
    s.statusClass = statusClass;
    s.channel = 3;
    s.time = 1000;
    s.data1 = 60;
    s.data2 = 100;
    s.duration = 240;
    return s;
}

EventCellEditModel open(const CellEditStart& s)
{
    auto m = EventCellEditModel::Start(s, &fourFour);
    EXPECT_TRUE(m.has_value());
    return *m;
}

} // namespace

TEST(EventCellEditModel, ModeTableGivesTextLimitReadOnlyAndSpin)
{
    const struct {
        int column;
        uint8_t statusClass;
        const char* text;
        size_t limit;
        bool readOnly;
        bool spin;
        int spinMin, spinMax, spinPos;
    } cases[] = {
        {1, 0x90, "1000    ", 8, false, true, 0, 0x7FFFFFFF, 1000},
        {2, 0x90, "  3:01:040", 10, false, true, 0, 0x7FFFFFFF, 0},
        {3, 0x90, "3 ", 2, true, true, 1, 16, 3},
        {5, 0x90, "C4", 0, true, true, 0, 127, 60},
        {5, 0x80, "C4", 0, true, true, 0, 127, 60},
        {5, 0xE0, "12860", 0, false, true, 0, 16383, 100 * 128 + 60},
        {5, 0xB0, "60 ", 3, false, true, 0, 127, 60},
        {6, 0xB0, "100", 3, false, true, 0, 127, 100},
        {7, 0x90, "240     ", 8, false, true, 0, 0x7FFFFFFF, 240},
    };
    for (const auto& c : cases) {
        const EventCellEditModel m = open(cell(c.column, c.statusClass));
        EXPECT_EQ(m.Text(), c.text) << c.column << "/" << int(c.statusClass);
        EXPECT_EQ(m.Limit(), c.limit) << c.column;
        EXPECT_EQ(m.ReadOnly(), c.readOnly) << c.column;
        EXPECT_EQ(m.HasSpin(), c.spin) << c.column;
        EXPECT_EQ(m.SpinMin(), c.spinMin) << c.column;
        EXPECT_EQ(m.SpinMax(), c.spinMax) << c.column;
        EXPECT_EQ(m.SpinPosition(), c.spinPos) << c.column;
    }
    // The event code has its own dialog; unknown columns have no editor.
    EXPECT_FALSE(EventCellEditModel::Start(cell(4, 0x90), &fourFour));
    EXPECT_FALSE(EventCellEditModel::Start(cell(0, 0x90), &fourFour));
    EXPECT_FALSE(EventCellEditModel::Start(cell(8, 0x90), &fourFour));
}

TEST(EventCellEditModel, TypingClampsDataBytesAndThePitchWheel)
{
    // "200" as a data byte leaves "20", with a bell.
    EventCellEditModel data = open(cell(5, 0xB0));
    EXPECT_FALSE(data.TextChanged("20"));
    const auto cut = data.TextChanged("200");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->text, "20");
    EXPECT_TRUE(cut->bell);
    EXPECT_EQ(data.Ok("20").data1, 20);

    EventCellEditModel second = open(cell(6, 0x90));
    const auto cut2 = second.TextChanged("128");
    ASSERT_TRUE(cut2);
    EXPECT_EQ(cut2->text, "12");
    EXPECT_EQ(second.Ok("127").data2, 127);

    // The largest wheel value can be typed; a larger one is cut to four characters.
    EventCellEditModel wheel = open(cell(5, 0xE0));
    EXPECT_FALSE(wheel.TextChanged("16383"));
    const auto wheelCut = wheel.TextChanged("20000");
    ASSERT_TRUE(wheelCut);
    EXPECT_EQ(wheelCut->text, "2000");
    EXPECT_TRUE(wheelCut->bell);
    const CellEditResult r = wheel.Ok("16383");
    EXPECT_EQ(r.data1, 127);
    EXPECT_EQ(r.data2, 127);

    // Letters never reach a number field; the text of a meta event takes anything.
    EXPECT_FALSE(data.AcceptsChar('a'));
    EXPECT_TRUE(data.AcceptsChar('7'));
    EXPECT_TRUE(data.AcceptsChar('\r'));
    EXPECT_FALSE(open(cell(2, 0x90)).AcceptsChar('x'));
    EXPECT_TRUE(open(cell(2, 0x90)).AcceptsChar(':'));
    CellEditStart text = cell(5, 0xFF);
    text.dataBytes = "Verse";
    EXPECT_TRUE(open(text).AcceptsChar('x'));
}

TEST(EventCellEditModel, SpinStepsStayInsideTheirRanges)
{
    EventCellEditModel channel = open(cell(3, 0x90));
    EXPECT_EQ(channel.Spin(+1, "3 "), "4 ");
    CellEditStart top = cell(3, 0x90);
    top.channel = 16;
    EXPECT_EQ(open(top).Spin(+1, "16"), "16");
    EXPECT_EQ(open(cell(3, 0x90)).Ok("3 ").channel, 3);
    EXPECT_EQ(channel.Ok("4 ").channel, 4); // the channel is what the spin left

    EventCellEditModel note = open(cell(5, 0x90));
    EXPECT_EQ(note.Spin(+1, "C4"), "C#4");
    EXPECT_EQ(note.Ok("C#4").data1, 61);

    EXPECT_EQ(open(cell(1, 0x90)).Spin(-1, "0"), "0       ");
    EXPECT_EQ(open(cell(2, 0x90)).Spin(-1, "2:01:000"), "  1:04:119");
    EXPECT_EQ(open(cell(5, 0xE0)).Spin(+1, "16383"), "16383");
    EXPECT_EQ(open(cell(6, 0x90)).Spin(-1, "0"), "0 ");
}

TEST(EventCellEditModel, DurationStepsEndInsideSixteenMeasuresAndShowTheEnd)
{
    // A note at 15 bars + 3 beats + 119 ticks: one more tick reaches measure 17.
    CellEditStart s = cell(7, 0x90);
    s.time = 0;
    s.duration = 16 * 480 - 2;
    EventCellEditModel m = open(s);
    EXPECT_EQ(m.Spin(+1, std::to_string(s.duration)), "7679    ");
    EXPECT_EQ(m.DurationEndText(), " 16:04:119");
    EXPECT_EQ(m.Spin(+1, "7679"), "7679    ");
    EXPECT_EQ(m.Spin(-1, "7679"), "7678    ");

    // A style owner sees no position at measure 17 or later.
    CellEditStart style = s;
    style.ownerKind = 2;
    style.time = 16 * 480;
    style.duration = 10;
    EventCellEditModel late = open(style);
    late.Spin(-1, "10");
    EXPECT_EQ(late.DurationEndText(), "???:??:???");
    style.ownerKind = 1;
    EventCellEditModel midi = open(style);
    midi.Spin(-1, "10");
    EXPECT_EQ(midi.DurationEndText(), " 17:01:009");

    // A typed duration is committed on OK.
    EXPECT_EQ(open(cell(7, 0x90)).Ok("960").duration, 960u);
}

TEST(EventCellEditModel, TimeAndPositionCommitTheTypedTick)
{
    EXPECT_EQ(open(cell(1, 0x90)).Ok("2500").time, 2500u);
    EXPECT_EQ(open(cell(2, 0x90)).Ok("3:2:10").time, 2 * 480u + 120 + 10);
    EXPECT_EQ(open(cell(2, 0x90)).Ok("1:5:0").time, 480u); // beats run on into the next bar
    EventCellEditModel time = open(cell(1, 0x90));
    time.TextChanged("77");
    EXPECT_EQ(time.SpinPosition(), 77);
    EXPECT_EQ(open(cell(5, 0xB0)).Ok("45").row, 7);
}

TEST(EventCellEditModel, MetaTextShortensLongTextsAndCommitsOnlyAChange)
{
    CellEditStart s = cell(5, 0xFF);
    s.dataBytes = std::string(300, 'a');
    EventCellEditModel m = open(s);
    EXPECT_EQ(m.Text(), std::string(252, 'a') + "...");
    EXPECT_EQ(m.Limit(), 255u);
    EXPECT_FALSE(m.SelectAll());
    EXPECT_FALSE(m.HasSpin());
    // Enter without a change leaves the 300 characters alone.
    EXPECT_FALSE(m.Ok(m.Text()).TextChanged());
    const CellEditResult edited = m.Ok("Chorus");
    EXPECT_TRUE(edited.TextChanged());
    EXPECT_EQ(edited.text, "Chorus");

    // File bytes are Windows-1252; the editor works in UTF-8.
    CellEditStart accented = cell(5, 0xFF);
    accented.dataBytes = "Caf\xE9";
    EventCellEditModel c = open(accented);
    EXPECT_EQ(c.Text(), "Caf\xC3\xA9");
    EXPECT_EQ(c.Ok("Caf\xC3\xA9 2").text, "Caf\xE9 2");
    EXPECT_FALSE(c.Ok(c.Text()).TextChanged());

    CellEditStart empty = cell(5, 0xF0);
    EXPECT_EQ(open(empty).Text(), "");
    CellEditStart exact = cell(5, 0xFF);
    exact.dataBytes = std::string(254, 'b');
    EXPECT_EQ(open(exact).Text(), std::string(254, 'b'));
}

// A number cell left without a digit does not parse (OK would take it as 0);
// text events take anything, and the stepped cells always hold their value.
TEST(EventCellEditModel, ACellWithoutADigitDoesNotParse)
{
    const struct {
        int column;
        uint8_t statusClass;
        const char* text;
        bool parses;
    } cases[] = {
        {1, 0x90, "", false},     {1, 0x90, "   ", false}, {1, 0x90, "0", true},
        {2, 0x90, ":", false},    {2, 0x90, "::", false},  {2, 0x90, "2", true},  {2, 0x90, "1:2:0", true},
        {5, 0xB0, "", false},     {5, 0xB0, "7", true},    {5, 0xE0, "", false},  {5, 0xE0, "16383", true},
        {6, 0x90, "", false},     {6, 0x90, "55", true},   {7, 0x90, " ", false}, {7, 0x90, "12", true},
        {3, 0x90, "", true},      {5, 0x90, "", true},     {5, 0xFF, "", true},   {5, 0xF0, "abc", true},
    };
    for (const auto& c : cases) {
        CellEditStart s = cell(c.column, c.statusClass);
        if (c.statusClass >= 0xF0) s.dataBytes = "Verse";
        EXPECT_EQ(open(s).Parses(c.text), c.parses) << c.column << "/" << int(c.statusClass) << " \"" << c.text << "\"";
    }
}
