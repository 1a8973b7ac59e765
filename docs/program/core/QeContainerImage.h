#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

// A DASF container image built anew for Save: one resource per entry, in
// order, made by UlvaRf; then each index entry rewritten with its whole
// 18-byte name, type, bank and position.
struct QeContainerEntry {
    std::span<const uint8_t> resource; // the serialised resource instance
    std::array<char, 18> name{};
    uint8_t type = 0; // 4 programs, 1 performances
    uint8_t bank = 0;
    uint8_t position = 0;
};

enum class QeContainerError {
    None,
    BadResource,  // an entry's bytes are no resource of its type
    Full,         // the container refused another resource
    OutputFailed, // the image could not be written
};

QeContainerError BuildQeContainer(const std::vector<QeContainerEntry>& entries, std::vector<uint8_t>& image);

// Whether Save can write these bytes as a resource of `type` (4 programs,
// 1 performances): the check the build runs on every entry, for import and
// paste to refuse an item that would make the document unsavable.
bool IsWritableQeResource(std::span<const uint8_t> resource, uint8_t type);

} // namespace zib
