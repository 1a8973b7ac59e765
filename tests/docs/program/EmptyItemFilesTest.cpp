// Item files with an empty body are refused at import, as other bad items
// are: a list never shows an item that Save would leave out of the file.
#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PrfDocModel.h"
#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

int rowsOf(const PcgDocModel& doc)
{
    return doc.ProgramCount();
}
int rowsOf(const PrfDocModel& doc)
{
    return doc.Count();
}

// Imports one item file into a document opened from `image`: the document,
// its file and its rows stay as they were, unmarked, after message 26.
template <class Model>
void expectRefused(const char* document, const std::vector<uint8_t>& image, const char* itemFile,
                   const std::vector<uint8_t>& item, const char* caption)
{
    SCOPED_TRACE(std::string(document) + " <- " + itemFile);
    test::ProgramTestDoc<Model> t;
    ASSERT_TRUE(t.open(document, image));
    const auto before = t.doc.BuildFileImage();
    ASSERT_TRUE(before);
    const int rows = rowsOf(t.doc);
    EXPECT_FALSE(t.doc.ImportFiles({t.file(itemFile, item)}));
    EXPECT_EQ(t.said(), std::vector<std::string>{"26"});
    EXPECT_EQ(t.captions(), std::vector<std::string>{caption});
    EXPECT_EQ(rowsOf(t.doc), rows);
    EXPECT_FALSE(t.doc.modified);
    EXPECT_EQ(t.doc.BuildFileImage(), before);
}

TEST(EmptyItemFiles, AreRefusedAtImport)
{
    const auto programs = test::qePcgImage({{"Piano", 9, 0, 4, 1}, {"Organ", 9, 1, 4, 2}});
    const auto performances = test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)}});
    for (int letter : {'F', 'X'})
        expectRefused<PcgDocModel>("qe.pcg", programs, "QeProgA.WPF",
                                   test::qeItemFile(letter, "QeProgA", 9, {}), "ImportPcg");
    expectRefused<PrfDocModel>("live.prf", performances, "QePerfA.WFF", test::wffItemFile('F', "QePerfA", {}),
                               "ImportPerf");
}

} // namespace
} // namespace zib
