#include "platform/SharedLibrary.h"
#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(SharedLibrary, LoadsBySonameAndFindsSymbols)
{
    SharedLibrary m("libm.so.6");
    ASSERT_TRUE(m.isOpen()) << m.error();
    EXPECT_NE(m.symbol("cos"), nullptr);
    EXPECT_EQ(m.symbol("no_such_symbol_here"), nullptr);
    SharedLibrary moved(std::move(m));
    EXPECT_TRUE(moved.isOpen());
    EXPECT_FALSE(m.isOpen());
}

TEST(SharedLibrary, MissingLibraryIsAnErrorNotACrash)
{
    SharedLibrary lib;
    EXPECT_FALSE(lib.open("libzib-does-not-exist.so.1"));
    EXPECT_FALSE(lib.isOpen());
    EXPECT_FALSE(lib.error().empty());
    EXPECT_EQ(lib.symbol("x"), nullptr);
}

TEST(ProgramPath, FolderHoldsTheRunningProgram)
{
    auto exe = executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.filename(), "platform_layer_tests");
    EXPECT_EQ(executableDir(), exe.parent_path());
}
