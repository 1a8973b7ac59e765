#include "mididoc/CZibMidView.h"

#include <algorithm>

#include "mididoc/core/MidiDocMenu.h"

#include "mididoc/core/MidiCommandState.h"

#include "ui/MenuBuilder.h"

#include "ui/ShellServices.h"
#include "ui/ListColumns.h"
#include "ui/core/ColumnWidths.h"
#include "ui/CZibDocTemplate.h"
#include "ui/ZibMessageBox.h"
#include "mididoc/core/CTrackListModel.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CTrackListCtrl.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/CMidiWindowPlayer.h"
#include "mididoc/MidiDocSubsystem.h"
#include "mididoc/core/MidiTransport.h"
#include "mididoc/dialogs/CPositionDialogs.h"
#include "devices/CZibMidBarView.h"
#include "devices/core/BarGridModel.h"
#include "platform/AppEvents.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

#include <wx/artprov.h>
#include <wx/textctrl.h>
#include <wx/dcmemory.h>
#include <wx/listctrl.h>
#include <wx/splitter.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibMidView, wxView);

namespace {

constexpr int kMsgAddIconFailed = 32;

} // namespace

CZibMidView::CZibMidView() = default;

CZibMidView::~CZibMidView()
{
    // A list window that outlives the view for a moment must no longer ask
    // the view (its drawing handler) or the model for anything.
    if (m_list) {
        m_list->Unbind(wxEVT_DESTROY, &CZibMidView::OnListDestroyed, this);
        m_list->SetModel(nullptr);
    }
    if (m_doc) {
        if (m_doc->TrackView() == this) m_doc->SetTrackView(nullptr);
    }
    // The bar view's player reads the document, which goes with this view
    // (the frame itself goes later, and no longer names its view).
    if (m_midFrame) m_midFrame->DropPlayer();
}

bool CZibMidView::OnCreate(wxDocument* doc, long /*flags*/)
{
    // The new window, its bars and its first fill are painted once, when all
    // of them are in place: every bar and pane laid out on the way would
    // otherwise repaint the whole main window there and then.
    if (ShellServices* shell = ShellServices::Get()) shell->HoldPaintingUntilIdle();
    m_doc = dynamic_cast<CZibMidWxDoc*>(doc);
    auto* tmpl = doc ? dynamic_cast<CZibDocTemplate*>(doc->GetDocumentTemplate()) : nullptr;
    if (!m_doc || !tmpl) return false;
    auto* frame = dynamic_cast<CChildSplitterMidFrame*>(tmpl->CreateChildFrame(doc, this));
    if (!frame) return false;
    SetFrame(frame);
    m_midFrame = frame;

    m_model = std::make_unique<CTrackListModel>(m_doc->Model(), TrackNameSource());
    m_list = new CTrackListCtrl(frame->Splitter());
    m_list->SetModel(m_model.get());
    m_list->RowsWindow()->Bind(wxEVT_LEFT_DOWN, &CZibMidView::OnLeftDown, this);
    m_list->RowsWindow()->Bind(wxEVT_LEFT_DCLICK, &CZibMidView::OnLeftDoubleClick, this);
    m_list->RowsWindow()->Bind(wxEVT_RIGHT_DOWN, &CZibMidView::OnRightDown, this);
    m_list->Bind(wxEVT_KEY_DOWN, &CZibMidView::OnKeyDown, this);
    m_list->Bind(wxEVT_LIST_COL_BEGIN_DRAG, &CZibMidView::OnColumnBeginDrag, this);
    m_list->Bind(wxEVT_DESTROY, &CZibMidView::OnListDestroyed, this);
    m_list->Bind(EVT_ZIB_POSITION_VALUE, &CZibMidView::OnLiveValue, this);
    m_list->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CZibMidView::OnBeginLabelEdit, this);
    m_list->Bind(wxEVT_LIST_END_LABEL_EDIT, &CZibMidView::OnEndLabelEdit, this);
    // However the list scrolled (thumb, wheel, keys), it repaints: the grid follows then.
    m_list->RowsWindow()->Bind(wxEVT_PAINT, &CZibMidView::OnRowsPainted, this);
    m_list->RowsWindow()->Bind(wxEVT_SIZE, &CZibMidView::OnRowsSized, this);
    BuildColumns();
    frame->SetPanes(m_list, PaneWidth());
    // The bar grid's rows scroll the list's rows in step.
    if (CMidiWindowPlayer* player = frame->Player())
        player->View().OnRowsScrolled([this](int topRow) { ScrollToRow(topRow); });

    m_doc->SetTrackView(this);
    frame->Show();
    frame->Activate();
    return true;
}

void CZibMidView::OnActivateView(bool activate, wxView* activeView, wxView* deactiveView)
{
    CListViewWithCustomDraw::OnActivateView(activate, activeView, deactiveView);
    if (activate && m_doc) CChildSplitterMidFrame::ShowTransport(*m_doc);
}

bool CZibMidView::OnClose(bool deleteWindow)
{
    // The player still reads the document while MIDI plays.
    if (ShellPlaying()) return false;
    // The document asks about its changes first: its editors close with its
    // contents once it closes, and a Cancel leaves every window open.
    return CListViewWithCustomDraw::OnClose(deleteWindow);
}

void CZibMidView::OnUpdate(wxView* /*sender*/, wxObject* /*hint*/)
{
    if (!m_list) return;
    Fill();
    if (auto* frame = dynamic_cast<ZibMdiChildFrame*>(GetFrame())) {
        OnChangeFilename(); // the title, with the unsaved-changes mark
        SetFrameIcon(*frame);
    }
}

void CZibMidView::SetFrameIcon(wxWindow& frame)
{
    // One icon for format 1, one for format 0, and one for a file that is not MIDI.
    const MidiDocModel& model = m_doc->Model();
    const wxArtID art = model.MidiFlag() != 1 ? wxART_NORMAL_FILE
                        : model.Format() == 1 ? wxART_REPORT_VIEW
                                              : wxART_LIST_VIEW;
    if (auto* child = dynamic_cast<ZibMdiChildFrame*>(&frame))
        child->SetIcon(wxArtProvider::GetIcon(art, wxART_FRAME_ICON, wxSize(16, 16)));
}

// ---- The list --------------------------------------------------------------

bool CZibMidView::CreateImageList(int imageHeight)
{
    // A narrow blank image: it only makes the rows as high as the bar grid's.
    wxBitmap image(2, imageHeight);
    {
        wxMemoryDC dc(image);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
    }
    image.SetMask(new wxMask(image, *wxWHITE));
    m_images = std::make_unique<wxImageList>(2, imageHeight, true, 1);
    if (!image.IsOk() || m_images->Add(image) < 0) {
        m_images.reset();
        ZibMessageBox(kMsgAddIconFailed, "CreateImageList", wxOK | wxICON_EXCLAMATION);
        return false;
    }
    m_list->SetImageList(m_images.get(), wxIMAGE_LIST_SMALL);
    return true;
}

int CZibMidView::PaneWidth() const
{
    // The pane is laid out 250 pixels wide over the columns' laid-out widths;
    // in the list's font it holds the same columns whole, at their shown
    // widths, inside the list's border.
    constexpr int kLayoutPaneWidth = 250;
    std::vector<int> layout, shown;
    for (const auto& c : CTrackListModel::Columns()) {
        const int column = int(layout.size());
        layout.push_back(c.width);
        shown.push_back(column < m_list->GetColumnCount() ? m_list->GetColumnWidth(column) : c.width);
    }
    return ShownSpan(layout, shown, kLayoutPaneWidth) + m_list->GetWindowBorderSize().x;
}

void CZibMidView::MatchRowHeight()
{
    // The list's rows are as high as their image allows; grow or shrink the
    // image until they are as high as the bar grid's (once, on the first fill).
    wxRect row;
    CMidiWindowPlayer* player = m_midFrame ? m_midFrame->Player() : nullptr;
    if (!player || !m_images || m_list->GetItemCount() == 0 || !m_list->GetItemRect(0, row)) return;
    const int wanted = player->View().RowHeight();
    if (row.height == wanted) return;
    int width = 0, height = 0;
    m_images->GetSize(0, width, height);
    const int image = height + wanted - row.height;
    if (image < 1 || image > wanted) return;
    m_imageHeight = image;
    m_list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    CreateImageList(image);
    m_list->Refresh();
}

void CZibMidView::AlignBarHeader()
{
    // The grid's header strip reaches down to where the list's rows begin.
    CMidiWindowPlayer* player = m_midFrame ? m_midFrame->Player() : nullptr;
    if (!player || !m_list) return;
    SetBarHeader(m_list->RowsWindow()->GetScreenPosition().y - player->View().GetScreenPosition().y);
}

void CZibMidView::SetBarHeader(int header)
{
    CMidiWindowPlayer* player = m_midFrame ? m_midFrame->Player() : nullptr;
    if (!player || header == m_barHeader) return;
    m_barHeader = header;
    player->View().SetHeaderHeight(header);
}

void CZibMidView::OnRowsSized(wxSizeEvent& event)
{
    event.Skip();
    // The list places its rows under its header as it is laid out, before
    // anything shows: the grid's header takes that height at once (the list's
    // top border above it), so that the first paint already has it.
    if (!m_list) return;
    const int border = (m_list->GetSize().y - m_list->GetClientSize().y) / 2;
    SetBarHeader(m_list->RowsWindow()->GetPosition().y + border);
}

void CZibMidView::BuildColumns()
{
    if (!m_list) return;
    m_list->SetItemCount(0);
    m_list->DeleteAllColumns();
    for (const auto& c : CTrackListModel::Columns()) {
        AppendListColumn(*m_list, c.text, c.width,
                         c.align == CTrackListModel::Align::Center ? wxLIST_FORMAT_CENTRE
                                                                   : wxLIST_FORMAT_LEFT);
    }
}

void CZibMidView::Fill()
{
    if (!m_list) return;
    m_list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    CreateImageList(m_imageHeight);
    m_list->SetItemCount(m_model->RowCount());
    MatchRowHeight();
    m_list->Refresh();
}

void CZibMidView::ClearList()
{
    if (!m_list) return;
    m_list->SetItemCount(0);
    m_list->Refresh();
}

void CZibMidView::SelectAllRows()
{
    if (!m_list) return;
    for (long row = 0; row < m_list->GetItemCount(); ++row)
        m_list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    // The rows' commands (Edit Item, Properties) take the focused row: the first one when none has it.
    if (FocusedRow() < 0 && m_list->GetItemCount() > 0) m_list->SetItemState(0, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
}

std::vector<int> CZibMidView::SelectedRows() const
{
    std::vector<int> rows;
    if (!m_list) return rows;
    for (long row = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = m_list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(int(row));
    return rows;
}

int CZibMidView::FocusedRow() const
{
    return m_list ? int(m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED)) : -1;
}


// ---- Renaming --------------------------------------------------------------

void CZibMidView::RenameFocusedTrack()
{
    const int row = FocusedRow();
    if (!m_list || row < 0 || ShellPlaying() || !m_doc->Model().TrackRecord(row)) return;
    m_renaming = true;
    m_list->EditLabel(row);
}

void CZibMidView::OnBeginLabelEdit(wxListEvent& event)
{
    // Only Rename Track edits a label, and it starts from the track's name.
    if (!m_renaming || ShellPlaying()) {
        event.Veto();
        return;
    }
    const CTrackInfo* t = m_doc->Model().TrackRecord(int(event.GetIndex()));
    if (!t) {
        event.Veto();
        return;
    }
    CallAfter([this, name = wxFromCp1252(t->name)] {
        if (wxTextCtrl* edit = m_list ? m_list->GetEditControl() : nullptr) {
            edit->ChangeValue(name);
            edit->SelectAll();
        }
    });
}

void CZibMidView::OnEndLabelEdit(wxListEvent& event)
{
    // The label keeps showing the number; the name goes to the track.
    event.Veto();
    m_renaming = false;
    if (event.IsEditCancelled() || !m_doc) return;
    m_doc->Model().RenameTrack(int(event.GetIndex()), wxToUtf8(event.GetLabel()));
    m_doc->Modify(m_doc->Model().IsModified());
    if (m_list) m_list->RefreshItem(event.GetIndex());
}

// ---- Document changes ------------------------------------------------------

void CZibMidView::FreezeViews()
{
    if (m_list && !m_frozen) {
        m_list->Freeze();
        m_frozen = true;
    }
}

void CZibMidView::RefreshViews(bool /*tracksChanged*/)
{
    if (!m_list) return;
    if (m_frozen) {
        m_list->Thaw();
        m_frozen = false;
    }
    m_list->SetItemCount(m_model->RowCount());
    m_list->Refresh();
    // The bar grid beside the rows shows them as they are now too.
    if (MidiTransport* transport = m_doc ? m_doc->Transport() : nullptr) transport->TracksChanged();
}

// ---- Mouse -----------------------------------------------------------------

void CZibMidView::HitCell(const wxPoint& point, long& row, int& column) const
{
    ListCellAt(*m_list, point, row, column);
}

void CZibMidView::OnLeftDown(wxMouseEvent& event)
{
    event.Skip();
    long row = -1;
    int column = -1;
    HitCell(event.GetPosition(), row, column);
    if (row < 0 || column < 0) return;
    // The list selects the clicked row in its own handling of the press,
    // which comes after this one: the click acts once it has (the number
    // opens the event list of the rows selected then).
    CallAfter([this, row, column, playing = ShellPlaying()] { ClickCell(row, column, playing); });
}

void CZibMidView::ClickCell(long row, int column, bool playing)
{
    if (!m_list || !m_doc || row >= m_list->GetItemCount()) return;
    if (column != CTrackListModel::kNumberColumn) {
        m_list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                             wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
    auto& hooks = MidiWindowHooks();
    using A = CTrackListModel::ClickAction;
    switch (m_model->Click(int(row), column, playing)) {
    case A::OpenEventEditor:
        if (hooks.OpenEventEditor && !SelectedRows().empty()) hooks.OpenEventEditor(*m_doc, SelectedRows());
        break;
    case A::Redraw:
        m_list->RefreshItem(row);
        break;
    case A::TrackProperties:
        if (hooks.EditTrackProperties) hooks.EditTrackProperties(*m_doc, int(row), column);
        break;
    case A::LiveVolume:
    case A::LivePan: {
        // A small box over the cell; the value it reports goes out at once.
        wxRect cell;
        m_list->GetSubItemRect(row, column, cell);
        cell.SetPosition(m_list->ClientToScreen(cell.GetPosition()));
        const CTrackInfo* t = m_doc->Model().TrackRecord(int(row));
        const int value = !t ? 0 : column == CTrackListModel::kVolumeColumn ? t->volume : t->pan;
        CPositionDlg::Open(m_list, value, 0, 127, cell, int(row), column);
        break;
    }
    case A::None:
        break;
    }
}

void CZibMidView::OnRightDown(wxMouseEvent& event)
{
    // The track list's context menu; its commands go to the frame as menu commands.
    long row = -1;
    int column = -1;
    HitCell(event.GetPosition(), row, column);
    m_list->SelectForContextMenu(row);
    const std::vector<int> rows = SelectedRows();
    const int focused = FocusedRow();
    const bool focusedSelected = focused >= 0 && std::find(rows.begin(), rows.end(), focused) != rows.end();
    bool events = false;
    for (int r : rows)
        if (const CTrackInfo* t = m_doc->Model().TrackRecord(r); t && t->hasEvents) events = true;
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(TrackListPopupDef(), Shell().Language()));
    for (const MenuItemDef& item : TrackListPopupDef())
        if (item.id) menu->Enable(cmd::ToWxId(item.id), TrackListPopupEnabled(item.id, focusedSelected, ShellPlaying(), events));
    const int chosen = m_list->GetPopupMenuSelectionFromUser(*menu, event.GetPosition());
    if (chosen == wxID_NONE) return;
    const int command = cmd::FromWxId(chosen);
    if (command == midicmd::SoloTrack || command == midicmd::MutePlayTrack) {
        for (int r : rows) {
            const CTrackInfo* t = m_doc->Model().TrackRecord(r);
            if (!t) continue;
            if (command == midicmd::SoloTrack)
                m_doc->Model().SetTrackSolo(r, t->solo ? 0 : 1);
            else
                m_doc->Model().SetTrackPlay(r, t->play ? 0 : 1);
            m_list->RefreshItem(r);
        }
        if (MidiTransport* transport = m_doc->Transport()) transport->TrackSwitchesChanged();
        return;
    }
    wxCommandEvent run(wxEVT_MENU, chosen);
    GetFrame()->ProcessWindowEvent(run);
}

void CZibMidView::OnKeyDown(wxKeyEvent& event)
{
    // Delete takes the From-Thru events of the selected tracks (the menu only shows the key).
    if (event.GetKeyCode() == WXK_DELETE) {
        wxCommandEvent run(wxEVT_MENU, cmd::ToWxId(midicmd::DeleteFromThru));
        GetFrame()->ProcessWindowEvent(run);
        return;
    }
    event.Skip();
    // The keys that move along the song move the bar grid too; its rows
    // follow the list's scrolling.
    const int key = event.GetKeyCode();
    if (key == WXK_LEFT || key == WXK_RIGHT || key == WXK_HOME || key == WXK_END)
        if (MidiTransport* transport = m_doc ? m_doc->Transport() : nullptr) transport->PassKey(key);
}

void CZibMidView::OnRowsPainted(wxPaintEvent& event)
{
    event.Skip();
    CallAfter([this] {
        FollowListScroll();
        AlignBarHeader();
    });
}

void CZibMidView::FollowListScroll()
{
    if (!m_list || !m_doc) return;
    int x = 0, top = 0;
    m_list->GetViewStart(&x, &top); // the report list scrolls by rows
    if (top == m_topRow) return;
    m_topRow = top;
    if (MidiTransport* transport = m_doc->Transport()) transport->ScrollRowsTo(top);
}

void CZibMidView::ScrollToRow(int topRow)
{
    if (!m_list || topRow == m_topRow) return;
    m_topRow = topRow;
    // A report list scrolls by whole rows.
    m_list->Scroll(-1, topRow);
}

void CZibMidView::OnLeftDoubleClick(wxMouseEvent& event)
{
    event.Skip();
    if (ShellPlaying()) return;
    long row = -1;
    int column = -1;
    HitCell(event.GetPosition(), row, column);
    if (row < 0 || column < 0) return;
    if (column != CTrackListModel::kNumberColumn)
        m_list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    const std::vector<int> rows = SelectedRows();
    m_model->NoteSelectedRows(rows);
    MidiTransport* transport = m_doc->Transport();
    if (transport) transport->SelectRows(rows, int(row));
    if (m_model->DoubleClick(int(row), column)) {
        m_list->RefreshItem(row);
        if (transport) transport->TrackSwitchesChanged();
    }
}

void CZibMidView::OnLiveValue(wxCommandEvent& event)
{
    // Only while MIDI plays; a box still open when the song ended changes nothing.
    if (!ShellPlaying() || !m_doc) return;
    const int row = int(event.GetExtraLong() & 0xFFFF);
    const int column = int(event.GetExtraLong() >> 16);
    const int value = std::min(event.GetInt(), 127);
    m_model->ApplyLiveValue(row, column, value);
    if (MidiTransport* transport = m_doc->Transport())
        transport->SendLiveValue(row, column == CTrackListModel::kVolumeColumn, uint8_t(value));
    m_list->RefreshItem(row);
}

void CZibMidView::OnListDestroyed(wxWindowDestroyEvent& event)
{
    event.Skip();
    if (event.GetEventObject() == m_list) m_list = nullptr;
}

void CZibMidView::OnColumnBeginDrag(wxListEvent& event)
{
    // The S, M and R columns keep their width.
    const int column = event.GetColumn();
    if (column == CTrackListModel::kSoloColumn || column == CTrackListModel::kMuteColumn ||
        column == CTrackListModel::kRecordColumn)
        event.Veto();
    else
        event.Skip();
}

} // namespace zib
