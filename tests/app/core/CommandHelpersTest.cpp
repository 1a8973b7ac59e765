#include "app/core/CommandPaths.h"
#include "app/core/ExternalPlayerCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zib;

TEST(CommandPaths, FoldersComeFromTheChosenPath)
{
    EXPECT_EQ(FolderOfPath("/home/u/cv/a.mid", "/last"), "/home/u/cv");
    EXPECT_EQ(FolderOfPath("/a.mid", "/last"), "");
    EXPECT_EQ(FolderOfPath("a.mid", "/last"), "/last");
    EXPECT_EQ(FileNameOfPath("/home/u/Rock.sty"), "Rock.sty");
    EXPECT_EQ(FileNameOfPath("Rock.sty"), "Rock.sty");
    EXPECT_EQ(PathInFolder("/home/u/cv", kCollectQeLogName), "/home/u/cv/CollectQeCVMidi.txt");
    EXPECT_EQ(PathInFolder("", kCollectWqLogName), "/CollectCVMidi.txt");
    EXPECT_EQ(PathInFolder("/x/", kPsrDumpLogName), "/x/YamahaStyToQeStyDump.txt");
}

TEST(ExternalPlayerCommand, PathStaysOneArgument)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(ExternalPlayerArgs("fluidsynth -i -n /sf/gm.sf2 %s", "/tmp/a b.mid"),
              (V{"fluidsynth", "-i", "-n", "/sf/gm.sf2", "/tmp/a b.mid"}));
    EXPECT_EQ(ExternalPlayerArgs("player", "/tmp/x.mid"), (V{"player", "/tmp/x.mid"}));
    EXPECT_EQ(ExternalPlayerArgs("\"my player\" --file=%s 'q r'", "/t.mid"),
              (V{"my player", "--file=/t.mid", "q r"}));
    EXPECT_EQ(ExternalPlayerArgs("p %s%s", "x"), (V{"p", "xx"}));
    EXPECT_EQ(ExternalPlayerArgs("   ", "/t.mid"), V{});
    EXPECT_EQ(ExternalPlayerArgs("p ''", "/t.mid"), (V{"p", "", "/t.mid"}));
}
