#include "ui/core/FolderDialogModel.h"
#include "platform/FileIo.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zib;
using Kind = FolderDialogModel::Outcome::Kind;

TEST(FolderDialogModel, OpenAcceptsFoldersAndRefusesFiles)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir / "styles" / "rock");
    writeFileAtomically(dir / "file.txt", std::string_view("x"));
    const std::string root = dir.path().string();

    FolderDialogModel m(root, 0);
    EXPECT_EQ(m.folder(), root + "/");
    EXPECT_EQ(m.Open("").kind, Kind::EndOk); // an empty box accepts the folder shown
    EXPECT_EQ(m.folder(), root + "/");

    EXPECT_EQ(m.Open(root + "/styles/").kind, Kind::EndOk);
    EXPECT_EQ(m.folder(), root + "/styles/");
    EXPECT_EQ(m.Open("rock").kind, Kind::EndOk); // relative to the folder shown
    EXPECT_EQ(m.folder(), root + "/styles/rock/");

    auto file = m.Open(root + "/file.txt");
    EXPECT_EQ(file.kind, Kind::Message);
    EXPECT_EQ(file.text, root + "/file.txt\nThis is a file not a directory.");
    EXPECT_EQ(m.folder(), root + "/styles/rock/");
    EXPECT_EQ(m.Open("/").kind, Kind::EndOk);
    EXPECT_EQ(m.folder(), "/");
}

TEST(FolderDialogModel, MissingFolderIsCreatedWithItsParentsOnYes)
{
    test::TempDir dir;
    const std::string root = dir.path().string();
    FolderDialogModel m(root, 0);
    const std::string target = root + "/out/a/b";

    auto ask = m.Open(target + "/");
    ASSERT_EQ(ask.kind, Kind::AskCreate);
    EXPECT_EQ(ask.text, target + "\nThis folder does not exist.\n\nDo you want to create it?");
    EXPECT_EQ(m.CreateAnswer(false).kind, Kind::Stay); // No: the dialog stays, nothing created
    EXPECT_FALSE(std::filesystem::exists(root + "/out"));

    ASSERT_EQ(m.Open(target).kind, Kind::AskCreate);
    EXPECT_EQ(m.CreateAnswer(true).kind, Kind::EndOk);
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(m.folder(), target + "/");

    // Enter moves into a new folder and stays open.
    ASSERT_EQ(m.Enter("c").kind, Kind::AskCreate);
    EXPECT_EQ(m.CreateAnswer(true).kind, Kind::Navigated);
    EXPECT_EQ(m.folder(), target + "/c/");
}

TEST(FolderDialogModel, CreationFailuresAreReported)
{
    test::TempDir dir;
    writeFileAtomically(dir / "file", std::string_view("x"));
    FolderDialogModel m(dir.path().string(), 0);
    ASSERT_EQ(m.Open(dir.path().string() + "/file/sub").kind, Kind::AskCreate);
    auto failed = m.CreateAnswer(true);
    EXPECT_EQ(failed.kind, Kind::Message);
    EXPECT_EQ(failed.text, "You do not have permission\nto create this folder.");
    ASSERT_EQ(m.Enter(dir.path().string() + "/file/sub").kind, Kind::AskCreate);
    EXPECT_EQ(m.CreateAnswer(true).text,
              "You do not have permission or\notherwise cannot create this folder.");
}

TEST(FolderDialogModel, CompletesTheOnlyMatchingFolder)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir / "Rock");
    std::filesystem::create_directories(dir / "Pop");
    std::filesystem::create_directories(dir / "Polka");
    writeFileAtomically(dir / "Rockfile", std::string_view("x"));
    const std::string root = dir.path().string();
    FolderDialogModel m(root, 0);

    auto c = m.Complete(root + "/Ro", true, false);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->text, root + "/Rock");
    EXPECT_EQ(c->selectFrom, root.size() + 3);
    EXPECT_FALSE(m.Complete(root + "/Po", true, false));      // two folders match
    EXPECT_FALSE(m.Complete(root + "/Ro", false, false));     // caret not at the end
    EXPECT_FALSE(m.Complete(root + "/Ro", true, true));       // after Backspace
    EXPECT_FALSE(m.Complete(root + "/ro", true, false));      // names are case-sensitive
    EXPECT_FALSE(m.Complete(root + "/Rock", true, false));    // nothing left to add
    EXPECT_EQ(m.Complete("Pol", true, false)->text, "Polka"); // relative to the folder shown

    EXPECT_EQ(m.FolderToFollow(root + "/Pop/"), root + "/Pop/");
    EXPECT_FALSE(m.FolderToFollow(root + "/Pop"));
    EXPECT_FALSE(m.FolderToFollow(root + "/Nope/"));
    EXPECT_EQ(m.FolderToFollow("/"), "/");
}
