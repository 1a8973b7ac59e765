#pragma once

#include "app/CListCtrlCustomDraw.h"
#include "mididoc/core/CMidDocListener.h"

#include <memory>
#include <vector>
#include <wx/imaglist.h>
#include <wx/window.h>
#include <wx/weakref.h>

class wxListEvent;

namespace zib {

class CTrackListCtrl;
class CTrackListModel;
class CZibMidWxDoc;

// The track list of a MIDI document: the left pane of the MIDI window, one
// row per track record with its number, name, solo, mute and record
// switches, channel, ports, bank, patch, volume, pan and size. A click or
// double click toggles the switches; the cells and colours come from the
// GUI-free track list model.
class CZibMidView : public CListViewWithCustomDraw, public CMidDocListener {
public:
    CZibMidView();
    ~CZibMidView() override;

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;

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

    // Custom-draw hooks: the switch cells are coloured
    bool WantsItemNotifications() override { return true; }
    bool WantsCellNotifications(long, uint32_t, intptr_t) override { return true; }
    uint32_t CellBackColor(long item, int subItem, uint32_t state, intptr_t param) override;

    // CMidDocListener
    void FreezeViews() override;
    void RefreshViews(bool tracksChanged) override;

private:
    bool CreateImageList();
    void SetFrameIcon(wxWindow& frame);
    void HitCell(const wxPoint& point, long& row, int& column) const;
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnColumnBeginDrag(wxListEvent& event);

    CZibMidWxDoc* m_doc = nullptr;
    // The list draws through this view; it goes with the view, so no paint
    // queued for it can reach a view that is gone.
    wxWeakRef<CTrackListCtrl> m_list;
    std::unique_ptr<CTrackListModel> m_model;
    std::unique_ptr<wxImageList> m_images;
    bool m_frozen = false;

    wxDECLARE_DYNAMIC_CLASS(CZibMidView);
};

} // namespace zib
