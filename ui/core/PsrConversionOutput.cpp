#include "ui/core/PsrConversionOutput.h"

#include "ui/core/AsciiCase.h"
#include "midi/ValueTexts.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <cstring>

namespace zib {

std::string PsrOutputName(std::string_view fileName)
{
    size_t dot = fileName.find_last_of('.');
    if (dot != std::string_view::npos) {
        std::string_view ext = fileName.substr(dot + 1);
        for (std::string_view own : {"PCS", "PRS", "SST", "BCS"})
            if (EqualIgnoringCase(ext, own)) return "YD_" + std::string(fileName.substr(0, dot)) + ".STY";
    }
    return "YD_" + std::string(fileName);
}

std::array<uint8_t, 16> StyleNameField(std::string_view name)
{
    std::array<uint8_t, 16> field{};
    std::memcpy(field.data(), name.data(), std::min(name.size(), field.size()));
    return field;
}

std::vector<uint8_t> SingleResourceContainer(std::span<const uint8_t, 16> styleName,
                                             std::span<const uint8_t> resource)
{
    const auto S = uint32_t(resource.size());

    // Clean exactly the 16 bytes of the field: a name without a terminator
    // must not lead the cleaning past the field. Zero padding stays.
    char name[16];
    std::memcpy(name, styleName.data(), sizeof name);
    MakeValidFileName(name, sizeof name);

    static const uint8_t kHead[] = {0x01, 0x00, 0x01, 0x14};
    static const uint8_t kVersion[] = {0x02, 0x00, 0x00, 0x18};
    static const uint8_t kVersionData[] = {0x0B, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0x00, 'D',  'A',  'S',  'F',  0x00};
    static const uint8_t kIndex[] = {0x05, 0x00, 0x00, 0x18};
    static const uint8_t kKind[] = {0x02, 0x00, 0x00, 0x00};
    static const uint8_t kResource[] = {0x06, 0x00, 0x01, 0x10};
    static const uint8_t kDirectory[] = {0xFE, 0x00, 0x00, 0x18};

    ByteWriter w;
    w.reserve(size_t(S) + 96);
    w.bytes(kHead);
    w.u32be(S + 88);
    w.bytes(kVersion);
    w.u32be(12);
    w.bytes(kVersionData);
    w.bytes(kIndex);
    w.u32be(24);
    w.bytes(reinterpret_cast<const uint8_t*>(name), sizeof name);
    w.u16be(0);
    w.bytes(kKind);
    w.u16be(0);
    w.bytes(kResource);
    w.u32be(S);
    w.bytes(resource);
    w.bytes(kDirectory);
    w.u32be(20);
    w.text("DBEG");
    w.u32be(28);
    w.u32be(60);
    w.text("DEND");
    w.u32be(2);
    return w.take();
}

} // namespace zib
