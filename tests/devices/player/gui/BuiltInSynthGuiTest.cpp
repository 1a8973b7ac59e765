// The built-in synthesizer (MIDI OUT device 0) in the running program: with
// no audio output every play road shows one message naming the cause and
// the other ports still play; with a sound server it makes sound, recorded
// from a private PulseAudio server's sink.
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/NoAudioEnvironment.h"
#include "tests/support/PulseAudioServer.h"
#include "tests/support/SinkRecorder.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <thread>

using namespace zib;
using test::ZibRun;

namespace {

constexpr const char* kNoAudio = "No audio output found for the built-in synthesizer";
constexpr const char* kFileOpen = "57601";
constexpr const char* kPlay = "32912";
constexpr const char* kStop = "32911";
constexpr const char* kPlaybackSettings = "32876";
constexpr const char* kMidiPortsSettings = "32941";

constexpr int kSilence = test::SinkRecorder::kSilence;
constexpr int kSound = test::SinkRecorder::kSound;
constexpr int64_t kSinkBlockUs = test::SinkRecorder::kBlockUs;

class BuiltInSynthGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
        // Device 0 is the real synthesizer; the fake ports follow it.
        session_.setEnv("ZIB_MIDI_BACKEND", "synth+fake");
        FileProfile settings(session_.settingsFile());
        settings.setInt("Settings", "MidiPlaybackApp", 2); // the built-in player window
        settings.setInt("Settings", "MidiOutDevID", 0);
    }

    // The user's OUT ports: {device id, enabled} from port 0 on
    void setOutPorts(const std::vector<uint8_t>& table)
    {
        FileProfile(session_.settingsFile()).setBinary("Settings", "UserMidiOutPorts", table);
    }

    void setEnvironment(const test::EnvironmentList& env)
    {
        for (const auto& [name, value] : env)
            session_.setEnv(name, value);
    }

    std::string writeSong(const std::string& name, const test::SmfBuilder& song)
    {
        const std::string path = (session_.files() / name).string();
        EXPECT_EQ(writeFileAtomically(path, song.Build()), FileIoError::None);
        return path;
    }

    std::string open(const std::string& path)
    {
        return "dialog path \"" + path + "\"\nmenu " + kFileOpen + "\n";
    }

    ZibRun run(const std::string& script)
    {
        ZibRun r = session_.runChecked(script + "quit\n", 60);
        if (::testing::Test::HasFailure())
            for (const auto& line : r.log)
                ADD_FAILURE() << "log: " << line;
        return r;
    }

    test::TempDir audioDir_;
    test::ZibSession session_;
};

// One note on port 0's channel 1 and one on port 1's channel 2, a beat long
test::SmfBuilder twoPortSong()
{
    test::SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    b.AddTrack().Port(0, 1).NoteOn(0, 1, 64, 100).NoteOff(96, 1, 64);
    return b;
}

// The log cut at each "clock NAME" line: the lines of each stretch by NAME
std::map<std::string, std::vector<std::string>> stretches(const ZibRun& r)
{
    std::map<std::string, std::vector<std::string>> parts;
    std::string name;
    for (const std::string& line : r.log) {
        if (line.rfind("clock ", 0) == 0)
            name = line.substr(6, line.find(' ', 6) - 6);
        else
            parts[name].push_back(line);
    }
    return parts;
}

std::vector<std::string> startingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    return found;
}

// Whether a log being written holds a line starting with `prefix`
bool logHas(const std::filesystem::path& log, const std::string& prefix)
{
    const std::vector<std::string> lines = test::ReadLines(log);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

// Waits until `holds` while a started program runs; false when it ended
// first or the run's ceiling passed (a hang)
template <class Holds> bool waitWhileRunning(const test::ZibLaunch& launch, Holds holds)
{
    const auto ceiling =
        std::chrono::steady_clock::now() + std::chrono::seconds(test::ZibSession::kRunCeilingSeconds);
    while (!holds()) {
        siginfo_t ended{};
        if (waitid(P_PID, id_t(launch.pid), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid != 0 ||
            std::chrono::steady_clock::now() > ceiling)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

// No audio output at all: each Play on device 0, whichever road it takes,
// shows exactly one box, naming the cause; the status bar and the log say it
// too; the Setup dialogs show none.
TEST_F(BuiltInSynthGui, WithoutAudioOutputEachPlayRoadShowsOneMessageNamingTheCause)
{
    setEnvironment(test::NoAudioEnvironment(audioDir_.path()));
    setOutPorts({0, 1});
    test::SmfBuilder song(1, 96);
    song.AddTrack().Tempo(0, 500000);
    song.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    const std::string document = writeSong("Song.mid", song), temporary = writeSong("TmpRary.mid", song);

    // Each road answers its one box; a second box would take the next answer.
    const std::string play = std::string("dialog ok\nmenu ") + kPlay + "\nlog-frame\nbar-view-state\n";
    std::string script = open(document) + "mark opened\nelapsed opened\n";
    script += "clock midi-document\n" + play + play;
    script += "clock player-window\ndialog ok\nplay-external " + temporary +
              "\nbar-view-state\nclose-player\nlog-frame\n";
    script += "clock console\ndialog click 1808 ; settle ; log 1808 ; cancel\ndialog ok\n";
    script += "run-dialog console\nlog-frame\nbar-view-state\n";
    script += std::string("clock setup\ndialog ok\nmenu ") + kPlaybackSettings + "\ndialog ok\nmenu " +
              kMidiPortsSettings + "\nclock end\n";
    const ZibRun r = run(script);
    struct Road {
        const char* name;
        size_t plays;
        const char* caption;
    };
    const auto parts = stretches(r);
    for (const Road& road :
         {Road{"midi-document", 2, "OpenMidiOutPorts"}, Road{"player-window", 1, "OpenMidiOutPorts"},
          Road{"console", 1, "OnUtilPlaymidi"}, Road{"setup", 0, ""}}) {
        const std::vector<std::string> lines =
            parts.count(road.name) ? parts.at(road.name) : std::vector<std::string>{};
        const std::string box = "message: title=" + std::string(road.caption) + " text=" + kNoAudio;
        EXPECT_EQ(startingWith(lines, "message:"), std::vector<std::string>(road.plays, box)) << road.name;
        for (const std::string& frame : startingWith(lines, "frame:"))
            EXPECT_NE(frame.find(std::string("status=") + kNoAudio), std::string::npos)
                << road.name << ": " << frame;
    }
    // Nothing plays after any of them, and the console's button offers Start again.
    for (const std::string& state : r.lines("bar-view-state: "))
        EXPECT_NE(state.find(" playing=0"), std::string::npos) << state;
    EXPECT_EQ(r.lines("bar-view-state: ").size(), 4u);
    EXPECT_TRUE(r.has("control 1808: label=Start enabled=1")) << r.line("control 1808");
    EXPECT_TRUE(r.has("dialog: title=MIDI settings"));
    EXPECT_TRUE(r.has("dialog: title=Select MIDI Ports"));
    EXPECT_TRUE(r.line("dialog-unanswered").empty()) << "no box came that was not looked for";
    // One line in the log per failed Play
    size_t logged = 0;
    for (size_t at = 0;
         (at = r.output.find(std::string("zib: ") + kNoAudio + " (tried: ", at)) != std::string::npos; ++at)
        ++logged;
    EXPECT_EQ(logged, 4u) << r.output;
}

// No audio output, and a song with a track on port 1: it plays there, both
// tracks, with no box; the status bar names what is missing.
TEST_F(BuiltInSynthGui, WithoutAudioOutputTheOtherPortsStillPlay)
{
    setEnvironment(test::NoAudioEnvironment(audioDir_.path()));
    setOutPorts({0, 1, 1, 1}); // port 0 on the synthesizer, port 1 on "Zib Test:Out A"
    const std::string song = writeSong("Song.mid", twoPortSong());
    // Played once the window has settled: its first status is shown by then.
    const ZibRun r = run(open(song) + "mark opened\nelapsed opened\nmenu " + kPlay +
                         "\nawait-position 1:02:000 20000\nlog-frame\n");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    EXPECT_FALSE(r.line("position 1:02:000 at").empty()) << "the song played on";
    EXPECT_NE(r.line("frame:").find(std::string("status=") + kNoAudio), std::string::npos)
        << r.line("frame:");
    const auto heard = session_.midiHeard("Zib Test:Out A");
    for (const char* note : {"Zib Test:Out A: 90 3C 64", "Zib Test:Out A: 91 40 64"})
        EXPECT_NE(std::find(heard.begin(), heard.end(), note), heard.end())
            << note << " in " << ::testing::PrintToString(heard);
}

// Zib makes sound: a song played through device 0 into a private PulseAudio
// server is silent before its first note, sounds from it until Stop, and is
// silent within 2 s of Stop, the synthesizer's release and reverberation
// included. It is judged in frames of the recording, not by the clock: the
// test lets Play and Stop go itself, and the frames recorded by then were all
// heard before them, however late the machine delivered them. How soon a
// note is heard is a figure of bench/devices/player/SynthLatencyBench.cpp.
TEST_F(BuiltInSynthGui, PlaysThroughTheSoundServerFromTheFirstNoteUntilStop)
{
    test::PulseAudioServer server;
    if (!server.UpOrMissingInCi()) GTEST_SKIP() << server.Problem();
    test::SinkRecorder recorder(server);
    ASSERT_TRUE(recorder.WaitUntilRecording()) << "parec records";
    setEnvironment(server.ClientEnvironment());
    setOutPorts({0, 1});
    // Two beats of nothing at 120 BPM, then a drawbar organ's C4 (it sounds as
    // long as it is held) for 32 beats, 16 s; Stop comes a second into it.
    constexpr size_t kRate = test::PulseAudioServer::kRate;
    constexpr size_t kLeadInFrames = kRate; // the two beats
    constexpr size_t kSinkBlockFrames = size_t(kSinkBlockUs) * kRate / 1'000'000;
    constexpr size_t kSoundedFrames = kRate;     // the note heard this long before Stop
    constexpr size_t kStopFrames = 2 * kRate;    // silent this soon after Stop
    constexpr size_t kCheckedFrames = 2 * kRate; // and heard to be silent this long after that
    test::SmfBuilder song(1, 96);
    song.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    song.AddTrack().Program(0, 0, 16).NoteOn(192, 0, 60, 100).NoteOff(192 + 32 * 96, 0, 60);
    const std::string path = writeSong("Organ.mid", song);

    // The program waits for the test's word before Play, before Stop and
    // before it quits; the frames recorded when the test gives it were all
    // heard before.
    const auto play = session_.files() / "play", stop = session_.files() / "stop",
               heard = session_.files() / "heard";
    std::string script = open(path) + "clock ready\nawait-file " + play.string() + "\nmenu " + kPlay + "\n";
    script += "await-file " + stop.string() + "\nmenu " + kStop + "\nawait-stopped\n";
    script += "await-file " + heard.string() + "\nquit\n";
    auto letGo = [](const std::filesystem::path& file) { std::ofstream(file) << "go\n"; };
    test::ZibLaunch launch = session_.start(script, 60);
    ASSERT_GT(launch.pid, 0);
    const bool ready = waitWhileRunning(launch, [&] { return logHas(launch.log, "clock ready"); });
    const size_t beforePlay = recorder.Frames();
    letGo(play);
    const bool sounded = ready && waitWhileRunning(launch, [&] {
                             const int64_t onset = recorder.FirstFrameAtLeast(kSound);
                             return onset >= 0 && recorder.Frames() >= size_t(onset) + kSoundedFrames;
                         });
    const size_t beforeStop = recorder.Frames();
    letGo(stop);
    const bool checked = sounded && waitWhileRunning(launch, [&] {
                             return recorder.Frames() >= beforeStop + kStopFrames + kCheckedFrames;
                         });
    letGo(heard);
    const ZibRun r = test::ZibSession::finish(launch);
    test::ZibSession::expectEndedWell(r);
    recorder.Stop();
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    ASSERT_TRUE(ready) << "the program came to Play";
    ASSERT_TRUE(sounded) << "the note was heard";
    ASSERT_TRUE(checked) << "the recording went on after Stop";

    // The note is due two beats after Play; the sink mixes its sound a block ahead.
    EXPECT_LT(recorder.PeakInFrames(0, beforePlay + kLeadInFrames - kSinkBlockFrames), kSilence)
        << "silent before the first note";
    // The sink mixes the synthesizer's sound in short bursts, the fewer the busier the machine.
    EXPECT_GE(recorder.PeakInFrames(beforeStop - kRate / 4, beforeStop), kSound)
        << "the note sounded until Stop";
    const int64_t audible = recorder.LastFrameAtLeast(kSilence);
    EXPECT_LT(recorder.PeakInFrames(beforeStop + kStopFrames, recorder.Frames()), kSilence)
        << "silent within 2 s of Stop; heard " << double(audible - int64_t(beforeStop)) / kRate
        << " s after it";
}
