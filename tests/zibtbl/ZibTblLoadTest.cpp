// Loads the built libzibtbl.so by its file name, as the program does, and
// checks what it exports.

#include <gtest/gtest.h>
#include "tests/support/BuildPaths.h"

#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

// The C++ names of GetQeTension(u8, u8, i32, u8, i32, i32) and
// GetWqSeriesTension(u8, i32, u8, i32, i32).
constexpr const char* kQeSymbol = "_Z12GetQeTensionhhihii";
constexpr const char* kWqSymbol = "_Z18GetWqSeriesTensionhihii";

using QeFn = std::int32_t (*)(std::uint8_t, std::uint8_t, std::int32_t, std::uint8_t, std::int32_t,
                              std::int32_t);
using WqFn = std::int32_t (*)(std::uint8_t, std::int32_t, std::uint8_t, std::int32_t, std::int32_t);

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};

TEST(ZibTblLoad, LookupsAreFoundByTheirCppNames)
{
    std::unique_ptr<void, LibraryCloser> lib(dlopen(zib::test::BuildFile(ZIBTBL_LIBRARY_PATH).c_str(), RTLD_NOW | RTLD_LOCAL));
    ASSERT_TRUE(lib) << dlerror();
    auto qe = reinterpret_cast<QeFn>(dlsym(lib.get(), kQeSymbol));
    auto wq = reinterpret_cast<WqFn>(dlsym(lib.get(), kWqSymbol));
    ASSERT_NE(qe, nullptr) << kQeSymbol;
    ASSERT_NE(wq, nullptr) << kWqSymbol;

    EXPECT_EQ(qe(0, 0, 0, 7, 0, 4), -1);          // Major -> min: the third down
    EXPECT_EQ(qe(1, 0, 0, 0, 14, 0), 0x01060102); // 9+#11 on the root: a pair
    EXPECT_EQ(qe(0, 3, 0, 7, 0, 4), 0);           // unknown NTT mode
    EXPECT_EQ(qe(0, 0, 22, 7, 0, 4), 0);          // source chord out of range
    EXPECT_EQ(wq(1, 0, 0, 2, 11), 3);
    EXPECT_EQ(wq(0, 0, 0, 2, 11), 1);
    EXPECT_EQ(wq(2, 0, 0, 2, 11), 0);

    // Nothing else is reachable by name.
    EXPECT_EQ(dlsym(lib.get(), "_ZN3zib3tbl17kTensionTableDataE"), nullptr);
}

std::string runCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 512> buf{};
    while (std::fgets(buf.data(), int(buf.size()), pipe))
        out += buf.data();
    pclose(pipe);
    return out;
}

TEST(ZibTblLoad, ExportsExactlyTheTwoLookups)
{
    const std::string listing =
        runCommand(std::string("'") + ZIB_NM + "' -D --defined-only '" + zib::test::BuildFile(ZIBTBL_LIBRARY_PATH) + "' 2>&1");
    std::set<std::string> symbols;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) symbols.insert(name);
    }
    EXPECT_EQ(symbols, (std::set<std::string>{kQeSymbol, kWqSymbol})) << listing;
}

} // namespace
