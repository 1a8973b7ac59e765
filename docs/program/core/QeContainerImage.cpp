#include "docs/program/core/QeContainerImage.h"

#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "ulvarf/ulvarf.h"

#include <string>

namespace zib {

namespace {

// The resource instance of an entry's bytes; null when they are no resource of the type.
UlrfResInstancePtr openResource(std::span<const uint8_t> resource, uint8_t type)
{
    if (resource.empty() || resource[0] != type) return nullptr;
    return UlrfResInstancePtr(_ULRFCreateResInstance(resource.data(), uint32_t(resource.size())));
}

} // namespace

bool IsWritableQeResource(std::span<const uint8_t> resource, uint8_t type)
{
    return openResource(resource, type) != nullptr;
}

QeContainerError BuildQeContainer(const std::vector<QeContainerEntry>& entries, std::vector<uint8_t>& image)
{
    image.clear();
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    if (!container) return QeContainerError::OutputFailed;
    std::vector<int> indexes;
    for (const QeContainerEntry& entry : entries) {
        UlrfResInstancePtr resource = openResource(entry.resource, entry.type);
        if (!resource) return QeContainerError::BadResource;
        const int index = _ULRFInsertResource(container.get(), -1, resource.get());
        if (index < 0) return QeContainerError::Full;
        indexes.push_back(index);
    }
    const int size = _ULRFOutBufferSize(container.get());
    if (size <= 0) return QeContainerError::OutputFailed;
    image.resize(size_t(size));
    if (!_ULRFFillOutBuffer(container.get(), image.data())) return QeContainerError::OutputFailed;
    // The library's index holds 17 characters of a name; the file holds 18.
    const auto chunk = FindIndexChunk(std::span<uint8_t>(image));
    for (size_t i = 0; i < entries.size(); ++i) {
        DasfIndexEntry e;
        e.name = entries[i].name;
        e.type = entries[i].type;
        e.user1 = entries[i].bank;
        e.user2 = entries[i].position;
        if (chunk.empty() || !WriteIndexEntry(chunk, indexes[i], e)) return QeContainerError::OutputFailed;
    }
    return QeContainerError::None;
}

} // namespace zib
