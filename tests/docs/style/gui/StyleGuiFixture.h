#pragma once

#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/gui/ZibSession.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zib::test {

// A style or pad file in the real zib program under its own Xvfb, with an
// author set so that the program starts at once.
class StyleGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    ZibRun run(const std::string& script, const std::vector<std::string>& args = {}, int seconds = 60)
    {
        ZibRun r = session_.runChecked(script, seconds, args);
        if (std::getenv("ZIB_GUI_TEST_TRACE"))
            for (const auto& l : r.log)
                std::printf("| %s\n", l.substr(0, 300).c_str());
        if (std::getenv("ZIB_GUI_TEST_TRACE") && std::string(std::getenv("ZIB_GUI_TEST_TRACE")) == "2")
            std::printf("%s\n", r.output.c_str());
        return r;
    }

    std::string file(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = (session_.files() / name).string();
        writeFileAtomically(path, bytes);
        return path;
    }
    // A Qe style or pad file of one item whose V1 CV1 holds four notes of
    // velocity 100 on DRUM and BASS.
    std::string qeFile(const std::string& name, bool pad)
    {
        const std::string item = pad ? "Pad1" : "Pop";
        return file(name, dasfImage({qeEntry(item, pad ? 9 : 2, pad ? 0 : 2, 0,
                                             qeStyleInstance({item, 0, {0}, 0, pad}))}));
    }
    std::vector<uint8_t> read(const std::string& path)
    {
        std::vector<uint8_t> bytes;
        readWholeFile(path, bytes);
        return bytes;
    }
    static std::string logOf(const ZibRun& r)
    {
        std::string log;
        for (const auto& l : r.log)
            log += l + "\n";
        return log;
    }

    ZibSession session_;
};

} // namespace zib::test
