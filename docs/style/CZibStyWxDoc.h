#pragma once

#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/CStyWxUiPort.h"

namespace zib {

// The style document of the program: a style file (.STY) of either series
// held by its GUI-free model, with the tool windows opened on it.
class CZibStyWxDoc : public CItemWxDoc {
public:
    CZibStyWxDoc();

    CZibStyDoc& Model() { return model_; }
    const CZibStyDoc& Model() const { return model_; }

    // CItemWxDoc
    bool IsPad() const override { return false; }
    uint32_t ModelLetter() const override { return model_.m_Model; }
    CStyItem* EditItem(int row) override;
    StyUiPort& UiPort() override { return port_; }
    void SetModelModified() override { model_.SetModified(); }

    // wxDocument
    bool OnNewDocument() override;

protected:
    bool OpenImage(std::vector<uint8_t> image, const std::string& path) override;
    std::vector<uint8_t> BuildImage() override { return model_.BuildFileImage(); }
    void ClearModel() override { model_.Clear(); }
    bool TakeAbortRequest() override { return model_.TakeAbortRequest(); }
    int FileKind() const override { return int(model_.m_FileKind); }
    void SetModelSettings(StyDocSettings settings) override { model_.SetSettings(std::move(settings)); }
    std::string_view SaveFilter() const override { return "Style Files (*.STY)|*.STY||"; }

private:
    CStyWxUiPort port_{*this};
    CZibStyDoc model_;

    wxDECLARE_DYNAMIC_CLASS(CZibStyWxDoc);
};

} // namespace zib
