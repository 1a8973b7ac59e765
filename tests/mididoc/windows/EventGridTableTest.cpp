// The event list's grid table without a window: the rows and cells a grid
// asks for, with the list model's colours.
#include "mididoc/CEventGridTable.h"
#include "mididoc/core/EventListModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/mididoc/windows/WindowTestApp.h"

#include <gtest/gtest.h>

using namespace zib;

namespace {

// The windowing library on the private display; no window is made.
class EventGridTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::WindowsAvailable()) GTEST_SKIP() << "Xvfb is not available";
    }
};

wxColour textOf(CEventGridTable& table, int row, int col)
{
    wxGridCellAttr* attr = table.GetAttr(row, col, wxGridCellAttr::Any);
    const wxColour c = attr->HasTextColour() ? attr->GetTextColour() : wxNullColour;
    attr->DecRef();
    return c;
}

wxColour backOf(CEventGridTable& table, int row, int col)
{
    wxGridCellAttr* attr = table.GetAttr(row, col, wxGridCellAttr::Any);
    const wxColour c = attr->HasBackgroundColour() ? attr->GetBackgroundColour() : wxNullColour;
    attr->DecRef();
    return c;
}

} // namespace

TEST_F(EventGridTable, RowsAreTheVisibleEventsAndTheTrailingRow)
{
    test::DocFixture f(test::smallSong(2));
    EventListModel model(*f.doc);
    std::array<uint8_t, 65> shown{};
    shown[1] = shown[2] = 1;
    model.SetShownTracks(shown);
    model.RefillRows();
    CEventGridTable table(model);
    // Eight notes (names, programs and the first volume are first of their kind: no rows), then the trailing row.
    ASSERT_EQ(table.GetNumberRows(), 9);
    EXPECT_EQ(table.GetNumberCols(), EventListModel::kColumnCount);
    EXPECT_EQ(table.GetValue(0, EventListModel::kCodeColumn).Trim(), "Note");
    EXPECT_EQ(table.GetValue(8, EventListModel::kCodeColumn), "");
    EXPECT_EQ(table.GetValue(8, EventListModel::kTimeColumn), "");
    EXPECT_EQ(table.GetColLabelValue(EventListModel::kPositionColumn).Trim(false), "M:B:T");
    // Every cell is read-only until the list allows one edit.
    wxGridCellAttr* attr = table.GetAttr(2, 6, wxGridCellAttr::Any);
    EXPECT_TRUE(attr->IsReadOnly());
    attr->DecRef();
}

TEST_F(EventGridTable, ColoursFollowTheModel)
{
    test::DocFixture f(test::smallSong(1));
    EventListModel model(*f.doc);
    model.ShowOnlyTrack(1);
    model.RefillRows();
    CEventGridTable table(model);
    // Note-ons print black; the trailing row has the list's colour.
    EXPECT_EQ(textOf(table, 0, 1), wxColour(0, 0, 0));
    EXPECT_EQ(textOf(table, model.TrailingRow(), 1), wxNullColour);
    EXPECT_EQ(backOf(table, 0, 1), wxNullColour);
    // While the trailing row is current every row is red.
    model.SetCurrentRow(model.TrailingRow());
    EXPECT_EQ(backOf(table, 0, 1), wxColour(255, 0, 0));
    EXPECT_EQ(backOf(table, 2, 5), wxColour(255, 0, 0));
}
