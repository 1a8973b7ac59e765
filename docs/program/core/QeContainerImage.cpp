#include "docs/program/core/QeContainerImage.h"

#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "ulvarf/ulvarf.h"

#include <string>

namespace zib {

QeContainerError BuildQeContainer(const std::vector<QeContainerEntry>& entries, std::vector<uint8_t>& image)
{
    image.clear();
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    if (!container) return QeContainerError::OutputFailed;
    std::vector<int> indexes;
    for (const QeContainerEntry& entry : entries) {
        if (entry.resource.empty() || entry.resource[0] != entry.type) return QeContainerError::BadResource;
        UlrfResInstancePtr resource(_ULRFCreateResInstance(entry.resource.data(), uint32_t(entry.resource.size())));
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
