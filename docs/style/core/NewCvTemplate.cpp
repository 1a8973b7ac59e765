#include "docs/style/core/NewCvTemplate.h"

#include "midi/CMidiFile.h"
#include "midi/MidiVarLen.h"
#include "platform/ByteWriter.h"

#include <initializer_list>

namespace zib {

namespace {

// Writes one prepared track chunk as a format-0 file.
class COneTrackWriter : public CMidiFile {
public:
    explicit COneTrackWriter(const std::vector<uint8_t>& track) : track_(track) {}

protected:
    int OnHeader() override
    {
        SetHeader(0, 1, 384);
        return 0;
    }
    int OnTrackStart() override
    {
        RequestRawWrite(track_.data(), uint32_t(track_.size()));
        return 0;
    }

private:
    const std::vector<uint8_t>& track_;
};

} // namespace

std::vector<uint8_t> NewCvTemplate(uint8_t numerator, uint8_t denominatorExponent)
{
    static constexpr uint8_t kMsb[] = {121, 120, 120, 121, 121, 121, 121, 121};
    static constexpr uint8_t kLsb[] = {3, 0, 0, 3, 7, 6, 3, 3};
    static constexpr uint8_t kProgram[] = {33, 4, 65, 0, 25, 89, 48, 5};
    const uint32_t bar = uint32_t(numerator) * 1536u / (1u << denominatorExponent);
    uint8_t length[8] = {};
    const int lengthBytes = WriteMidiVarLen(bar, length);
    if (lengthBytes < 1 || lengthBytes > 4) return {};

    ByteWriter w;
    auto put = [&w](std::initializer_list<uint8_t> bytes) { w.bytes(bytes.begin(), bytes.size()); };
    put({0x00, 0xFF, 0x58, 0x04, numerator, denominatorExponent, 24, 8});
    for (uint8_t i = 0; i < 8; ++i) {
        const uint8_t channel = uint8_t(8 + i);
        put({0x00, uint8_t(0xB0 | channel), 11, 100});
        put({0x00, 0, kMsb[i]});
        put({0x00, 32, kLsb[i]});
        put({0x00, uint8_t(0xC0 | channel), kProgram[i]});
        put({0x00, uint8_t(0x90 | channel), 48, uint8_t(i + 1)});
        put({0x00, uint8_t(0x90 | channel), 48, 0});
    }
    w.bytes(length, size_t(lengthBytes));
    put({0xFF, 0x2F, 0x00});
    return w.take();
}

std::vector<uint8_t> NewCvMidiFile(uint8_t numerator, uint8_t denominatorExponent)
{
    const std::vector<uint8_t> track = NewCvTemplate(numerator, denominatorExponent);
    if (track.empty()) return {};
    std::vector<uint8_t> image(14 + 8 + track.size());
    COneTrackWriter writer(track);
    if (writer.WriteToMemory(image.data(), uint32_t(image.size())) != 0 || writer.GetBytesWritten() != image.size())
        return {};
    return image;
}

} // namespace zib
