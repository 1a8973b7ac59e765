#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/CZibMdiChild.h"
#include "ui/core/MenuModel.h"
#include "mididoc/core/TrackEditorHost.h"

#include <array>
#include <memory>

namespace zib {

class CEventListCtrl;
class CMidiParserEx;

// The editor of one track of a pad or style chord variation: one event list
// over the sequence the tree view exported, with the Filter, Edit and
// Undo/Redo commands of its own menu, and Ctrl+S, which saves the document.
// Its list keeps working while MIDI plays (the player never reads this
// copy); undo and redo wait for the document's own player. Closing it drops
// the document's undo history and its list at once (the document may go
// before the frame does).
class CTrackEditorFrame : public CZibMdiChild {
public:
    ~CTrackEditorFrame() override;

    int MenuTemplateId() const override;
    const MenuBarDef* OwnMenu() const override;
    // The pad or style document of the edited track, which the main title names
    wxDocument* OwnerDocument() const override;
    void SetOwnerDocument(wxDocument* document) { m_document = document; }
    void FillStatus(ChildStatus& status) const override;

    CEventListCtrl& List() { return *m_list; }
    // Another track of the same chord variation: the list shows it instead
    // (its open cell goes in first; one that does not parse keeps this track)
    void ShowTrack(int trackIndex, const wxString& title);
    // The frame keeps its host from now on
    void KeepHost(std::unique_ptr<TrackEditorHost> host) { m_ownedHost = std::move(host); }

protected:
    CTrackEditorFrame(ZibMdiParentFrame& frame, const wxString& title, TrackEditorHost& host, int trackIndex);

private:
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnCloseWindow(wxCloseEvent& event);

    TrackEditorHost& m_host;
    std::unique_ptr<TrackEditorHost> m_ownedHost;
    CEventListCtrl* m_list = nullptr;
    wxDocument* m_document = nullptr;
    std::array<bool, 7> m_filterShown{true, true, true, true, true, true, true};
};

} // namespace zib
