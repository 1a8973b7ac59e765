// Any bytes as a queued stream buffer: the stream must play what it can,
// never read past the buffer and always give the buffer back.

#include "devices/core/CFakeMidiBackend.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Client : zib::IMidiStreamClient {
    void OnStreamDone(zib::MidiHeader&) override { ++done; }
    void OnStreamPosition(zib::MidiHeader&, uint32_t) override {}
    int done = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zib::CFakeMidiBackend backend({"Out"}, {});
    Client client;
    std::unique_ptr<zib::CMidiStream> stream;
    backend.OpenStream(0, client, stream);
    stream->SetTimeDiv(96);
    stream->SetTempo(500000);
    // Two buffers: the input split in two
    const size_t half = size / 2;
    std::vector<uint8_t> a(data, data + half), b(data + half, data + size);
    zib::MidiHeader ha, hb;
    for (auto [h, bytes] : {std::pair{&ha, &a}, std::pair{&hb, &b}}) {
        h->data = bytes->empty() ? nullptr : bytes->data();
        h->bufferLength = h->bytesRecorded = uint32_t(bytes->size());
        if (stream->PrepareHeader(*h) == zib::MidiResult::NoError) stream->Out(*h);
    }
    stream->Restart();
    backend.RunUntilIdle(int64_t(1) << 40); // what plays within some virtual days
    stream->Stop();                          // gives back the rest
    const int queued = (ha.flags & zib::MidiHeader::kPrepared ? 1 : 0) + (hb.flags & zib::MidiHeader::kPrepared ? 1 : 0);
    if (client.done != queued) std::abort();
    return 0;
}
