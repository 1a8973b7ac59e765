#include "ui/core/FileDialogModels.h"
#include "ui/core/SmallSettingsDlgModels.h"
#include "ui/core/WqStyleDlgModels.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(SmallSettingsDlgModels, SortTransposeAndKeyboard)
{
    SortMethodDlgModel sort;
    sort.method = 5;
    EXPECT_EQ(sort.CheckedAtStart(), SortMethodDlgModel::kInsertSort);
    sort.Ok(SortMethodDlgModel::kQuickSort);
    EXPECT_EQ(sort.method, 0u);

    TransposeSettingsDlgModel t;
    t.mask = 512 | (1u << 20);
    EXPECT_TRUE(t.CheckedAtStart(9));
    EXPECT_FALSE(t.CheckedAtStart(0));
    std::array<bool, 16> boxes{};
    t.Ok(boxes);
    EXPECT_EQ(t.mask, 0u); // every channel transposed; the stray high bit is gone
    boxes[0] = boxes[15] = true;
    t.Ok(boxes);
    EXPECT_EQ(t.mask, 0x8001u);

    KeyboardTypeDlgModel k;
    k.code = 70;
    EXPECT_EQ(k.CheckedAtStart(), 1581);
    k.Ok(1579);
    EXPECT_EQ(k.code, 77u);
    k.code = 99;
    EXPECT_EQ(k.CheckedAtStart(), 0);
    k.Ok(0);
    EXPECT_EQ(k.code, 99u);
}

TEST(SmallSettingsDlgModels, ToolbarsDialogByWindowKind)
{
    BarFlags flags;
    flags.fill(true);
    flags[size_t(BarFlag::MoveItem)] = false;
    struct Case {
        int kind;
        const char* enabled; // boxes 1905 .. 1913
        const char* checked;
    } cases[] = {
        {0, "111111111", "000000000"},  {1, "100000111", "100000110"}, // style window: MoveItem flag is off
        {9, "100000111", "100000110"},  {5, "111111000", "111111000"}, {8, "111111000", "111111000"},
        {2, "100000000", "100000000"}, // other kinds: Common and MoveItem only
        {13, "100000000", "100000000"},
    };
    for (const auto& c : cases) {
        ToolbarsDlgModel m(c.kind, flags);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(m.enabled(1905 + i), c.enabled[i] == '1') << c.kind << " box " << 1905 + i;
            EXPECT_EQ(m.checked(1905 + i), c.checked[i] == '1') << c.kind << " box " << 1905 + i;
        }
    }
    std::vector<std::pair<BarFlag, bool>> applied;
    ToolbarsDlgModel m(1, flags, [&](BarFlag f, bool on) { applied.emplace_back(f, on); });
    m.Click(1913, true);
    m.Click(1906, false);
    m.Click(1234, true);
    EXPECT_TRUE(m.flags()[size_t(BarFlag::MoveItem)]);
    EXPECT_FALSE(m.flags()[size_t(BarFlag::MidiDoc)]);
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0], std::make_pair(BarFlag::MoveItem, true));
}

TEST(WqStyleDlgModels, ChordTableOfAnElement)
{
    std::vector<uint8_t> image(1168);
    int modified = 0;
    WqStyleItemRef item{'9', image, [&] { ++modified; }};
    image[134 + 20 * 4 + 0] = 1;
    image[134 + 20 * 4 + 1] = 4; // INT1 has no CV5
    EditChordTableDlgModel m(item, 4);
    ASSERT_TRUE(m.usable());
    EXPECT_EQ(m.Choices(), (std::vector<std::string>{"CV1", "CV2"}));
    EXPECT_EQ(m.SelectedAtStart(0), 1);
    EXPECT_EQ(m.SelectedAtStart(1), -1);
    std::array<int, 20> chosen{};
    chosen[0] = 1;
    chosen[1] = -1;
    chosen[2] = 9;
    EXPECT_TRUE(m.Ok(chosen));
    EXPECT_EQ(image[134 + 80], 1);
    EXPECT_EQ(image[134 + 81], 0);
    EXPECT_EQ(image[134 + 82], 0);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(EditChordTableDlgModel(item, 0).Choices().size(), 6u);

    // Layout B: offset 142.
    std::vector<uint8_t> b(1176);
    b[142 + 20 * 9 + 19] = 1;
    EXPECT_EQ(EditChordTableDlgModel(WqStyleItemRef{'M', b, {}}, 9).SelectedAtStart(19), 1);
}

TEST(WqStyleDlgModels, ImagesShorterThanTheHeadAreRefused)
{
    std::vector<uint8_t> shortA(1167), shortB(1175), fullA(1168);
    EXPECT_FALSE(EditChordTableDlgModel(WqStyleItemRef{'9', shortA, {}}, 0).usable());
    EXPECT_FALSE(EditChordTableDlgModel(WqStyleItemRef{'I', shortB, {}}, 0).usable());
    EXPECT_FALSE(CvParamsDlgModel(WqStyleItemRef{'H', shortA, {}}, 0, 0).usable());
    EXPECT_FALSE(CvParamsDlgModel(WqStyleItemRef{'M', fullA, {}}, 0, 0).usable()); // layout B needs 1176
    EXPECT_FALSE(EditChordTableDlgModel(WqStyleItemRef{'9', fullA, {}}, 10).usable());
    EXPECT_FALSE(CvParamsDlgModel(WqStyleItemRef{'9', fullA, {}}, 4, 2).usable()); // INT1 has two CVs
    std::array<int, 20> chosen{};
    EXPECT_FALSE(EditChordTableDlgModel(WqStyleItemRef{'9', shortA, {}}, 0).Ok(chosen));
    EXPECT_FALSE(CvParamsDlgModel(WqStyleItemRef{'9', shortA, {}}, 0, 0).Ok("Amin", "10"));
}

TEST(WqStyleDlgModels, CvParametersByName)
{
    std::vector<uint8_t> image(1168);
    WqStyleItemRef item{'<', image, {}};
    CvParamsDlgModel m(item, 5, 1); // INT2 CV2: slot 5 * 2 + 16 + 1 = 27
    ASSERT_TRUE(m.usable());
    EXPECT_EQ(m.slot(), 27);
    EXPECT_TRUE(m.Ok("Amin", "10"));
    EXPECT_EQ(image[62 + 54], 19);
    EXPECT_EQ(image[63 + 54], 10);
    EXPECT_TRUE(m.Ok("", "")); // nothing chosen: values kept
    EXPECT_EQ(image[62 + 54], 19);
    EXPECT_EQ(CvParamsDlgModel(item, 3, 5).slot(), 23);
    EXPECT_EQ(CvParamsDlgModel::KeyName(0), "CMajor");
    EXPECT_EQ(CvParamsDlgModel::KeyName(3), "C#min");
    EXPECT_EQ(CvParamsDlgModel::KeyName(23), "Bmin");
    EXPECT_EQ(CvParamsDlgModel::KeyValueOf("Amin"), 19);
    EXPECT_EQ(CvParamsDlgModel::KeyValueOf("Hmin"), -1);
    EXPECT_EQ(CvParamsDlgModel::LengthValueOf("16"), 16);
    EXPECT_EQ(CvParamsDlgModel::LengthValueOf("17"), -1);
}

TEST(FileDialogModels, MidiToStyFormat)
{
    EXPECT_EQ(MidiToStyFormatModel('M').PreselectedEntry(), 1);
    EXPECT_EQ(MidiToStyFormatModel('<').PreselectedEntry(), 4);
    EXPECT_EQ(MidiToStyFormatModel('F').PreselectedEntry(), -1);
    struct Case {
        uint32_t given;
        const char* text;
        uint32_t result;
    } cases[] = {
        {'9', "DASKI - Dask Wq41 format", 'I'},
        {'9', "DASKH - Formato Dask WqT517", 'H'}, // a translated line keeps its letter
        {'F', "", 'F'},                            // nothing chosen: the letter comes back unchanged
        {'9', "DAS", '9'},                         // short typed text
        {'9', "DASKX", '9'},                       // not one of the five letters
    };
    for (const auto& c : cases) {
        MidiToStyFormatModel m(c.given);
        m.Finish(c.text);
        EXPECT_EQ(m.modelLetter(), c.result) << c.text;
    }
    EXPECT_EQ(int(ConfirmOverwriteResult::YesToAll), 1085);
}
