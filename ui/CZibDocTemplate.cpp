#include "ui/CZibDocTemplate.h"

#include "ui/CChildFrames.h"
#include "ui/ShellServices.h"
#include "platform/WxText.h"

namespace zib {

namespace {

std::string field(std::string_view docString, DocStringIndex index)
{
    return DocStringField(docString, index);
}

wxString extensionOf(std::string_view docString)
{
    // The default extension without its dot: ".pcg;.prg" -> "pcg".
    std::string ext = field(docString, DocStringIndex::FilterExt);
    ext = ext.substr(0, ext.find(';'));
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return wxFromUtf8(ext);
}

} // namespace

CZibDocTemplate::CZibDocTemplate(wxDocManager* manager, const ZibDocTemplateInfo& info, wxClassInfo* docClass,
                                 wxClassInfo* viewClass, wxClassInfo* frameClass, MenuBarDef documentMenu)
    : wxDocTemplate(
          manager, wxFromUtf8(field(info.docString, DocStringIndex::FilterName)),
          wxFromUtf8(FilterPatternOf(MultiExtDocStringField(info.docString, DocStringIndex::FilterExt))),
          wxString(), extensionOf(info.docString),
          wxFromUtf8(field(info.docString, DocStringIndex::RegFileTypeName)),
          wxFromUtf8(field(info.docString, DocStringIndex::DocName)), docClass, viewClass),
      docString_(info.docString), id_(info.id), frameClass_(frameClass),
      documentMenu_(std::move(documentMenu))
{
}

std::string CZibDocTemplate::GetDocString(DocStringIndex index) const
{
    return field(docString_, index);
}

TemplateCandidate CZibDocTemplate::Candidate(std::vector<wxDocument*>* openDocuments) const
{
    TemplateCandidate candidate{GetDocString(DocStringIndex::FilterExt), {}};
    for (wxDocument* doc : GetDocumentManager()->GetDocumentsVector()) {
        if (doc->GetDocumentTemplate() != this) continue;
        candidate.openPaths.push_back(wxToUtf8(doc->GetFilename()));
        if (openDocuments) openDocuments->push_back(doc);
    }
    return candidate;
}

MatchConfidence CZibDocTemplate::MatchDocType(const std::string& path, wxDocument** openDocument) const
{
    std::vector<wxDocument*> docs;
    const TemplateCandidate candidate = Candidate(&docs);
    size_t openIndex = 0;
    const MatchConfidence c = zib::MatchDocType(path, candidate.filterExt, candidate.openPaths, &openIndex);
    if (openDocument) *openDocument = c == MatchConfidence::YesAlreadyOpen ? docs[openIndex] : nullptr;
    return c;
}

bool CZibDocTemplate::FileMatchesTemplate(const wxString& path)
{
    return MatchDocType(wxToUtf8(path), nullptr) >= MatchConfidence::YesAttemptNative;
}

CZibMdiChild* CZibDocTemplate::CreateChildFrame(wxDocument* doc, wxView* view)
{
    ZibMdiParentFrame* main = ShellFrame();
    if (!main || !frameClass_) return nullptr;
    wxObject* object = frameClass_->CreateObject();
    auto* frame = dynamic_cast<CZibDocChildFrame*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    if (!frame->Create(doc, view, main, wxID_ANY, doc ? doc->GetUserReadableName() : wxString())) {
        delete frame;
        return nullptr;
    }
    return frame;
}

} // namespace zib
