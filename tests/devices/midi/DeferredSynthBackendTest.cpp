// The built-in synthesizer of the program's device list: listed from the
// start, loaded with FluidSynth only when its port first opens.

#include "devices/core/DeferredSynthBackend.h"
#include "tests/support/BuildPaths.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace zib {
namespace {

// Whether a library whose file name holds `name` is mapped into this process.
bool processHasLibrary(const std::string& name)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(name) != std::string::npos) return true;
    return false;
}

TEST(DeferredSynthBackendTest, ListsTheSynthWithoutLoadingItAndLoadsItOnTheFirstOpen)
{
    auto clock = std::make_shared<VirtualMidiClock>(); // renders to memory: no audio driver needed
    DeferredSynthBackend synth(clock, test::BuildFile(ZIB_SYNTH_MODULE));
    ASSERT_EQ(synth.OutputPorts().size(), 1u);
    EXPECT_EQ(synth.OutputPorts()[0].Shown(), "Zib built-in synth (General MIDI)");
    EXPECT_TRUE(synth.InputPorts().empty());
    std::unique_ptr<MidiOutSink> sink;
    EXPECT_EQ(synth.OpenOutput({"Other", "Port"}, sink), MidiResult::BadDeviceId);
    EXPECT_FALSE(synth.Loaded());
    EXPECT_FALSE(processHasLibrary("libfluidsynth"));

    ASSERT_EQ(synth.OpenOutput(synth.OutputPorts()[0], sink), MidiResult::NoError);
    EXPECT_TRUE(synth.Loaded());
    EXPECT_TRUE(processHasLibrary("libfluidsynth"));
    const uint8_t note[] = {0x90, 60, 100};
    EXPECT_TRUE(sink->Send(note, clock->NowUs()));
    std::unique_ptr<MidiInSource> source;
    EXPECT_EQ(synth.OpenInput(synth.OutputPorts()[0], nullptr, source), MidiResult::BadDeviceId);
}

TEST(DeferredSynthBackendTest, AMissingModuleLeavesThePortWithoutADevice)
{
    DeferredSynthBackend synth(std::make_shared<VirtualMidiClock>(), "/nonexistent/libzibsynth.so");
    std::unique_ptr<MidiOutSink> sink;
    EXPECT_EQ(synth.OpenOutput({"", MidiDeviceList::kSynthName}, sink), MidiResult::BadDeviceId);
    EXPECT_EQ(synth.OpenOutput({"", MidiDeviceList::kSynthName}, sink), MidiResult::BadDeviceId);
    EXPECT_FALSE(synth.Loaded());
    EXPECT_EQ(sink, nullptr);
}

} // namespace
} // namespace zib
