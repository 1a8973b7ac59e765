#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

// The user's MIDI port map: port i plays (OUT) or listens (IN) through the
// system device with id `deviceId` (0..127; 255 = no device), when enabled.
class UserMidiPortMap {
public:
    static constexpr int kPorts = 128;
    static constexpr uint8_t kNoDevice = 255;
    static constexpr size_t kMaxStoredBytes = 2 * kPorts;

    struct Entry {
        uint8_t deviceId = kNoDevice;
        uint8_t enabled = 0;
        bool operator==(const Entry&) const = default;
    };

    // Every port without a device.
    UserMidiPortMap() = default;

    // The map of a first start: port i maps to device i while the system has
    // that many devices, the rest to no device; only port 0 is enabled, and
    // only when at least one device exists.
    static UserMidiPortMap Defaults(int deviceCount);

    // The map as loaded from its stored bytes: the bytes fill the leading
    // entries in port order ({device id, enabled} each); the entries from
    // L / 2 on become {255, 0}. No bytes, or more than 256, give Defaults().
    static UserMidiPortMap FromStored(std::span<const uint8_t> stored, int deviceCount);

    // The bytes to store: the leading entries whose device id is below 128,
    // up to the first port without a device.
    std::vector<uint8_t> StoredBytes() const;

    // Entries
    Entry& operator[](int port) { return entries_[size_t(port)]; }
    const Entry& operator[](int port) const { return entries_[size_t(port)]; }
    bool operator==(const UserMidiPortMap&) const = default;

private:
    std::array<Entry, kPorts> entries_{};
};

} // namespace zib
