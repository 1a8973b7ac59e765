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
