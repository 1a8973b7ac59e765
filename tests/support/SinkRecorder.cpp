#include "tests/support/SinkRecorder.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zib::test {

namespace {

constexpr int64_t kRate = PulseAudioServer::kRate;

void endChild(pid_t& pid)
{
    if (pid == 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = 0;
}

} // namespace

SinkRecorder::SinkRecorder(const PulseAudioServer& server)
{
    const std::string format = "--format=s16le", rate = "--rate=" + std::to_string(kRate),
                      mono = "--channels=1";
    silence_ = server.StartClient({"pacat", "--playback", "--raw", format, rate, mono,
                                   "--device=" + std::string(PulseAudioServer::kSink), "/dev/zero"});
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    parec_ = server.StartClient({"parec", "--raw", format, rate, mono, "--latency-msec=10",
                                 "--device=" + std::string(PulseAudioServer::kSink) + ".monitor"},
                                fds[1]);
    close(fds[1]);
    if (parec_ == 0) {
        close(fds[0]);
        return;
    }
    pipe_ = fds[0];
    reader_ = std::thread([this] { Read(); });
}

SinkRecorder::~SinkRecorder()
{
    Stop();
    endChild(silence_);
}

void SinkRecorder::Stop()
{
    endChild(parec_); // the reader sees the end of the pipe
    if (reader_.joinable()) reader_.join();
    if (pipe_ >= 0) close(pipe_);
    pipe_ = -1;
}

int64_t SinkRecorder::NowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SinkRecorder::Read()
{
    std::vector<char> buffer(4096);
    size_t carry = 0; // a byte of a sample split between two reads
    for (;;) {
        const ssize_t n = read(pipe_, buffer.data() + carry, buffer.size() - carry);
        if (n <= 0) return;
        const int64_t now = NowUs();
        const size_t bytes = carry + size_t(n);
        const size_t whole = bytes / 2;
        std::lock_guard lock(mutex_);
        for (size_t i = 0; i < whole; ++i)
            samples_.push_back(
                int16_t(uint16_t(uint8_t(buffer[2 * i])) | uint16_t(uint8_t(buffer[2 * i + 1])) << 8));
        if (whole > 0) blocks_.push_back({now, samples_.size()});
        carry = bytes % 2;
        if (carry) buffer[0] = buffer[bytes - 1];
    }
}

// When the recording began, as each block dates it: the least of arrival
// less the length recorded up to its end, over that block and every later
// one. A block read late gives a later date only, and so does every block
// after a gap in the sound, so neither moves the samples before it.
std::vector<int64_t> SinkRecorder::BlockStarts() const
{
    std::vector<int64_t> starts(blocks_.size());
    int64_t start = INT64_MAX;
    for (size_t j = blocks_.size(); j-- > 0;) {
        start = std::min(start, blocks_[j].arrivalUs - int64_t(blocks_[j].end) * 1'000'000 / kRate);
        starts[j] = start;
    }
    return starts;
}

template <class Visit> void SinkRecorder::ForEachSample(Visit visit) const
{
    const std::vector<int64_t> starts = BlockStarts();
    size_t i = 0;
    for (size_t j = 0; j < blocks_.size(); ++j)
        for (; i < blocks_[j].end; ++i)
            if (!visit(starts[j] + int64_t(i) * 1'000'000 / kRate, samples_[i])) return;
}

bool SinkRecorder::WaitUntilHeard(int64_t us, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (LastUs() < us) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool SinkRecorder::WaitUntilRecording() const
{
    return WaitUntilHeard(NowUs(), kHangCeiling);
}

int64_t SinkRecorder::FirstUs() const
{
    std::lock_guard lock(mutex_);
    return blocks_.empty() ? 0 : BlockStarts()[0];
}

int64_t SinkRecorder::LastUs() const
{
    std::lock_guard lock(mutex_);
    return blocks_.empty() ? 0 : blocks_.back().arrivalUs;
}

int SinkRecorder::PeakBetween(int64_t fromUs, int64_t toUs) const
{
    std::lock_guard lock(mutex_);
    int peak = 0;
    ForEachSample([&](int64_t us, int16_t sample) {
        if (us >= fromUs && us < toUs) peak = std::max(peak, std::abs(int(sample)));
        return us < toUs;
    });
    return peak;
}

int64_t SinkRecorder::FirstAtLeast(int level, int64_t fromUs) const
{
    std::lock_guard lock(mutex_);
    int64_t found = -1;
    ForEachSample([&](int64_t us, int16_t sample) {
        if (us >= fromUs && std::abs(int(sample)) >= level) found = us;
        return found < 0;
    });
    return found;
}

size_t SinkRecorder::Frames() const
{
    std::lock_guard lock(mutex_);
    return samples_.size();
}

int64_t SinkRecorder::FirstFrameAtLeast(int level) const
{
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < samples_.size(); ++i)
        if (std::abs(int(samples_[i])) >= level) return int64_t(i);
    return -1;
}

int64_t SinkRecorder::LastFrameAtLeast(int level) const
{
    std::lock_guard lock(mutex_);
    for (size_t i = samples_.size(); i-- > 0;)
        if (std::abs(int(samples_[i])) >= level) return int64_t(i);
    return -1;
}

int SinkRecorder::PeakInFrames(size_t from, size_t to) const
{
    std::lock_guard lock(mutex_);
    int peak = 0;
    for (size_t i = from; i < std::min(to, samples_.size()); ++i)
        peak = std::max(peak, std::abs(int(samples_[i])));
    return peak;
}

std::vector<SinkRecorder::FrameRun> SinkRecorder::QuietRunsLongerThan(int level, size_t longest, size_t from,
                                                                      size_t to) const
{
    std::lock_guard lock(mutex_);
    std::vector<FrameRun> runs;
    to = std::min(to, samples_.size());
    for (size_t i = from; i < to;) {
        size_t end = i;
        while (end < to && std::abs(int(samples_[end])) < level)
            ++end;
        if (end - i > longest) runs.push_back({i, end - i});
        i = std::max(end, i + 1);
    }
    return runs;
}

} // namespace zib::test
