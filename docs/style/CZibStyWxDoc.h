#pragma once

#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/CItemWxDoc.h"

namespace zib {

// The style document of the program: a style file (.STY) of either series
// held by its GUI-free model, with the tool windows opened on it.
class CZibStyWxDoc : public CItemWxDoc {
public:
    CZibStyWxDoc() { AttachModel(); }

    // CItemWxDoc
    CZibStyDoc& Model() override { return model_; }
    const CZibStyDoc& Model() const override { return model_; }
    bool IsPad() const override { return false; }
    CStyItem* EditItem(int row) override;

protected:
    std::string_view SaveFilter() const override { return "Style Files (*.STY)|*.STY||"; }

private:
    CZibStyDoc model_;

    wxDECLARE_DYNAMIC_CLASS(CZibStyWxDoc);
};

} // namespace zib
