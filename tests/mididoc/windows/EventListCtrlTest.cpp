// The event list's open cell, in the list window alone: whatever refills the
// rows, runs a command on them or leaves the list takes the typed value
// first, as Enter would, in the whole-file list of a song and in the track
// list of a style. A text that does not parse stops a command with the
// cell's message and stays in the open cell; leaving the list drops it.
#include "mididoc/CEventListCtrl.h"
#include "mididoc/core/TrackEditorOwner.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/mididoc/windows/WindowTestApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>

using namespace zib;

namespace {

constexpr int kNoteRow = 2;
constexpr int kVelocityColumn = 6;

// Every modal dialog is answered OK at once, and counted.
class AnswerOk : public wxModalDialogHook {
public:
    AnswerOk() { Register(); }
    ~AnswerOk() override { Unregister(); }
    int shown = 0;

protected:
    int Enter(wxDialog*) override
    {
        ++shown;
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

// The list's owner: a song's document for the whole-file list, or a style's
// track owner over a sequence of one channel's notes for a track list
struct Owner {
    test::DocFixture doc{test::smallSong(2)};
    test::TestSettings settings;
    std::atomic<int> playing{0};
    CMidiParserEx sequence;
    std::unique_ptr<TrackEditorOwner> track;

    explicit Owner(bool trackList)
    {
        doc.dialogs.transpose = 0;
        if (!trackList) return;
        test::SmfBuilder smf(0, 96);
        test::SmfTrack& t = smf.AddTrack();
        t.Program(0, 0, 1).Controller(0, 0, 7, 90);
        for (uint32_t beat = 0; beat < 4; ++beat)
            t.NoteOn(beat * 96, 0, 60, 100).NoteOff(beat * 96 + 48, 0, 60);
        const std::vector<uint8_t> image = smf.Build();
        EXPECT_EQ(sequence.ParseImage(image.data(), uint32_t(image.size())), 0);
        track = std::make_unique<TrackEditorOwner>(EventListOwner::kStyleDocument, 'F', settings.settings,
                                                   playing, doc.doc->Hooks());
        track->BindSequence(&sequence);
    }
    EventListOwner& owner() { return track ? static_cast<EventListOwner&>(*track) : *doc.doc; }
};

// A road from an open cell: what the list is asked, and whether the road
// went on (a command that ran, a list refilled)
struct Road {
    const char* name;
    std::function<bool(CEventListCtrl&)> take;
    bool leaves; // the list is left: a text that does not parse is dropped, without a word
};

void PrintTo(const Road& road, std::ostream* out)
{
    *out << road.name;
}

bool ran(EditResult result)
{
    return result != EditResult::Cancelled;
}

const Road kRoads[] = {
    {"Refill", [](CEventListCtrl& l) { return l.RefillRows(); }, false},
    {"Filter", [](CEventListCtrl& l) { return l.ToggleFilter(2).has_value(); }, false},
    {"AnotherTrack",
     [](CEventListCtrl& l) {
         return l.ChangeRows([&] { l.Model().ShowOnlyTrack(l.Model().FirstShownTrack()); });
     },
     false},
    {"Insert", [](CEventListCtrl& l) { return ran(l.CreateEvent()); }, false},
    {"Paste", [](CEventListCtrl& l) { return ran(l.PasteEvents(0)); }, false},
    {"Transpose", [](CEventListCtrl& l) { return ran(l.TransposeEvents()); }, false},
    {"Commit", [](CEventListCtrl& l) { return l.CommitInPlaceEdit(); }, false},
    {"Leave",
     [](CEventListCtrl& l) {
         l.CloseCellEditor();
         return true;
     },
     true},
    {"Scroll",
     [](CEventListCtrl& l) {
         wxScrollWinEvent scroll(wxEVT_SCROLLWIN_LINEDOWN, 0, wxVERTICAL);
         scroll.SetEventObject(&l);
         l.ProcessWindowEvent(scroll);
         return true;
     },
     true},
};

class EventListCtrlOpenCell : public ::testing::TestWithParam<std::tuple<bool, Road>> {
protected:
    void SetUp() override
    {
        if (!test::WindowsAvailable()) GTEST_SKIP() << "Xvfb is not available";
        owner_ = std::make_unique<Owner>(std::get<0>(GetParam()));
        frame_ = new wxFrame(nullptr, wxID_ANY, "Event list", wxDefaultPosition, wxSize(800, 400));
        list_ = new CEventListCtrl(frame_, owner_->owner());
        std::array<uint8_t, 65> shown{};
        shown[1] = 1;
        list_->Model().SetShownTracks(shown);
        list_->RefillRows();
        frame_->Show();
        wxTheApp->ProcessPendingEvents();
        note_ = list_->Model().RowEvent(kNoteRow);
        ASSERT_NE(note_, nullptr);
        ASSERT_EQ(note_->data[1], 100);
    }
    void TearDown() override
    {
        if (frame_) frame_->Destroy();
        if (wxTheApp) wxTheApp->ProcessIdle();
    }

    // A double click on the note's velocity, `text` typed into its editor; no Enter
    void typeIntoNote(const std::string& text)
    {
        list_->SelectRow(kNoteRow);
        wxGridEvent click(list_->GetId(), wxEVT_GRID_CELL_LEFT_DCLICK, list_, kNoteRow, kVelocityColumn);
        list_->ProcessWindowEvent(click);
        wxTheApp->ProcessPendingEvents();
        ASSERT_TRUE(list_->IsCellEditControlEnabled());
        wxGridCellEditor* editor = list_->GetCellEditor(kNoteRow, kVelocityColumn);
        auto* field = dynamic_cast<wxTextCtrl*>(editor->GetWindow());
        editor->DecRef();
        ASSERT_NE(field, nullptr);
        field->SetValue(wxString::FromUTF8(text));
    }

    const Road& road() const { return std::get<1>(GetParam()); }

    std::unique_ptr<Owner> owner_;
    wxFrame* frame_ = nullptr;
    CEventListCtrl* list_ = nullptr;
    CMidiEvent* note_ = nullptr;
};

TEST_P(EventListCtrlOpenCell, TheTypedValueGoesInFirst)
{
    typeIntoNote("42");
    AnswerOk answers;
    EXPECT_TRUE(road().take(*list_));
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(note_->data[1], 42);
    EXPECT_FALSE(list_->IsCellEditControlEnabled());
    EXPECT_EQ(answers.shown, 0);
}

// A text that does not parse is never taken and never dropped unseen: a
// command stops at the cell's message; leaving, scrolling or resizing the
// list leaves the cell open with its text and says nothing.
TEST_P(EventListCtrlOpenCell, AValueThatDoesNotParseStopsACommandAndStaysWhenTheListIsLeft)
{
    typeIntoNote("");
    const int rows = list_->GetNumberRows();
    AnswerOk answers;
    const bool went = road().take(*list_);
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(note_->data[1], 100);
    EXPECT_EQ(list_->GetNumberRows(), rows);
    EXPECT_TRUE(list_->IsCellEditControlEnabled());
    if (road().leaves) {
        EXPECT_EQ(answers.shown, 0);
    } else {
        EXPECT_FALSE(went);
        EXPECT_EQ(answers.shown, 1); // the cell's message
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, EventListCtrlOpenCell,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kRoads)),
                         [](const ::testing::TestParamInfo<std::tuple<bool, Road>>& info) {
                             return std::string(std::get<0>(info.param) ? "TrackList_" : "WholeFile_") +
                                    std::get<1>(info.param).name;
                         });

// A double click while a cell is open (before the grid has ended its edit
// on the first click): the open cell goes in and the double click does no
// more, as the rows under it may have moved; the next one opens its cell.
TEST(EventListCtrlOpenCellOnce, ADoubleClickWhileACellIsOpenCommitsItAndOpensNothing)
{
    if (!test::WindowsAvailable()) GTEST_SKIP() << "Xvfb is not available";
    Owner owner(false);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Event list", wxDefaultPosition, wxSize(800, 400));
    auto* list = new CEventListCtrl(frame, owner.owner());
    std::array<uint8_t, 65> shown{};
    shown[1] = shown[2] = 1;
    list->Model().SetShownTracks(shown);
    list->RefillRows();
    frame->Show();
    const auto doubleClick = [&](int row, int column) -> wxTextCtrl* {
        wxGridEvent click(list->GetId(), wxEVT_GRID_CELL_LEFT_DCLICK, list, row, column);
        list->ProcessWindowEvent(click);
        wxTheApp->ProcessPendingEvents();
        if (!list->IsCellEditControlEnabled()) return nullptr;
        wxGridCellEditor* editor = list->GetCellEditor(row, column);
        auto* field = dynamic_cast<wxTextCtrl*>(editor->GetWindow());
        editor->DecRef();
        return field;
    };
    // The first note of track 1 typed to tick 300, behind every other note
    wxTextCtrl* time = doubleClick(0, EventListModel::kTimeColumn);
    ASSERT_NE(time, nullptr);
    time->SetValue("300");
    EXPECT_EQ(doubleClick(7, kVelocityColumn), nullptr);
    EXPECT_EQ(list->Model().CellText(7, EventListModel::kTimeColumn).find("300") != std::string::npos, true)
        << list->Model().CellText(7, EventListModel::kTimeColumn);
    EXPECT_NE(doubleClick(7, kVelocityColumn), nullptr);
    frame->Destroy();
    wxTheApp->ProcessIdle();
}

} // namespace
