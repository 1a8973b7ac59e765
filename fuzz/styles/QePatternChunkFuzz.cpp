// The pattern chunk cursor, the pattern filter and the element parser on
// chunks as they come from Qe style files: they must stay inside the chunk,
// and a filtered pattern must walk again and hold no dropped kind.
#include "fuzz/styles/FuzzCheck.h"
#include "styles/CQeRecordParser.h"
#include "styles/CSmfTrackReader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

using zib::fuzz::check;

// Counts the events of the kinds the filter drops.
class DroppedKinds : public zib::CStyleTrackChunk {
public:
    int Walk(std::span<const uint8_t> chunk)
    {
        SetChunk(chunk);
        return WalkChunk();
    }
    int found = 0;

protected:
    int OnOtherEvent() override
    {
        ++found;
        return 0;
    }
};

} // namespace

// Byte 0 picks the reader: even, the pattern filter; odd, the element parser.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::span<const uint8_t> chunk(data + 1, size - 1);
    if (data[0] & 1) {
        zib::CQeRecordParser parser;
        uint16_t count = 0;
        const int result = parser.Parse(chunk, count);
        check(result == 0 || (zib::QeRecordErrorText(result) != nullptr && count == 0));
        return 0;
    }

    zib::CSmfTrackReader reader;
    const int result = reader.Init(chunk);
    if (result != 0) {
        check(zib::TrackChunkErrorText(result) != nullptr);
        return 0;
    }
    const uint64_t time = reader.GetRunningTime();
    const uint32_t outputSize = reader.GetOutputSize();
    if (outputSize == 0) return 0;
    std::vector<uint8_t> out(outputSize);
    check(reader.Build(chunk, out) == 0);
    check(out.size() <= chunk.size());

    DroppedKinds again;
    check(again.Walk(out) == 0);
    check(again.found == 0);
    check(again.GetRunningTime() <= time);
    return 0;
}
