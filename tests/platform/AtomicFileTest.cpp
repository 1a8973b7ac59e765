#include "platform/AtomicFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;

namespace {

std::string contents(const std::filesystem::path& path)
{
    std::vector<uint8_t> back;
    readWholeFile(path, back);
    return std::string(back.begin(), back.end());
}

size_t entries(const std::filesystem::path& dir)
{
    size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST(AtomicFile, PiecesReplaceTheTargetOnlyAtCommit)
{
    test::TempDir dir;
    ASSERT_EQ(writeFileAtomically(dir / "t.txt", std::string_view("old")), FileIoError::None);
    {
        AtomicFile file(dir / "t.txt");
        ASSERT_EQ(file.Open(), FileIoError::None);
        EXPECT_EQ(file.Write("new "), FileIoError::None);
        EXPECT_EQ(contents(dir / "t.txt"), "old");
        // Dropped before Commit: the target stays, the temporary file goes
    }
    EXPECT_EQ(contents(dir / "t.txt"), "old");
    EXPECT_EQ(entries(dir.path()), 1u);

    AtomicFile file(dir / "t.txt");
    ASSERT_EQ(file.Open(), FileIoError::None);
    file.Write("new ");
    file.Write("text");
    EXPECT_EQ(file.Commit(), FileIoError::None);
    EXPECT_EQ(contents(dir / "t.txt"), "new text");
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(AtomicFile, WritesWithoutAnOpenFileFailAndLeaveNothing)
{
    test::TempDir dir;
    AtomicFile missing(dir / "nope" / "x.txt");
    EXPECT_EQ(missing.Open(), FileIoError::OpenFailed);
    EXPECT_EQ(missing.Write("x"), FileIoError::OpenFailed);
    EXPECT_EQ(missing.Commit(), FileIoError::OpenFailed);
    AtomicFile never(dir / "y.txt");
    EXPECT_EQ(never.Write("x"), FileIoError::OpenFailed);
    EXPECT_EQ(never.Commit(), FileIoError::OpenFailed);
    EXPECT_EQ(entries(dir.path()), 0u);
}
