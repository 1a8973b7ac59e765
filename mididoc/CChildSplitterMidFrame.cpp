#include "mididoc/CChildSplitterMidFrame.h"

#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/MidiDocSubsystem.h"

#include <wx/sizer.h>
#include <wx/splitter.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CChildSplitterMidFrame, ZibMdiChildFrame);

namespace {

constexpr int kTrackListWidth = 250;

} // namespace

CChildSplitterMidFrame::CChildSplitterMidFrame() = default;

wxSplitterWindow* CChildSplitterMidFrame::Splitter()
{
    if (!m_splitter) {
        m_splitter = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                          wxSP_LIVE_UPDATE | wxSP_3D);
        m_splitter->SetMinimumPaneSize(20);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_splitter, 1, wxEXPAND);
        SetSizer(sizer);
    }
    return m_splitter;
}

void CChildSplitterMidFrame::SetPanes(wxWindow* trackList)
{
    wxSplitterWindow* splitter = Splitter();
    auto* doc = dynamic_cast<CZibMidWxDoc*>(GetDocument());
    auto& make = MidiWindowHooks().MakeSecondPane;
    m_secondPane = (make && doc) ? make(splitter, *doc) : nullptr;
    if (m_secondPane)
        splitter->SplitVertically(trackList, m_secondPane, kTrackListWidth);
    else
        splitter->Initialize(trackList);
    Layout();
}

} // namespace zib
