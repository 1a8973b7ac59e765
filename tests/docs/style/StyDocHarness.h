#pragma once

#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "tests/support/BuildPaths.h"
#include "tests/support/FakeStyUiPort.h"
#include "tests/support/Golden.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zib::test {

// The fake UI port of a document under test.
struct UiHarness {
    FakeStyUiPort ui;
    std::vector<StyNotice>& notices = ui.messages;

    UiHarness() = default;
    UiHarness(const UiHarness&) = delete;
    UiHarness& operator=(const UiHarness&) = delete;

    // The English texts shown since the last call
    std::vector<std::string> texts()
    {
        std::vector<std::string> out = ui.texts();
        ui.messages.clear();
        return out;
    }
    template <class Item> static std::vector<std::string> namesOf(const std::vector<Item>& items)
    {
        std::vector<std::string> out;
        for (const auto& i : items)
            out.push_back(i.NameText());
        return out;
    }
};

// A style document on the fake UI port.
struct StyDocHarness : UiHarness {
    CZibStyDoc doc;
    StyDocHarness() { doc.SetPort(&ui); }
    std::vector<std::string> names() const { return namesOf(doc.m_StyItems); }
    std::vector<std::string> stsNames() const { return namesOf(doc.m_StsItems); }
};

// A pad document on the fake UI port.
struct PadDocHarness : UiHarness {
    CZibPadDoc doc;
    PadDocHarness() { doc.SetPort(&ui); }
    std::vector<std::string> names() const { return namesOf(doc.m_PadItems); }
};

// Compares `text` with the golden file `name` of tests/docs/style/golden
// (compareWithGolden: ZIB_UPDATE_GOLDEN writes it, but never in CI).
inline void expectGolden(const std::string& name, const std::string& text)
{
    SCOPED_TRACE(name);
    compareWithGolden(text, (test::SourceDir() / "tests/docs/style/golden" / name).string());
}

} // namespace zib::test
