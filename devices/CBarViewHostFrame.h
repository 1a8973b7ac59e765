#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/CZibMdiChild.h"
#include "devices/core/FilePlaybackDocument.h"

#include <memory>
#include <string>

class wxTextCtrl;

namespace zib {

class CZibMidBarView;

// A child window that holds a MIDI bar view over a MIDI file until the MIDI
// child frame hosts it: the view with plain text fields for the position,
// From, Thru and tempo, and the transport commands routed to the view's
// player (Play 32912, Stop 32911, Record 32915, the moves, markers and loop).
class CBarViewHostFrame : public CZibMdiChild {
public:
    // Null when the file cannot be read as a MIDI file
    static CBarViewHostFrame* Open(ZibMdiParentFrame& frame, const std::string& path);
    ~CBarViewHostFrame() override;

    CZibMidBarView& View() { return *m_view; }
    FilePlaybackDocument& Document() { return *m_document; }
    wxTextCtrl* PositionText() const { return m_position; }

private:
    CBarViewHostFrame(ZibMdiParentFrame& frame, const std::string& path, std::unique_ptr<FilePlaybackDocument> document);
    void OnCommand(wxCommandEvent& event);

    std::unique_ptr<FilePlaybackDocument> m_document;
    CZibMidBarView* m_view = nullptr;
    wxTextCtrl* m_position = nullptr;
};

} // namespace zib
