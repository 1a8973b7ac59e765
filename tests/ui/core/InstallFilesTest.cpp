// The desktop entry and the MIME types installed with the program must agree.
#include "tests/support/RealFixtures.h"
#include "tests/support/BuildPaths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string read(const std::filesystem::path& p)
{
    auto bytes = zib::test::readFileBytes(p);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(InstallFiles, DesktopEntryNamesEveryDocumentTypeOfTheMimeFile)
{
    const std::filesystem::path app = test::SourceDir() / "app";
    const std::string desktop = read(app / "zib.desktop");
    const std::string mime = read(app / "zib-mime.xml");
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(mime.empty());
    EXPECT_NE(desktop.find("\nExec=zib %f\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nType=Application\n"), std::string::npos);

    std::smatch m;
    ASSERT_TRUE(std::regex_search(desktop, m, std::regex("\nMimeType=([^\n]*)\n")));
    std::set<std::string> listed;
    std::stringstream types(m[1].str());
    for (std::string t; std::getline(types, t, ';');)
        if (!t.empty()) listed.insert(t);

    std::set<std::string> defined;
    const std::regex typeRe("<mime-type type=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(mime.begin(), mime.end(), typeRe); it != std::sregex_iterator(); ++it)
        defined.insert((*it)[1].str());
    defined.insert("audio/midi"); // the standard type of MIDI files
    EXPECT_EQ(listed, defined);

    // Every document extension of the program has a glob.
    for (const char* ext : {"sty", "pcg", "prg", "prf", "pad", "arr", "gbl", "arg"})
        EXPECT_NE(mime.find(std::string("<glob pattern=\"*.") + ext + "\"/>"), std::string::npos) << ext;
}
