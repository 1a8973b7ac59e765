#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Fields of a document string: "\nZibMid\nMidi Files (*.mid)\n...". Each
// template of the program is described by one such string.
enum class DocStringIndex {
    WindowTitle = 0,
    DocName = 1,
    FileNewName = 2,
    FilterName = 3,
    FilterExt = 4,
    RegFileTypeId = 5,
    RegFileTypeName = 6,
};

// The templates of the program, in the order they are added at start-up.
struct ZibDocTemplateInfo {
    int id; // menu, icon and document-string id
    std::string_view docString;
    bool multiExt; // served by CMultiExtDocTemplate (two extensions)
};
std::span<const ZibDocTemplateInfo> ZibDocTemplates();
const ZibDocTemplateInfo* FindZibDocTemplate(int id);

// Field `index` of the document string; empty when it has fewer fields.
std::string DocStringField(std::string_view docString, DocStringIndex index);

// The field as CMultiExtDocTemplate reports it: the filter extension field
// ".pcg;.prg" becomes ".pcg;*.prg" (a '*' after the ';'), so that file
// dialogs build the filter "*.pcg;*.prg". Other fields as they are.
std::string MultiExtDocStringField(std::string_view docString, DocStringIndex index);

// The wildcard filter of a filter extension field: ".mid" -> "*.mid",
// ".pcg;*.prg" -> "*.pcg;*.prg".
std::string FilterPatternOf(std::string_view filterExt);

// The document menu a template's registry file-type name selects (117-124), or 0.
int DocumentMenuIdFor(std::string_view regFileTypeName);

// How well a template fits a path, best last.
enum class MatchConfidence { No, YesAttemptForeign, YesAttemptNative, YesAlreadyOpen };

// The template's answer for `path`. `filterExt` is the filter extension field
// as the template reports it; `openPaths` are the paths of its open
// documents. A document whose path equals `path` byte for byte is already
// open (*openIndex tells which). Otherwise the path's extension (from the
// last '.' of its file name, dot included) must equal the field, or with a
// ';' one of its two extensions (the second begins two characters after the
// ';'), case ignored: native; anything else is foreign.
MatchConfidence MatchDocType(std::string_view path, std::string_view filterExt,
                             std::span<const std::string> openPaths, size_t* openIndex = nullptr);

// The template that opens `path`: the first that has it already open, else the
// first native match, else the first foreign one.
struct TemplateMatch {
    size_t templateIndex = 0;
    MatchConfidence confidence = MatchConfidence::No;
    size_t openDocumentIndex = 0; // with YesAlreadyOpen
};
struct TemplateCandidate {
    std::string filterExt;
    std::vector<std::string> openPaths;
};
std::optional<TemplateMatch> ChooseDocTemplate(std::string_view path,
                                               std::span<const TemplateCandidate> templates);

} // namespace zib
