#pragma once

#include "docs/program/CProgramWxDoc.h"
#include "docs/program/core/ArgDocModel.h"

namespace zib {

// The arrangement-global document on screen: the 80-byte file, its rows and
// its dialog; Save and Save As write the image back.
class CZibArgDoc : public CProgramWxDoc {
public:
    ArgDocModel& Model() { return model_; }
    ProgramDocBase& Base() override { return model_; }

protected:
    std::string SaveFilter() const override { return "Arrangement Global Data Files (*.arg)|*.arg||"; }
    std::string SaveExtension() const override { return "ARG"; }

private:
    ArgDocModel model_;

    wxDECLARE_DYNAMIC_CLASS(CZibArgDoc);
};

} // namespace zib
