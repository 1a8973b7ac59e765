#include "tests/devices/instruments/SameInstruments.h"

#include "devices/core/InsFileWriter.h"

#include <gtest/gtest.h>

namespace zib::test {

void expectSameInstruments(const InstrumentArray& is, const InstrumentArray& was)
{
    ASSERT_EQ(is.size(), was.size());
    for (size_t i = 0; i < is.size(); ++i) {
        const CInsInstrument& a = *is[i];
        const CInsInstrument& b = *was[i];
        EXPECT_EQ(a.name, b.name);
        ASSERT_EQ(a.patchLists.size(), b.patchLists.size()) << b.name;
        for (size_t j = 0; j < b.patchLists.size(); ++j) {
            EXPECT_EQ(a.patchLists[j].name, b.patchLists[j].name) << b.name;
            EXPECT_EQ(a.patchLists[j].names, b.patchLists[j].names) << b.name << " " << b.patchLists[j].name;
            EXPECT_EQ(a.patchLists[j].bank, b.patchLists[j].bank) << b.name;
            EXPECT_EQ(a.patchLists[j].bankText, b.patchLists[j].bankText) << b.name;
        }
        ASSERT_EQ(a.noteLists.size(), b.noteLists.size()) << b.name;
        for (size_t j = 0; j < b.noteLists.size(); ++j) {
            EXPECT_EQ(a.noteLists[j].name, b.noteLists[j].name) << b.name;
            EXPECT_EQ(a.noteLists[j].names, b.noteLists[j].names) << b.name << " " << b.noteLists[j].name;
            EXPECT_EQ(a.noteLists[j].keyText, b.noteLists[j].keyText) << b.name;
        }
        ASSERT_EQ(a.controllerLists.size(), b.controllerLists.size()) << b.name;
        for (size_t j = 0; j < b.controllerLists.size(); ++j) {
            EXPECT_EQ(a.controllerLists[j].name, b.controllerLists[j].name) << b.name;
            EXPECT_EQ(a.controllerLists[j].names, b.controllerLists[j].names) << b.name;
        }
        EXPECT_EQ(a.drums.size(), b.drums.size()) << b.name;
    }
    EXPECT_EQ(FormatInstrumentDefinitions(is, "Zib"), FormatInstrumentDefinitions(was, "Zib"));
}

} // namespace zib::test
