#pragma once

#include "docs/program/CProgramWxDoc.h"
#include "docs/program/core/ArrDocModel.h"

namespace zib {

// The arrangement document on screen: its model and the commands of its
// menu (Delete, Empty Item, Extract Item, Extract All Items, Import Item(s),
// Select All; Save and Save As come with the base).
class CZibArrDoc : public CProgramWxDoc {
public:
    CZibArrDoc();

    ArrDocModel& Model() { return model_; }
    ProgramDocBase& Base() override { return model_; }

    bool OnNewDocument() override;

protected:
    std::string SaveFilter() const override { return "Arrangement Files (*.arr)|*.arr||"; }
    std::string SaveExtension() const override { return "ARR"; }

private:
    ArrDocModel model_;

    wxDECLARE_DYNAMIC_CLASS(CZibArrDoc);
};

} // namespace zib
