#pragma once

#include "docs/program/CGlobalListView.h"

namespace zib {

// The list view of an arrangement-global document ("Global Arrangement
// Parameter", "Parameter Value"); its dialog is the WqR65's or the Wq41's.
class CZibArgView : public CGlobalListView {
protected:
    WqGlobalDoc& Global() const override;
    std::string NameColumnTitle() const override { return "Global Arrangement Parameter"; }
    int NameColumnWidth() const override { return 200; }
    bool RunDialog() override;

    wxDECLARE_DYNAMIC_CLASS(CZibArgView);
};

} // namespace zib
