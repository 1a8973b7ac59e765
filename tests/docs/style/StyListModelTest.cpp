#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/StyListModel.h"

#include "tests/support/StyFileBuilder.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace sty_list_model_test {

std::vector<std::string> titles(const std::vector<StyColumn>& columns)
{
    std::vector<std::string> out;
    for (const auto& c : columns)
        out.push_back(c.title);
    return out;
}

std::vector<uint8_t> qeFile()
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}, 0x79010000})),
                            test::stsEntry("PopSts", 2, 0, 3, 5),
                            test::qeEntry("Jazz", 2, 2, 2, test::qeStyleInstance({"Jazz", 1}))});
}

TEST(StyListModel, ColumnSetsAndCellsOfQeFiles)
{
    CZibStyDoc doc;
    ASSERT_TRUE(doc.OpenImage(qeFile(), "/x/q.sty"));
    EXPECT_EQ(titles(StyColumnSet(doc)),
              (std::vector<std::string>{"Style Name", "Bank/Position", "Size", "StEl", "Tact", "DRUM", "PERC", "BASS",
                                        "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"}));
    EXPECT_EQ(StyColumnSet(doc)[0].width, 100);
    EXPECT_EQ(StyCellText(doc, 0, 0, 0), "Pop");
    EXPECT_EQ(StyCellText(doc, 0, 1, 0), "3 / 0");
    EXPECT_EQ(StyCellText(doc, 2, 1, 0), "3 / 2");
    EXPECT_EQ(StyCellText(doc, 0, 2, 0), std::to_string(doc.m_StyItems[0].Size()));
    EXPECT_EQ(StyCellText(doc, 0, 3, 0), "V1");
    EXPECT_EQ(StyCellText(doc, 0, 3, 9), "E2");
    EXPECT_EQ(StyCellText(doc, 0, 4, 0), "4/4");
    EXPECT_EQ(StyCellText(doc, 0, 7, 0), "AcPianoWide"); // BASS: (121, 1, 0) in the Qe4k set
    EXPECT_EQ(StyCellText(doc, 1, 4, 0), "N/A");         // the empty row
    EXPECT_EQ(StyCellText(doc, 1, 5, 0), "N/A");
    EXPECT_EQ(StyCellText(doc, 7, 0, 0), "");
    EXPECT_EQ(StyRowImage(doc, 0), 0);
    EXPECT_EQ(StyRowImage(doc, 2), 1); // Qe9z

    doc.ToggleViewMode();
    EXPECT_EQ(titles(StyColumnSet(doc)), (std::vector<std::string>{"STS Name", "Bank/Position", "Size", "Ver", "Rel"}));
    EXPECT_EQ(StyCellText(doc, 0, 0, 0), "PopSts");
    EXPECT_EQ(StyCellText(doc, 0, 3, 0), "3");
    EXPECT_EQ(StyCellText(doc, 0, 4, 0), "5");
    EXPECT_EQ(StyCellText(doc, 2, 0, 0), "** (N/A) EMPTY **");
    EXPECT_EQ(StyCellText(doc, 2, 2, 0), "0");
}

TEST(StyListModel, CellsOfWqFiles)
{
    test::WqImageBuilder builder('M');
    builder.name("Beat").timeSig(35).track(0, 0x0401, 100, 15).track(2, 0x0010, 100, 15).cv(0, 0, 0, 1);
    builder.slot(0, 0, 0, {test::WqEv::bar(0), test::WqEv::note(0, 36, 100, 48), test::WqEv::end(0)});
    CZibStyDoc doc;
    ASSERT_TRUE(doc.OpenImage(test::wqStyleFile('M', {builder.build()}), "/x/w.STY"));
    EXPECT_EQ(titles(StyColumnSet(doc)), (std::vector<std::string>{"Style Name", "Position", "Size", "Tact", "DRUM",
                                                                    "PERC", "BASS", "ACC1", "ACC2", "ACC3"}));
    EXPECT_EQ(StyColumnSet(doc)[0].width, 120);
    EXPECT_EQ(StyCellText(doc, 0, 0, 0), "Beat");
    EXPECT_EQ(StyCellText(doc, 0, 1, 0), "U11");
    EXPECT_EQ(StyCellText(doc, 0, 3, 0), "4/8");
    EXPECT_EQ(StyCellText(doc, 0, 4, 0), GetItemProgramName(doc.ProgramNameSource(), 0x0401));
    EXPECT_EQ(StyCellText(doc, 0, 6, 0), GetItemProgramName(doc.ProgramNameSource(), 0x0010));
    EXPECT_EQ(StyRowImage(doc, 0), 0);
    // A document that is no .STY file shows no names.
    doc.m_FileKind = 0;
    EXPECT_EQ(StyCellText(doc, 0, 0, 0), "");
}

TEST(StyListModel, BlocksOfFourThatAreTooLarge)
{
    // Seven Wq8 items: the first four fit, the last three exceed 65504 together.
    auto item = [](size_t extra) {
        std::vector<uint8_t> data = test::smallWq8Image("Big");
        data.resize(data.size() + extra, 0);
        return data;
    };
    CZibStyDoc doc;
    doc.NewDocument();
    doc.m_Model = '9';
    for (size_t extra : {0, 0, 0, 0, 22000, 22000, 22000}) {
        CStyItem i;
        i.data = item(extra);
        doc.m_StyItems.push_back(i);
    }
    FileSizeCheck check = CheckFileSize(doc, false);
    EXPECT_TRUE(check.ok);
    EXPECT_EQ(check.tooLarge, (std::vector<bool>{false, false, false, false, true, true, true}));
    EXPECT_EQ(check.select, (std::vector<int>{4, 5, 6}));

    // A complete block of four over the limit: marked, not selected.
    CStyItem extra;
    extra.data = item(100);
    doc.m_StyItems.push_back(extra);
    check = CheckFileSize(doc, false);
    EXPECT_EQ(check.tooLarge[7], true);
    EXPECT_TRUE(check.select.empty());

    check = CheckFileSize(doc, true);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.notice.English().substr(0, 27), "CheckFileSize: Total size: ");
    EXPECT_NE(check.notice.English().find("larger then Wq8 size limit. Cannot save!!!"), std::string::npos);

    doc.m_Model = 'I'; // a Wq41 file takes 786048 bytes
    EXPECT_TRUE(CheckFileSize(doc, true).ok);
    doc.m_Model = 'F';
    EXPECT_TRUE(CheckFileSize(doc, true).tooLarge == std::vector<bool>(8, false));
}

TEST(StyListModel, ModelIcons)
{
    struct Case {
        uint32_t model;
        int icon;
    } cases[] = {{'9', 129}, {'I', 130}, {'M', 131}, {'<', 132}, {'H', 133}, {'F', 189}, {'X', 189}, {' ', 116}};
    for (const auto& c : cases)
        EXPECT_EQ(ModelIconId(c.model), c.icon);
}

} // namespace sty_list_model_test
} // namespace zib
