#pragma once

#include "docs/program/CProgramWxDoc.h"
#include "docs/program/core/PcgDocModel.h"

namespace zib {

// The program and drum-kit document on screen: its model and the commands of
// its menu (Delete, Empty Item, Extract Item, Extract All Items, Import
// Item(s), Select All; Save and Save As come with the base).
class CZibPcgDoc : public CProgramWxDoc {
public:
    CZibPcgDoc();

    PcgDocModel& Model() { return model_; }
    ProgramDocBase& Base() override { return model_; }

    // wxDocument
    bool OnNewDocument() override;

protected:
    std::string SaveFilter() const override;
    std::string SaveExtension() const override;

private:
    PcgDocModel model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPcgDoc);
};

} // namespace zib
