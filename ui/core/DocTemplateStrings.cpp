#include "ui/core/DocTemplateStrings.h"

#include "ui/core/AsciiCase.h"

#include <array>

namespace zib {

namespace {

constexpr std::array<ZibDocTemplateInfo, 8> kTemplates{{
    {117, "\nZibMid\nMidi Files (*.mid)\nZib Mid Files (*.mid)\n.mid\nZibMid.Document\nZibMid Document",
     false},
    {118, "\nZibSty\nStyle Files (*.sty)\nZib Sty Files (*.sty)\n.sty\nZibSty.Document\nZibSty Document",
     false},
    {119,
     "\nZibPcg\nProgram Files (*.pcg;*.prg)\nZib Pcg Files (*.pcg; "
     "*.prg)\n.pcg;.prg\nZibPcg.Document\nZibPcg Document",
     true},
    {120,
     "\nZibPrf\nPerformance Files (*.prf)\nZib Prf Files (*.prf)\n.prf\nZibPrf.Document\nZibPrf Document",
     false},
    {121, "\nZibPad\nPad Files (*.pad)\nZib Pad Files (*.pad)\n.pad\nZibPad.Document\nZibPad Document", true},
    {122,
     "\nZibArr\nArrangement Files (*.arr)\nZib Arr Files (*.arr)\n.arr\nZibArr.Document\nZibArr Document",
     false},
    {123,
     "\nZibGbl\nGlobal Data Files (*.gbl)\nZib Gbl Files (*.gbl)\n.gbl\nZibGbl.Document\nZibGbl Document",
     false},
    {124,
     "\nZibArg\nArrangement Global Data Files (*.arg)\nZib Arg Files (*.arg)\n.arg\nZibArg.Document\nZibArg "
     "Document",
     false},
}};

} // namespace

std::span<const ZibDocTemplateInfo> ZibDocTemplates()
{
    return kTemplates;
}

const ZibDocTemplateInfo* FindZibDocTemplate(int id)
{
    for (const auto& t : kTemplates)
        if (t.id == id) return &t;
    return nullptr;
}

std::string DocStringField(std::string_view docString, DocStringIndex index)
{
    size_t start = 0;
    for (int i = 0; i < int(index); ++i) {
        size_t nl = docString.find('\n', start);
        if (nl == std::string_view::npos) return {};
        start = nl + 1;
    }
    size_t end = docString.find('\n', start);
    return std::string(
        docString.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string MultiExtDocStringField(std::string_view docString, DocStringIndex index)
{
    std::string field = DocStringField(docString, index);
    if (index != DocStringIndex::FilterExt) return field;
    size_t p = field.find(';');
    if (p == std::string::npos) return field;
    return field.substr(0, p + 1) + "*" + field.substr(p + 1);
}

std::string FilterPatternOf(std::string_view filterExt)
{
    if (filterExt.empty()) return "*.*";
    return "*" + std::string(filterExt);
}

int DocumentMenuIdFor(std::string_view regFileTypeName)
{
    for (const auto& t : kTemplates)
        if (DocStringField(t.docString, DocStringIndex::RegFileTypeName) == regFileTypeName) return t.id;
    return 0;
}

MatchConfidence MatchDocType(std::string_view path, std::string_view filterExt,
                             std::span<const std::string> openPaths, size_t* openIndex)
{
    for (size_t i = 0; i < openPaths.size(); ++i) {
        if (openPaths[i] == path) {
            if (openIndex) *openIndex = i;
            return MatchConfidence::YesAlreadyOpen;
        }
    }
    if (filterExt.empty()) return MatchConfidence::YesAttemptForeign;

    size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return MatchConfidence::YesAttemptForeign;
    std::string_view ext = name.substr(dot);

    size_t semi = filterExt.find(';');
    if (semi == std::string_view::npos)
        return EqualIgnoringCase(ext, filterExt) ? MatchConfidence::YesAttemptNative
                                                 : MatchConfidence::YesAttemptForeign;
    std::string_view first = filterExt.substr(0, semi);
    std::string_view second = semi + 2 <= filterExt.size() ? filterExt.substr(semi + 2) : std::string_view();
    return EqualIgnoringCase(ext, first) || EqualIgnoringCase(ext, second)
               ? MatchConfidence::YesAttemptNative
               : MatchConfidence::YesAttemptForeign;
}

std::optional<TemplateMatch> ChooseDocTemplate(std::string_view path,
                                               std::span<const TemplateCandidate> templates)
{
    std::optional<TemplateMatch> best;
    for (size_t i = 0; i < templates.size(); ++i) {
        TemplateMatch m;
        m.templateIndex = i;
        m.confidence =
            MatchDocType(path, templates[i].filterExt, templates[i].openPaths, &m.openDocumentIndex);
        if (!best || m.confidence > best->confidence) best = m;
        if (m.confidence == MatchConfidence::YesAlreadyOpen) break;
    }
    return best;
}

} // namespace zib
