#pragma once

#include "ui/core/DocTemplateStrings.h"
#include "ui/core/MenuModel.h"

#include <string>
#include <wx/docview.h>

namespace zib {

class CZibMdiChild;

// A document template of the program, described by its document string (see
// DocTemplateStrings) and naming its document, view and child frame classes
// and the document menu its frames show.
class CZibDocTemplate : public wxDocTemplate {
public:
    CZibDocTemplate(wxDocManager* manager, const ZibDocTemplateInfo& info, wxClassInfo* docClass,
                    wxClassInfo* viewClass, wxClassInfo* frameClass, MenuBarDef documentMenu);

    int TemplateId() const { return id_; }
    const MenuBarDef& DocumentMenu() const { return documentMenu_; }

    // Field `index` of the document string.
    virtual std::string GetDocString(DocStringIndex index) const;

    // How well the template fits `path` (already open documents compared byte for byte).
    MatchConfidence MatchDocType(const std::string& path, wxDocument** openDocument) const;
    // The template as the matching rules see it: its filter extension field and
    // the paths of its open documents (`openDocuments` receives those documents).
    TemplateCandidate Candidate(std::vector<wxDocument*>* openDocuments = nullptr) const;

    // The child frame for a new view: an object of the template's frame class,
    // created as an MDI child of the main frame. Views call this from OnCreate.
    CZibMdiChild* CreateChildFrame(wxDocument* doc, wxView* view);

    // wxDocTemplate
    bool FileMatchesTemplate(const wxString& path) override;

protected:
    std::string docString_;

private:
    int id_;
    wxClassInfo* frameClass_;
    MenuBarDef documentMenu_;
};

} // namespace zib
