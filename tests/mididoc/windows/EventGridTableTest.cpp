// The event list's grid table without a window: the rows and cells a grid
// asks for, with the list model's colours.
#include "mididoc/CEventGridTable.h"
#include "mididoc/core/EventListModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/CiRun.h"
#include "tests/support/gui/TestShell.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <cstdlib>
#include <wx/init.h>

using namespace zib;

// An application object made by wxInitializer (no window, no main loop), and
// the program's services as a window alone needs them.
wxIMPLEMENT_APP_NO_MAIN(wxApp);
static zib::test::TestShell testShell;

namespace {

// The windowing library starts on a private display; no window is made.
class EventGridTable : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        display_ = new test::XvfbDisplay;
        if (display_->ok()) setenv("DISPLAY", display_->name().c_str(), 1);
        init_ = new wxInitializer;
    }
    static void TearDownTestSuite()
    {
        delete init_;
        delete display_;
    }
    void SetUp() override
    {
        if (!display_->ok() || !init_->IsOk()) {
            test::reportMissingInCi("Xvfb (package xvfb) and the windowing library on it");
            GTEST_SKIP() << "Xvfb is not available";
        }
    }
    static inline test::XvfbDisplay* display_ = nullptr;
    static inline wxInitializer* init_ = nullptr;
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
