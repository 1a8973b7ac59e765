#pragma once

#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/CStyWxUiPort.h"

#include <cstdint>

class wxWindow;

namespace zib {

// The pad document of the program: a Qe pad file (.PAD) held by its
// GUI-free model, with the tool windows opened on it. A pad file is only
// opened, never made new.
class CZibPadWxDoc : public CItemWxDoc {
public:
    CZibPadWxDoc();

    CZibPadDoc& Model() { return model_; }
    const CZibPadDoc& Model() const { return model_; }

    // Tool windows: the pad edit frame and the text dump window.
    wxWindow* m_PadEditFrame = nullptr;
    uint8_t m_PadEditFrameOpen = 0;
    wxWindow* m_TextDumpWindow = nullptr;
    uint8_t m_TextDumpOpen = 0;

    void CloseToolWindows() override;
    // After the pad edit frame wrote a pad back: the text dump window goes.
    void ResetEditState();

    // wxDocument
    bool OnNewDocument() override { return false; }

protected:
    bool OpenImage(std::vector<uint8_t> image, const std::string& path) override;
    std::vector<uint8_t> BuildImage() override { return model_.BuildFileImage(); }
    void ClearModel() override { model_.Clear(); }
    bool TakeAbortRequest() override { return model_.TakeAbortRequest(); }
    int FileKind() const override { return int(model_.m_FileKind); }
    std::string_view SaveFilter() const override { return "Pad Files (*.PAD)|*.PAD||"; }

private:
    CStyWxUiPort port_{*this};
    CZibPadDoc model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPadWxDoc);
};

} // namespace zib
