#include "ui/core/DocTemplateStrings.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(DocTemplateStrings, FieldsOfTheEightTemplates)
{
    auto templates = ZibDocTemplates();
    ASSERT_EQ(templates.size(), 8u);
    const int ids[] = {117, 118, 119, 120, 121, 122, 123, 124};
    const char* exts[] = {".mid", ".sty", ".pcg;.prg", ".prf", ".pad", ".arr", ".gbl", ".arg"};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(templates[i].id, ids[i]);
        EXPECT_EQ(DocStringField(templates[i].docString, DocStringIndex::FilterExt), exts[i]);
        EXPECT_EQ(DocumentMenuIdFor(DocStringField(templates[i].docString, DocStringIndex::RegFileTypeName)),
                  ids[i]);
    }
    const auto& mid = *FindZibDocTemplate(117);
    EXPECT_EQ(DocStringField(mid.docString, DocStringIndex::WindowTitle), "");
    EXPECT_EQ(DocStringField(mid.docString, DocStringIndex::DocName), "ZibMid");
    EXPECT_EQ(DocStringField(mid.docString, DocStringIndex::FileNewName), "Midi Files (*.mid)");
    EXPECT_EQ(DocStringField(mid.docString, DocStringIndex::RegFileTypeName), "ZibMid Document");
    EXPECT_TRUE(FindZibDocTemplate(119)->multiExt);
    EXPECT_TRUE(FindZibDocTemplate(121)->multiExt);
    EXPECT_EQ(FindZibDocTemplate(125), nullptr);
    EXPECT_EQ(DocumentMenuIdFor("ZibXyz Document"), 0);
    EXPECT_EQ(DocStringField("a\nb", DocStringIndex::FilterExt), "");
}

TEST(DocTemplateStrings, MultiExtTemplateReportsTheSecondExtensionWithAStar)
{
    const auto pcg = FindZibDocTemplate(119)->docString;
    EXPECT_EQ(MultiExtDocStringField(pcg, DocStringIndex::FilterExt), ".pcg;*.prg");
    EXPECT_EQ(MultiExtDocStringField(pcg, DocStringIndex::FilterName), "Zib Pcg Files (*.pcg; *.prg)");
    EXPECT_EQ(MultiExtDocStringField(FindZibDocTemplate(121)->docString, DocStringIndex::FilterExt), ".pad");
    EXPECT_EQ(FilterPatternOf(".pcg;*.prg"), "*.pcg;*.prg");
    EXPECT_EQ(FilterPatternOf(".mid"), "*.mid");
}

TEST(DocTemplateStrings, MatchDocType)
{
    const std::vector<std::string> none;
    const std::vector<std::string> open = {"/music/A.PRG", "/music/b.pcg"};
    struct Case {
        const char* path;
        const char* filterExt;
        const std::vector<std::string>* open;
        MatchConfidence expected;
    } cases[] = {
        {"/music/x.PRG", ".pcg;*.prg", &none,
         MatchConfidence::YesAttemptNative}, // second extension, case ignored
        {"/music/x.pcg", ".pcg;*.prg", &none, MatchConfidence::YesAttemptNative},
        {"/music/x.mid", ".pcg;*.prg", &none, MatchConfidence::YesAttemptForeign},
        {"/music/noext", ".pcg;*.prg", &none, MatchConfidence::YesAttemptForeign},
        {"/mu.sic/noext", ".mid", &none, MatchConfidence::YesAttemptForeign},
        {"/music/x.MID", ".mid", &none, MatchConfidence::YesAttemptNative},
        {"/music/x.midi", ".mid", &none, MatchConfidence::YesAttemptForeign},
        {"/music/x.mid", "", &none, MatchConfidence::YesAttemptForeign},
        {"/music/A.PRG", ".pcg;*.prg", &open, MatchConfidence::YesAlreadyOpen},
        {"/music/a.PRG", ".pcg;*.prg", &open, MatchConfidence::YesAttemptNative}, // byte for byte only
        {"/music/b.pcg", ".sty", &open, MatchConfidence::YesAlreadyOpen},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchDocType(c.path, c.filterExt, *c.open), c.expected) << c.path;
}

TEST(DocTemplateStrings, ChooseTemplatePrefersOpenThenNative)
{
    std::vector<TemplateCandidate> t = {
        {".mid", {}},
        {".sty", {"/a/x.sty"}},
        {".pcg;*.prg", {}},
    };
    auto m = ChooseDocTemplate("/b/y.Prg", t);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->templateIndex, 2u);
    EXPECT_EQ(m->confidence, MatchConfidence::YesAttemptNative);
    m = ChooseDocTemplate("/a/x.sty", t);
    EXPECT_EQ(m->templateIndex, 1u);
    EXPECT_EQ(m->confidence, MatchConfidence::YesAlreadyOpen);
    m = ChooseDocTemplate("/b/readme.txt", t);
    EXPECT_EQ(m->templateIndex, 0u);
    EXPECT_EQ(m->confidence, MatchConfidence::YesAttemptForeign);
    EXPECT_FALSE(ChooseDocTemplate("/x.mid", {}));
}
