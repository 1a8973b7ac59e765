#pragma once

#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/CItemWxDoc.h"

namespace zib {

// The pad document of the program: a Qe pad file (.PAD) held by its
// GUI-free model, with the tool windows opened on it.
class CZibPadWxDoc : public CItemWxDoc {
public:
    CZibPadWxDoc() { AttachModel(); }

    // CItemWxDoc
    CZibPadDoc& Model() override { return model_; }
    const CZibPadDoc& Model() const override { return model_; }
    bool IsPad() const override { return true; }
    CStyItem* EditItem(int row) override;

protected:
    std::string_view SaveFilter() const override { return "Pad Files (*.PAD)|*.PAD||"; }

private:
    CZibPadDoc model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPadWxDoc);
};

} // namespace zib
