#pragma once

#include "docs/program/CGlobalListView.h"

namespace zib {

// The list view of a global-data document ("Global Parameter Name",
// "Parameter Value"); its dialog is "Global Data".
class CZibGblView : public CGlobalListView {
protected:
    WqGlobalDoc& Global() const override;
    std::string NameColumnTitle() const override { return "Global Parameter Name"; }
    int NameColumnWidth() const override { return 150; }
    bool RunDialog() override;

    wxDECLARE_DYNAMIC_CLASS(CZibGblView);
};

} // namespace zib
