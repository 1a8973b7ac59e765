#pragma once

#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/CStyWxUiPort.h"

#include <cstdint>

class wxWindow;

namespace zib {

// The style document of the program: a style file (.STY) of either series
// held by its GUI-free model, with the tool windows opened on it.
class CZibStyWxDoc : public CItemWxDoc {
public:
    CZibStyWxDoc();

    CZibStyDoc& Model() { return model_; }
    const CZibStyDoc& Model() const { return model_; }

    // Tool windows opened on this document: the style edit frame, the text
    // dump window and the track event-list window, each with its open flag.
    wxWindow* m_StyleEditFrame = nullptr;
    uint8_t m_StyleEditFrameOpen = 0;
    wxWindow* m_TextDumpWindow = nullptr;
    uint8_t m_TextDumpOpen = 0;
    wxWindow* m_TrackEventWindow = nullptr;
    uint8_t m_TrackEventOpen = 0;

    void CloseToolWindows() override;
    // Closes the track event-list window (the edit frame calls it before it
    // rebuilds the style data).
    void CloseTrackEventWindow();

    // wxDocument
    bool OnNewDocument() override;

protected:
    bool OpenImage(std::vector<uint8_t> image, const std::string& path) override;
    std::vector<uint8_t> BuildImage() override { return model_.BuildFileImage(); }
    void ClearModel() override { model_.Clear(); }
    bool TakeAbortRequest() override { return model_.TakeAbortRequest(); }
    int FileKind() const override { return int(model_.m_FileKind); }
    std::string_view SaveFilter() const override { return "Style Files (*.STY)|*.STY||"; }

private:
    CStyWxUiPort port_{*this};
    CZibStyDoc model_;

    wxDECLARE_DYNAMIC_CLASS(CZibStyWxDoc);
};

} // namespace zib
