// tools/check-layers on small source trees: a tree whose includes all run
// down the layers passes, and each kind of include against them fails and is
// named by file and line.
#include "tests/support/TempDir.h"
#include "tests/support/BuildPaths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

// A tree that keeps every rule: each layer includes only itself and below.
const Files kGoodTree = {
    {"platform/Bytes.h", "#pragma once\n"},
    {"platform/WxText.h", "#pragma once\n#include <wx/string.h>\n"},
    {"midi/Song.h", "#include \"platform/Bytes.h\"\n"},
    {"ui/core/Settings.h", "#include \"midi/Song.h\"\n#include <string>\n"},
    {"ui/Dialog.h", "#include \"ui/core/Settings.h\"\n#include <wx/dialog.h>\n"},
    {"devices/core/Player.h", "#include \"ui/core/Settings.h\"\n"},
    {"mididoc/core/Doc.h", "#include \"devices/core/Player.h\"\n"},
    {"mididoc/View.h", "#include \"mididoc/core/Doc.h\"\n#include \"ui/Dialog.h\"\n"},
    {"docs/style/Sty.h", "#include \"mididoc/View.h\"\n"},
    {"docs/program/Prg.h", "#include \"docs/style/Sty.h\"\n"},
    {"app/Frame.cpp", "#include \"docs/program/Prg.h\"\n#include \"ui/Dialog.h\"\n"},
    {"tests/support/Builder.h", "#include \"midi/Song.h\"\n"},
    {"tests/mididoc/DocTest.cpp",
     "#include \"mididoc/View.h\"\n#include \"tests/support/Builder.h\"\n#include \"tests/mididoc/Helpers.h\"\n"},
    {"tests/mididoc/Helpers.h", "#pragma once\n"},
    {"tests/ulvarf/CrossTest.cpp", "#include \"midi/Song.h\"\n"},
};

struct CheckRun {
    int status = -1;
    std::string output;
};

CheckRun checkLayers(const zib::test::TempDir& root, const Files& files)
{
    for (const auto& [name, text] : files) {
        std::filesystem::create_directories((root / name).parent_path());
        std::ofstream(root / name) << text;
    }
    const std::string command =
        "python3 \"" + (zib::test::SourceDir() / "tools/check-layers").string() + "\" --root \"" + root.path().string() + "\" 2>&1";
    CheckRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), int(buffer.size()), pipe))
        run.output += buffer.data();
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CheckLayers, PassesATreeWhoseIncludesRunDown)
{
    zib::test::TempDir root;
    const CheckRun run = checkLayers(root, kGoodTree);
    EXPECT_EQ(run.status, 0) << run.output;
}

struct BadInclude {
    const char* what;
    const char* file;
    const char* text;
    const char* named; // the fault line starts with this
};

TEST(CheckLayers, FailsOnEachIncludeAgainstTheLayers)
{
    const BadInclude cases[] = {
        {"an area includes one above it", "devices/Bar.cpp", "#include \"mididoc/View.h\"\n", "devices/Bar.cpp:1:"},
        {"the kit includes an area", "ui/Frame.cpp", "#include <map>\n#include \"devices/core/Player.h\"\n",
         "ui/Frame.cpp:2:"},
        {"a library includes one beside it", "midi/Reader.cpp", "#include \"ulvarf/Dasf.h\"\n", "midi/Reader.cpp:1:"},
        {"a GUI-free part includes wxWidgets", "mididoc/core/Edit.cpp", "#include <wx/string.h>\n",
         "mididoc/core/Edit.cpp:1:"},
        {"a GUI-free part includes a header that brings in wxWidgets", "mididoc/core/Text.cpp",
         "#include \"platform/WxText.h\"\n", "mididoc/core/Text.cpp:1:"},
        {"a GUI-free part includes its area's windows", "mididoc/core/Undo.cpp", "#include \"mididoc/View.h\"\n",
         "mididoc/core/Undo.cpp:1:"},
        {"a test includes an area above its own", "tests/devices/PortTest.cpp", "#include \"mididoc/View.h\"\n",
         "tests/devices/PortTest.cpp:1:"},
        {"a test includes the shell", "tests/mididoc/gui/WindowTest.cpp", "#include \"app/Frame.cpp\"\n",
         "tests/mididoc/gui/WindowTest.cpp:1:"},
        {"a test includes another area's tests", "tests/devices/PortTest.cpp",
         "#include \"tests/mididoc/Helpers.h\"\n", "tests/devices/PortTest.cpp:1:"},
        {"the product includes a test", "app/Main.cpp", "#include \"tests/support/Builder.h\"\n", "app/Main.cpp:1:"},
    };
    for (const BadInclude& c : cases) {
        SCOPED_TRACE(c.what);
        zib::test::TempDir root;
        Files files = kGoodTree;
        files.emplace_back("ulvarf/Dasf.h", "#pragma once\n");
        files.emplace_back(c.file, c.text);
        const CheckRun run = checkLayers(root, files);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(("\n" + run.output).find(std::string("\n") + c.named), std::string::npos) << run.output;
    }
}

} // namespace
