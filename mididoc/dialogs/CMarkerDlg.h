#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/PositionDlgModels.h"

#include <string>

class wxTextCtrl;

namespace zib {

class CPositionEditB;

// "Marker" (247): the text and position of a marker or text meta event. The
// caller gives the caption ("Edit Meta Event - %s", "Create Meta Event - %s").
class CMarkerDlg : public CZibDialog {
public:
    // `text` in file bytes (Windows-1252).
    CMarkerDlg(wxWindow* parent, const wxString& caption, const std::string& text, uint32_t tick,
               const MeasureContext* context);

    const std::string& Text() const { return text_; }
    uint32_t Tick() const { return tick_; }

private:
    std::string text_;
    uint32_t tick_;
    wxTextCtrl* edit_ = nullptr;
    CPositionEditB* position_ = nullptr;
};

} // namespace zib
