#include "platform/FileProfile.h"
#include "platform/FileIo.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace zib;

namespace {

std::string readText(const std::filesystem::path& p)
{
    std::vector<uint8_t> bytes;
    readWholeFile(p, bytes);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(FileProfile, TypedValuesSurviveReload)
{
    test::TempDir dir;
    auto path = dir / "sub" / "zib.conf";
    const std::vector<uint8_t> ports = {0, 1, 1, 0, 0xFF, 0};
    const std::string tricky = std::string("a\\b\n\xE9=[x]\x01", 11);
    {
        FileProfile p(path);
        EXPECT_FALSE(p.getInt("Settings", "AppLanguage"));
        ASSERT_TRUE(p.setInt("Settings", "AppLanguage", -7));
        ASSERT_TRUE(p.setString("Settings", "Author", tricky));
        ASSERT_TRUE(p.setString("Settings", "Empty", ""));
        ASSERT_TRUE(p.setBinary("Settings", "UserMidiOutPorts", ports));
        ASSERT_TRUE(p.setBinary("General", "Nothing", {}));
        ASSERT_TRUE(p.setInt("Settings", "AppLanguage", 2)); // replaced in place
    }
    FileProfile back(path);
    EXPECT_EQ(back.getInt("Settings", "AppLanguage"), 2);
    EXPECT_EQ(back.getInt("settings", "applanguage"), 2); // names ignore case like registry names
    EXPECT_EQ(back.getString("Settings", "Author"), tricky);
    EXPECT_EQ(back.getString("Settings", "Empty"), "");
    EXPECT_EQ(back.getBinary("Settings", "UserMidiOutPorts"), ports);
    EXPECT_EQ(back.getBinary("General", "Nothing"), std::vector<uint8_t>{});
    // Written once, the file stays plain ASCII.
    for (char c : readText(path))
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
}

TEST(FileProfile, SpacesAtTheEndOfATextSurviveReload)
{
    test::TempDir dir;
    auto path = dir / "zib.conf";
    const std::string texts[] = {"/home/u/my styles ", "  ", " lead and tail  ", "in side"};
    {
        FileProfile p(path);
        for (size_t i = 0; i < std::size(texts); ++i)
            ASSERT_TRUE(p.setString("Settings", "Text" + std::to_string(i), texts[i]));
    }
    FileProfile back(path);
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(back.getString("Settings", "Text" + std::to_string(i)), texts[i]) << i;
    EXPECT_NE(readText(path).find("Text3=sz:in side\n"), std::string::npos); // inner spaces stay plain
}

TEST(FileProfile, TwoRunningCopiesKeepEachOthersValues)
{
    test::TempDir dir;
    auto path = dir / "zib.conf";
    FileProfile first(path);
    FileProfile second(path);
    ASSERT_TRUE(first.setInt("Settings", "MidiSortMethod", 1));
    ASSERT_TRUE(second.setString("Settings", "LastOpenedDirectory", "/music"));
    ASSERT_TRUE(first.setInt("Settings", "DefaultKbdType", 73));
    FileProfile back(path);
    EXPECT_EQ(back.getInt("Settings", "MidiSortMethod"), 1);
    EXPECT_EQ(back.getString("Settings", "LastOpenedDirectory"), "/music");
    EXPECT_EQ(back.getInt("Settings", "DefaultKbdType"), 73);
}

TEST(FileProfile, WrongTypeAndMissingAreDistinctFromPresent)
{
    test::TempDir dir;
    FileProfile p(dir / "zib.conf");
    p.setInt("Settings", "Num", 5);
    p.setString("Settings", "Text", "5");
    p.setBinary("Settings", "Bin", std::vector<uint8_t>{5});
    // Each value read as another type counts as missing.
    EXPECT_FALSE(p.getBinary("Settings", "Num"));
    EXPECT_FALSE(p.getBinary("Settings", "Text"));
    EXPECT_FALSE(p.getInt("Settings", "Text"));
    EXPECT_FALSE(p.getString("Settings", "Bin"));
    EXPECT_FALSE(p.getInt("General", "Num")); // another section
    EXPECT_FALSE(p.getInt("Settings", "Other"));
}

TEST(FileProfile, DamagedLinesCountAsMissing)
{
    test::TempDir dir;
    auto path = dir / "zib.conf";
    const char* text = "# comment\n"
                       "Orphan=dword:1\n" // before any section
                       "[Settings]\r\n"
                       "Good=dword:42\r\n"
                       "TooBig=dword:99999999999\n"
                       "NotNum=dword:12a\n"
                       "OddHex=hex:abc\n"
                       "BadHex=hex:zz\n"
                       "BadEscape=sz:ab\\x4\n"
                       "NoType=12\n"
                       "Unknown=qword:1\n"
                       "[Broken\n"
                       "AfterBroken=dword:3\n"
                       "[General]\n"
                       "Min=dword:-2147483648\n";
    ASSERT_EQ(writeFileAtomically(path, std::string_view(text)), FileIoError::None);
    FileProfile p(path);
    EXPECT_EQ(p.getInt("Settings", "Good"), 42);
    EXPECT_EQ(p.getInt("General", "Min"), INT32_MIN);
    for (const char* name : {"Orphan", "TooBig", "NotNum", "NoType", "Unknown", "AfterBroken"})
        EXPECT_FALSE(p.getInt("Settings", name)) << name;
    EXPECT_FALSE(p.getBinary("Settings", "OddHex"));
    EXPECT_FALSE(p.getBinary("Settings", "BadHex"));
    EXPECT_FALSE(p.getString("Settings", "BadEscape"));
}

TEST(FileProfile, UnwritableFileReportsFailure)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "blocker");
    // The settings file's folder is a regular file: nothing can be stored.
    ASSERT_EQ(writeFileAtomically(dir / "file", std::string_view("x")), FileIoError::None);
    FileProfile p(dir / "file" / "zib.conf");
    EXPECT_FALSE(p.setInt("Settings", "A", 1));
    EXPECT_FALSE(p.setInt("", "A", 1));
    EXPECT_FALSE(p.setInt("Settings", "A=B", 1));
}

TEST(FileProfile, UnreadableFileIsNeverOverwritten)
{
    test::TempDir dir;
    // A folder where the file should be: it cannot be read, so nothing replaces it.
    std::filesystem::create_directories(dir / "zib.conf" / "inner");
    FileProfile p(dir / "zib.conf");
    EXPECT_FALSE(p.setInt("Settings", "A", 1));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "zib.conf" / "inner"));
}

TEST(FileProfile, DefaultPathFollowsXdgConfigHome)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(FileProfile::defaultPath(), std::filesystem::path("/tmp/xdg-test/zib/zib.conf"));
    setenv("XDG_CONFIG_HOME", "relative/dir", 1); // not absolute: ignored
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(FileProfile::defaultPath(), std::filesystem::path("/home/someone/.config/zib/zib.conf"));
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
