// Any bytes as a Standard MIDI File imported into a chord variation: the
// import never reads outside the file, and what it gives is a well-formed
// chord variation that exports and imports again.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CDecSMF0.h"
#include "ulvarf/CEncoderSMF0.h"

#include <cstdlib>
#include <span>
#include <vector>

using namespace zib::ulvarf;

namespace {

void check(const SmfImportResult& result)
{
    const uint32_t bar = result.signature.BarLength();
    if (!bar || result.bars < 1 || result.bars > 32 || result.length != result.bars * bar) std::abort();
    if (result.tempo && (*result.tempo < 1 || *result.tempo > 60000000)) std::abort();
    std::vector<PropEvent> events;
    if (!CDecProp::DecodeEvents(result.controlStream, events) || events.empty() ||
        events.back() != PropEvent::EndOfTrack(result.length))
        std::abort();
    for (const SmfImportTrack& track : result.tracks) {
        if (!track.created) continue;
        events.clear();
        if (!CDecProp::DecodeEvents(track.stream, events) || events.empty() ||
            events.back() != PropEvent::EndOfTrack(track.length) || track.length > result.length)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> smf(data, size);
    for (bool elementHasData : {false, true}) {
        SmfImportTarget target;
        target.elementHasData = elementHasData;
        SmfImportResult result;
        if (!CDecSMF0::ImportCv(smf, target, result)) continue;
        check(result);

        SmfExportCv cv;
        cv.tempo = result.tempo.value_or(target.tempo);
        cv.signature = result.signature;
        cv.bars = result.bars;
        cv.controlStream = result.controlStream;
        for (size_t t = 0; t < 8; ++t) {
            cv.tracks[t].created = result.tracks[t].created;
            cv.tracks[t].setup = result.setups[t];
            cv.tracks[t].stream = result.tracks[t].stream;
            // As the style model gives it: the pattern's whole bars.
            cv.tracks[t].patternLength = result.tracks[t].bars * result.signature.BarLength();
        }
        const auto image = CEncoderSMF0::ExportCv(cv);
        if (!image) std::abort();
        SmfImportResult again;
        if (!CDecSMF0::ImportCv(*image, target, again)) std::abort();
        check(again);
    }
    return 0;
}
