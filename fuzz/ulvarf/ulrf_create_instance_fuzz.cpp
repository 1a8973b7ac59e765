// Any bytes as a container image: reading never fails unsafely, and a
// container that opens writes an image that reads back as the same image.

#include "ulvarf/ulvarf.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> imageOf(ULRFContainer* container)
{
    const int size = _ULRFOutBufferSize(container);
    if (size < 60) std::abort();
    std::vector<uint8_t> image(static_cast<size_t>(size));
    if (!_ULRFFillOutBuffer(container, image.data())) std::abort();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ULRFContainer* container = _ULRFCreateInstance(data, uint32_t(size));
    if (!container) return 0;

    const std::vector<uint8_t> image = imageOf(container);
    ULRFContainer* again = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
    if (!again || imageOf(again) != image) std::abort();

    // Every entry comes out, travels as a serialised instance and goes back in.
    char name[18];
    int type, user1, user2;
    for (int i = 0; _ULRFEnumIndex(again, i, name, &type, &user1, &user2); ++i) {
        if (std::memchr(name, 0, sizeof name) == nullptr) std::abort();
        ULRFResInstance* resource = _ULRFExtractResource(again, i);
        if (!resource) std::abort();
        const int stored = _ULRFResInstanceSize(resource);
        std::vector<uint8_t> serial(static_cast<size_t>(stored));
        if (!_ULRFPutResInstance(resource, serial.data(), uint32_t(stored))) std::abort();
        const int plain = _ULRFResInstanceSizeUnComp(resource);
        if (plain > 0 && plain < (64 << 20)) {
            std::vector<uint8_t> unpacked(static_cast<size_t>(plain));
            _ULRFPutResInstanceUnComp(resource, unpacked.data(), uint32_t(plain));
        }
        ULRFResInstance* copy = _ULRFCreateResInstance(serial.data(), uint32_t(serial.size()));
        if (!copy) std::abort();
        if (_ULRFInsertResource(again, i, copy) != i) std::abort();
        _ULRFDelResInstance(copy);
        _ULRFDelResInstance(resource);
    }
    _ULRFModifyIndex(again, 0, "fuzz", 1, -1);
    _ULRFDeleteResource(again, 0);
    imageOf(again);

    _ULRFDeleteInstance(again);
    _ULRFDeleteInstance(container);
    return 0;
}
