#include "platform/ByteWriter.h"
#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/CRtMidiBackend.h"
#include "devices/core/IMidiInClient.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zib {
namespace {

// A private JACK server on the dummy driver, started for this test and
// stopped with it. Tests skip when jackd is not installed or does not come up.
class JackDummyServer {
public:
    JackDummyServer()
    {
        std::string jackd;
        for (const char* p : {"/usr/bin/jackd", "/usr/local/bin/jackd"})
            if (std::filesystem::exists(p)) jackd = p;
        if (jackd.empty()) return;
        m_name = "zibtest" + std::to_string(::getpid());
        setenv("JACK_DEFAULT_SERVER", m_name.c_str(), 1);
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        std::vector<std::string> args = {jackd, "--no-realtime", "-n", m_name, "-d", "dummy", "-r", "48000", "-p", "256"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, jackd.c_str(), &actions, nullptr, argv.data(), environ) != 0) m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        if (m_pid == 0) return;
        // Up when a client can see its ports
        for (int i = 0; i < 50 && !m_up; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return;
            }
            m_up = Probe();
        }
    }
    ~JackDummyServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
        unsetenv("JACK_DEFAULT_SERVER");
    }
    bool IsUp() const { return m_up; }

private:
    // Up when a client can make a port there
    static bool Probe()
    {
        try {
            bool failed = false;
            RtMidiIn in(RtMidi::UNIX_JACK, "zibprobe");
            in.setErrorCallback([](RtMidiError::Type, const std::string&, void* flag) { *static_cast<bool*>(flag) = true; },
                                &failed);
            in.openVirtualPort("probe");
            return !failed;
        } catch (const RtMidiError&) {
            return false;
        }
    }

    std::string m_name;
    pid_t m_pid = 0;
    bool m_up = false;
};

template <typename T>
struct Mailbox {
    void Put(T v)
    {
        std::lock_guard lock(mutex);
        items.push_back(v);
        changed.notify_all();
    }
    bool WaitFor(size_t n)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return items.size() >= n; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<T> items;
};

struct StreamClient : IMidiStreamClient {
    void OnStreamDone(MidiHeader&) override { done.Put(1); }
    void OnStreamPosition(MidiHeader&, uint32_t) override {}
    Mailbox<int> done;
};

struct InClient : IMidiInClient {
    void OnMidiInData(uint32_t message, uint32_t) override { received.Put(message); }
    Mailbox<uint32_t> received;
};

int indexOf(const std::vector<std::string>& names, const std::string& part)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].find(part) != std::string::npos) return int(i);
    return -1;
}

void receiveInto(double, std::vector<unsigned char>* message, void* box)
{
    uint32_t packed = 0;
    for (size_t i = 0; i < message->size() && i < 4; ++i) packed |= uint32_t((*message)[i]) << (8 * i);
    static_cast<Mailbox<uint32_t>*>(box)->Put(packed);
}

// A stream on a JACK port reaches another client in time order, and a JACK
// client's messages reach an open input, through the real MIDI system.
TEST(RtMidiJackLoopbackTest, StreamOutAndInputInRoundTrip)
{
    JackDummyServer server;
    if (!server.IsUp()) GTEST_SKIP() << "no JACK server (install jackd2)";

    // The other side: one client that listens and one that plays
    Mailbox<uint32_t> heard;
    RtMidiIn listener(RtMidi::UNIX_JACK, "zibloop");
    listener.setCallback(receiveInto, &heard);
    listener.openVirtualPort("in");
    RtMidiOut keyboard(RtMidi::UNIX_JACK, "zibkeys");
    keyboard.openVirtualPort("out");

    CRtMidiBackend backend(CRtMidiBackend::Api::Jack);
    const int out = indexOf(backend.OutputNames(), "zibloop");
    const int in = indexOf(backend.InputNames(), "zibkeys");
    ASSERT_GE(out, 0);
    ASSERT_GE(in, 0);

    StreamClient streamClient;
    std::unique_ptr<CMidiStream> stream;
    ASSERT_EQ(backend.OpenStream(out, streamClient, stream), MidiResult::NoError);
    stream->SetTimeDiv(96);
    stream->SetTempo(96000); // 1 ms per tick
    ByteWriter bytes;
    for (auto [delta, word] : {std::pair{0u, 0x643C90u}, std::pair{20u, 0x003C90u}, std::pair{0u, 0x05C1u}}) {
        bytes.u32le(delta);
        bytes.u32le(0);
        bytes.u32le(word);
    }
    MidiHeader h;
    h.data = bytes.data();
    h.bufferLength = h.bytesRecorded = uint32_t(bytes.size());
    ASSERT_EQ(stream->PrepareHeader(h), MidiResult::NoError);
    ASSERT_EQ(stream->Out(h), MidiResult::NoError);
    ASSERT_EQ(stream->Restart(), MidiResult::NoError);
    ASSERT_TRUE(streamClient.done.WaitFor(1));
    ASSERT_TRUE(heard.WaitFor(3));
    EXPECT_EQ(heard.items, (std::vector<uint32_t>{0x643C90, 0x003C90, 0x05C1}));

    InClient inClient;
    std::unique_ptr<CMidiInPort> port;
    ASSERT_EQ(backend.OpenInput(in, inClient, port), MidiResult::NoError);
    ASSERT_EQ(port->Start(), MidiResult::NoError);
    const std::vector<unsigned char> note = {0x91, 0x40, 0x50};
    keyboard.sendMessage(&note);
    ASSERT_TRUE(inClient.received.WaitFor(1));
    EXPECT_EQ(inClient.received.items[0], 0x504091u);

    EXPECT_EQ(port->Close(), MidiResult::NoError);
    EXPECT_EQ(stream->UnprepareHeader(h), MidiResult::NoError);
    EXPECT_EQ(stream->Close(), MidiResult::NoError);
}

} // namespace
} // namespace zib
