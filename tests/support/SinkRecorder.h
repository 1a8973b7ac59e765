#pragma once

#include "tests/support/AwaitState.h"
#include "tests/support/PulseAudioServer.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace zib::test {

// Records the monitor of a private server's sink (`parec`) as 16-bit mono
// samples and tells when each was heard, on the steady clock that every
// process of the machine shares.
//
// An idle null sink delivers no samples, and starts late on the first sound;
// so a second client plays silence into the sink all along (`pacat` of
// /dev/zero), and the monitor delivers one sample per 1/48000 s. A block of
// samples arrives only after its last sample was heard, which dates the
// first sample no later than arrival - length; a block's samples are dated
// by the least such time of that block and every later one, so blocks that
// the test process reads late do not shift the times, nor does a gap.
class SinkRecorder {
public:
    // Levels of 16-bit samples: below kSilence (-66 dBFS) is silence; a
    // note's sound reaches kSound (-36 dBFS) at once
    static constexpr int kSilence = 16;
    static constexpr int kSound = 512;
    // The sink mixes blocks of sound ahead of their time, so a sample's time
    // is known to within one block
    static constexpr int64_t kBlockUs = 50'000;
    // A stretch of frames of the recording
    struct FrameRun {
        size_t first;
        size_t length;
    };

    explicit SinkRecorder(const PulseAudioServer& server);
    // Stops recording
    ~SinkRecorder();
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;

    // Waits (at most `timeout`) until the samples heard up to steady time
    // `us` are in; false when they do not come
    bool WaitUntilHeard(int64_t us, std::chrono::milliseconds timeout) const;
    // Waits (at most kHangCeiling) until samples come in; false when parec
    // records nothing
    bool WaitUntilRecording() const;
    void Stop();

    // Times on the steady clock, in microseconds
    static int64_t NowUs();
    // When the first and the last sample recorded were heard; 0 when none is in
    int64_t FirstUs() const;
    int64_t LastUs() const;
    // The loudest sample (0-32768) heard in [fromUs, toUs); 0 when none
    int PeakBetween(int64_t fromUs, int64_t toUs) const;
    // When the first sample at least `level` loud was heard at or after
    // `fromUs`; -1 when none was
    int64_t FirstAtLeast(int level, int64_t fromUs) const;

    // In frames of the recording (one sample each, kRate a second), which
    // a late or busy machine delivers late but never shifts against each other
    size_t Frames() const;
    // The first and the last frame at least `level` loud; -1 when none was
    int64_t FirstFrameAtLeast(int level) const;
    int64_t LastFrameAtLeast(int level) const;
    // The loudest sample in frames [from, to); 0 when none
    int PeakInFrames(size_t from, size_t to) const;
    // The runs of more than `longest` frames in [from, to) that are all
    // quieter than `level`, in order
    std::vector<FrameRun> QuietRunsLongerThan(int level, size_t longest, size_t from, size_t to) const;

private:
    // A block of samples as read: when it arrived and where it ends
    struct Block {
        int64_t arrivalUs;
        size_t end;
    };
    void Read();
    // Under mutex_: when each block's first sample was heard, and each
    // sample with the time it was heard until `visit` returns false
    std::vector<int64_t> BlockStarts() const;
    template <class Visit> void ForEachSample(Visit visit) const;

    pid_t parec_ = 0;
    pid_t silence_ = 0;
    int pipe_ = -1;
    mutable std::mutex mutex_;
    std::vector<int16_t> samples_;
    std::vector<Block> blocks_;
    std::thread reader_;
};

} // namespace zib::test
