#pragma once

#include <chrono>
#include <wx/eventfilter.h>

namespace zib {

// Watches the program paint, for the test driver's timings: between Start()
// and Stop() it sees every event the program handles and notes when a paint
// began and when painting last ended (the first other event after a paint:
// the loop went on to something else).
class PaintWatch : public wxEventFilter {
public:
    using Clock = std::chrono::steady_clock;

    PaintWatch() = default;
    ~PaintWatch() override;
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;

    // Forgets what it saw and watches from now on
    void Start();
    void Stop();

    // Whether a paint ran since Start() and has ended
    bool Painted() const { return painted_ && !painting_; }
    // When the last paint ended
    Clock::time_point PaintEnd() const { return paintEnd_; }

    // wxEventFilter
    int FilterEvent(wxEvent& event) override;

private:
    bool watching_ = false;
    bool painted_ = false;
    bool painting_ = false;
    Clock::time_point paintEnd_{};
};

} // namespace zib
