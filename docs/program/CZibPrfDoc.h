#pragma once

#include "docs/program/CProgramWxDoc.h"
#include "docs/program/core/PrfDocModel.h"

namespace zib {

// The performance document on screen: its model and the commands of its
// menu (Delete, Empty Item, Extract Item, Extract All Items, Import Item(s),
// Select All; Save and Save As come with the base).
class CZibPrfDoc : public CProgramWxDoc {
public:
    CZibPrfDoc();

    PrfDocModel& Model() { return model_; }
    ProgramDocBase& Base() override { return model_; }

    bool OnNewDocument() override;

protected:
    std::string SaveFilter() const override { return "Performance Files (*.prf)|*.prf||"; }
    std::string SaveExtension() const override { return "PRF"; }

private:
    PrfDocModel model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPrfDoc);
};

} // namespace zib
