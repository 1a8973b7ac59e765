#pragma once

#include "ui/core/DocTemplateStrings.h"

#include <string>
#include <wx/docview.h>

namespace zib {

class CZibDocTemplate;

// The document manager: opens files through the template whose extension
// fits, brings an already open document forward instead of reading its file
// again, and feeds the program's recent-file list.
class CZibDocManager : public wxDocManager {
public:
    CZibDocManager();

    // Opens `path` as a document; the document, or null when none was opened.
    wxDocument* OpenZibDocument(const std::string& path);

    // The templates of the program, in the order of their ids.
    std::vector<CZibDocTemplate*> ZibTemplates() const;

    // wxDocManager
    wxDocTemplate* FindTemplateForPath(const wxString& path) override;
    void AddFileToHistory(const wxString& file) override;
    wxFileHistory* OnCreateFileHistory() override;

private:
    // The template that opens `path` (ChooseDocTemplate); with an already open
    // document, that document in *openDocument.
    CZibDocTemplate* MatchPath(const std::string& path, MatchConfidence* confidence,
                               wxDocument** openDocument);
};

} // namespace zib
