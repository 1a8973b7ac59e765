// Any bytes as a serialised resource instance: reading never fails unsafely,
// and an instance that reads writes itself out as an instance that reads the same.

#include "ulvarf/ulvarf.h"

#include <cstdlib>
#include <vector>

namespace {

std::vector<uint8_t> serialOf(ULRFResInstance* resource)
{
    const int size = _ULRFResInstanceSize(resource);
    if (size < 16) std::abort();
    std::vector<uint8_t> serial(static_cast<size_t>(size));
    if (_ULRFPutResInstance(resource, serial.data(), uint32_t(size - 1))) std::abort();
    if (!_ULRFPutResInstance(resource, serial.data(), uint32_t(size))) std::abort();
    return serial;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ULRFResInstance* resource = _ULRFCreateResInstance(data, uint32_t(size));
    if (!resource) return 0;

    const std::vector<uint8_t> serial = serialOf(resource);
    ULRFResInstance* again = _ULRFCreateResInstance(serial.data(), uint32_t(serial.size()));
    if (!again || serialOf(again) != serial) std::abort();

    const int plain = _ULRFResInstanceSizeUnComp(resource);
    if (plain < 16) std::abort();
    if (plain < (64 << 20)) {
        std::vector<uint8_t> unpacked(static_cast<size_t>(plain));
        _ULRFPutResInstanceUnComp(resource, unpacked.data(), uint32_t(plain));
    }

    // Into a container and out again; a chunk with the directory's id FE is
    // refused, since it would end the resource list on reading.
    ULRFContainer* container = _ULRFCreateInstance(nullptr, 0);
    const bool directoryId = serial[8] == 0xFE;
    if (_ULRFInsertResource(container, -1, resource) != (directoryId ? -1 : 0)) std::abort();
    if (directoryId) {
        _ULRFDeleteInstance(container);
        _ULRFDelResInstance(again);
        _ULRFDelResInstance(resource);
        return 0;
    }
    const int imageSize = _ULRFOutBufferSize(container);
    std::vector<uint8_t> image(static_cast<size_t>(imageSize));
    if (!_ULRFFillOutBuffer(container, image.data())) std::abort();
    ULRFContainer* reread = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
    if (!reread) std::abort();
    ULRFResInstance* extracted = _ULRFExtractResource(reread, 0);
    if (!extracted) std::abort();

    _ULRFDelResInstance(extracted);
    _ULRFDeleteInstance(reread);
    _ULRFDeleteInstance(container);
    _ULRFDelResInstance(again);
    _ULRFDelResInstance(resource);
    return 0;
}
