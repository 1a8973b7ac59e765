#pragma once

#include "ui/CListCtrlCustomDraw.h"
#include "mididoc/CChildSplitterMidFrame.h"

#include <memory>
#include <vector>
#include <wx/imaglist.h>
#include <wx/weakref.h>

class wxCommandEvent;
class wxListEvent;
class wxPaintEvent;
class wxSizeEvent;

namespace zib {

class CTrackListCtrl;
class CTrackListModel;
class CZibMidWxDoc;

// The track list of a MIDI document: the left pane of the MIDI window, one
// row per track record with its number, name, solo, mute and record
// switches, channel, ports, bank, patch, volume, pan and size. A click or
// double click toggles the switches; the cells and colours come from the
// GUI-free track list model.
class CZibMidView : public CListViewWithCustomDraw {
public:
    CZibMidView();
    ~CZibMidView() override;

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // The list
    CTrackListCtrl* TrackList() const { return m_list; }
    // Columns: removes every column and row, then inserts the 14 columns
    void BuildColumns();
    // One row per track record, with a fresh image list
    void Fill();
    // No rows
    void ClearList();
    void SelectAllRows();
    std::vector<int> SelectedRows() const;
    int FocusedRow() const;

    // "Rename Track": the focused row's label editor, starting at the track's
    // name; the name typed goes to the document (not while MIDI plays)
    void RenameFocusedTrack();

    // Painting held while the document changes, then the rows shown again
    void FreezeViews();
    void RefreshViews(bool tracksChanged);

private:
    bool CreateImageList(int imageHeight);
    // How wide the pane opens: the columns the layout's pane holds, in the list's font
    int PaneWidth() const;
    void MatchRowHeight();
    void AlignBarHeader();
    void SetBarHeader(int header);
    void OnRowsSized(wxSizeEvent& event);
    void SetFrameIcon(wxWindow& frame);
    void HitCell(const wxPoint& point, long& row, int& column) const;
    void OnLeftDown(wxMouseEvent& event);
    // What a click on a cell does, once the list has selected its row
    void ClickCell(long row, int column, bool playing);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnColumnBeginDrag(wxListEvent& event);
    void OnLiveValue(wxCommandEvent& event);
    void OnBeginLabelEdit(wxListEvent& event);
    void OnEndLabelEdit(wxListEvent& event);
    // Rows scrolled in step with the bar grid: the list's top row goes to
    // the grid, the grid's to the list
    void OnRowsPainted(wxPaintEvent& event);
    void FollowListScroll();
    void ScrollToRow(int topRow);
    void OnListDestroyed(wxWindowDestroyEvent& event);

    CZibMidWxDoc* m_doc = nullptr;
    wxWeakRef<CChildSplitterMidFrame> m_midFrame;
    CTrackListCtrl* m_list = nullptr;
    std::unique_ptr<CTrackListModel> m_model;
    std::unique_ptr<wxImageList> m_images;
    bool m_frozen = false;
    int m_topRow = 0;
    int m_imageHeight = 21;  // the rows' image: 2 pixels wide, as high as it takes
    int m_barHeader = -1;    // the grid's header height, as last aligned
    bool m_renaming = false; // a label edit that Rename Track started

    wxDECLARE_DYNAMIC_CLASS(CZibMidView);
};

} // namespace zib
