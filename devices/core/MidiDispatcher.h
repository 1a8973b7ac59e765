#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace zib {

// Runs the callbacks of a posted MIDI session on the UI thread. The program
// posts through wx (CallAfter); tests keep them in a queue and run them when
// they choose. Post may be called from any thread.
class MidiDispatcher {
public:
    virtual ~MidiDispatcher() = default;
    virtual void Post(std::function<void()> call) = 0;
};

// A dispatcher that holds the calls until RunPending.
class ManualMidiDispatcher : public MidiDispatcher {
public:
    void Post(std::function<void()> call) override;
    // Runs the calls posted so far and those they post in turn; returns how many ran
    size_t RunPending();
    size_t PendingCount() const;

private:
    mutable std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
};

} // namespace zib
