#include "platform/FileIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(FileIo, WriteThenReadBack)
{
    test::TempDir dir;
    const std::vector<uint8_t> bytes = {0, 1, 2, 0xFF};
    ASSERT_EQ(writeFileAtomically(dir / "a.bin", bytes), FileIoError::None);
    std::vector<uint8_t> back;
    ASSERT_EQ(readWholeFile(dir / "a.bin", back), FileIoError::None);
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(readWholeFile(dir / "a.bin", back, 3), FileIoError::TooLarge);
    EXPECT_EQ(readWholeFile(dir / "missing.bin", back), FileIoError::OpenFailed);
}

TEST(FileIo, FailedWriteLeavesTargetAndNoTemporary)
{
    test::TempDir dir;
    ASSERT_EQ(writeFileAtomically(dir / "keep.txt", std::string_view("old")), FileIoError::None);
    // A target inside a missing folder cannot be created: nothing is left behind.
    EXPECT_EQ(writeFileAtomically(dir / "nope" / "x.txt", std::string_view("new")), FileIoError::OpenFailed);
    // Renaming onto a folder fails: the temporary file is removed.
    std::filesystem::create_directory(dir / "folder");
    std::filesystem::create_directory(dir / "folder" / "inner");
    EXPECT_EQ(writeFileAtomically(dir / "folder", std::string_view("new")), FileIoError::RenameFailed);
    size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u);
    std::vector<uint8_t> back;
    readWholeFile(dir / "keep.txt", back);
    EXPECT_EQ(std::string(back.begin(), back.end()), "old");
}

TEST(FileIo, SameFileThroughAnySpelling)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "songs");
    ASSERT_EQ(writeFileAtomically(dir / "songs" / "a.mid", std::string_view("a")), FileIoError::None);
    ASSERT_EQ(writeFileAtomically(dir / "songs" / "b.mid", std::string_view("b")), FileIoError::None);
    std::filesystem::create_symlink(dir / "songs", dir / "link");
    struct Case {
        std::filesystem::path other;
        bool same;
    };
    const Case cases[] = {
        {dir / "songs" / "a.mid", true},        {dir / "songs" / "." / ".." / "songs" / "a.mid", true},
        {dir / "link" / "a.mid", true},         {dir / "songs" / "b.mid", false},
        {dir / "songs" / "A.mid", false},       // another name (file names keep their case)
        {dir / "songs" / "missing.mid", false}, // a file not there is not the one there
    };
    for (const Case& c : cases)
        EXPECT_EQ(sameFile(dir / "songs" / "a.mid", c.other), c.same) << c.other;
    // Neither there: the same path once made normal
    EXPECT_TRUE(sameFile(dir / "new" / "x.mid", dir / "new" / "." / "x.mid"));
    EXPECT_FALSE(sameFile(dir / "new" / "x.mid", dir / "new" / "y.mid"));
}
