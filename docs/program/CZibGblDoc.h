#pragma once

#include "docs/program/CProgramWxDoc.h"
#include "docs/program/core/GblDocModel.h"

namespace zib {

// The global-data document on screen: the 448-byte file, its rows and
// its dialog; Save and Save As write the image back.
class CZibGblDoc : public CProgramWxDoc {
public:
    GblDocModel& Model() { return model_; }
    ProgramDocBase& Base() override { return model_; }

protected:
    std::string SaveFilter() const override { return "Global Data Files (*.gbl)|*.gbl||"; }
    std::string SaveExtension() const override { return "GBL"; }

private:
    GblDocModel model_;

    wxDECLARE_DYNAMIC_CLASS(CZibGblDoc);
};

} // namespace zib
