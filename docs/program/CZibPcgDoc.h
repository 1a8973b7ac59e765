#pragma once

#include "docs/program/core/PcgDocModel.h"

#include <string>
#include <vector>
#include <wx/docview.h>

namespace zib {

class CZibPcgView;

// The program and drum-kit document: reads its file whole, hands it to the
// GUI-free model and shows the model's messages. Its commands (Delete, Empty
// Item, Extract Item, Extract All Items, Import Item(s), Select All, Save and
// Save As) act on the rows its list view has selected.
class CZibPcgDoc : public wxDocument {
public:
    CZibPcgDoc();

    PcgDocModel& Model() { return model_; }
    CZibPcgView* View() const;

    // wxDocument
    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& file) override;
    bool OnSaveDocument(const wxString& file) override;
    bool OnSaveModified() override;
    bool DeleteContents() override;

    // The model's changes as the framework's modified flag.
    void SyncModified();
    // Closes the document after a fatal error, once the running command is done.
    void CloseAfterFatalError();
    // Shows one message of the model.
    static void ShowNotice(const StyNotice& notice);

private:
    void OnEditDelete(wxCommandEvent& event);
    void OnEditEmpty(wxCommandEvent& event);
    void OnEditExtract(wxCommandEvent& event);
    void OnEditExtractAll(wxCommandEvent& event);
    void OnEditImport(wxCommandEvent& event);
    void OnEditSelectAll(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);
    void OnUpdateNeedsItems(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);
    bool SaveTo(const std::string& file);
    std::string DefaultFolder() const;

    PcgDocModel model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPcgDoc);
};

} // namespace zib
