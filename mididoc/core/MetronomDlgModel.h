#pragma once

#include "devices/core/MetronomeSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// The metronome dialog without its window: when the metronome sounds, its
// pre-count, port (an index among the enabled MIDI OUT ports, 255 none),
// channel, click length, keys and velocities. Fields show ports and
// channels from 1.
class MetronomDlgModel {
public:
    enum class Field { PreCount, Port, Channel, Duration, FirstVelocity, OtherVelocity };
    static constexpr int kMaxCount = 20;

    // `enabledPorts`: the number of enabled MIDI OUT ports.
    MetronomDlgModel(const MetronomeSettings& given, int enabledPorts);

    // The dialog as it opens
    bool PlaybackChecked() const { return given_.mode == 2 || given_.mode == 3; }
    bool RecordingChecked() const { return given_.mode == 1 || given_.mode == 3; }
    bool MeasuresChecked() const { return given_.precountUnit == 0; }
    int PortCount() const { return ports_; }
    int Value(Field field) const;               // as shown
    std::string Text(Field field) const { return std::to_string(Value(field)); }
    uint8_t FirstKey() const { return firstKey_; }
    uint8_t OtherKey() const { return otherKey_; }
    static std::string KeyText(int key);       // the note name shown for a key

    // A key's up-down step: the key moves by one within 0-127; its name.
    std::string StepFirstKey(int step);
    std::string StepOtherKey(int step);

    // Typing: a value past its field's range puts the previous one back (the
    // text to show); a value in range becomes the field's value.
    std::optional<std::string> Type(Field field, std::string_view text);

    // OK with the check boxes and the texts of the fields.
    MetronomeSettings Ok(bool playback, bool recording, bool measures) const;

private:
    int& slot(Field field);
    int max(Field field) const;

    MetronomeSettings given_;
    int ports_;
    int preCount_, port_, channel_, duration_, firstVelocity_, otherVelocity_; // as shown
    uint8_t firstKey_, otherKey_;
};

} // namespace zib
