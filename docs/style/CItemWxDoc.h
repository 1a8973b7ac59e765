#pragma once

#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include <wx/docview.h>

namespace zib {

// The framework side of a keyboard document: reads the whole file and hands
// it to the GUI-free model, writes the model's file image back atomically,
// asks before unsaved changes are lost, remembers the file's folder and
// kind in the settings, and closes itself when the model's data became
// unusable. The style and pad documents derive from it.
class CItemWxDoc : public wxDocument {
public:
    // wxDocument
    bool OnOpenDocument(const wxString& path) override;
    bool OnSaveModified() override;
    bool SaveAs() override;
    bool DoSaveDocument(const wxString& path) override;
    bool DeleteContents() override;

    // Closes the tool windows opened on this document.
    virtual void CloseToolWindows() = 0;
    // After a command: a model that asks to be aborted closes the document.
    void CheckAbort();

protected:
    // The model's side
    virtual bool OpenImage(std::vector<uint8_t> image, const std::string& path) = 0;
    virtual std::vector<uint8_t> BuildImage() = 0;
    virtual void ClearModel() = 0;
    virtual bool TakeAbortRequest() = 0;
    virtual int FileKind() const = 0;
    // The save dialog's filter ("Name|*.EXT||").
    virtual std::string_view SaveFilter() const = 0;
};

} // namespace zib
