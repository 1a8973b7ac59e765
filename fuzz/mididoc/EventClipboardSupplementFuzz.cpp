// Arbitrary bytes as the supplement beside a real event clipboard block,
// copied from a small song at division 96 and pasted into a song at 480: a
// supplement that is read is written back the same way; the paste either
// leaves the song as it was or is taken back by one Undo.
#include "fuzz/mididoc/SequenceBytes.h"
#include "mididoc/core/EventClipboardSupplement.h"
#include "mididoc/core/MidiDocModel.h"
#include "tests/support/MemoryProfile.h"
#include "ui/core/ZibSettings.h"

#include <cstdlib>

namespace {

using namespace zib;

void check(bool condition)
{
    if (!condition) std::abort();
}

// Holds what a copy put; a paste gets the block with the fuzzer's supplement.
class SwappedClipboard : public EventClipboard {
public:
    std::vector<uint8_t> block, supplement;
    bool HasPrivateFormat() const override { return true; }
    Result PutWithSupplement(std::vector<uint8_t> bytes, std::vector<uint8_t> extra) override
    {
        block = std::move(bytes);
        supplement = std::move(extra);
        return Result::Ok;
    }
    Result Put(std::vector<uint8_t> bytes) override { return PutWithSupplement(std::move(bytes), {}); }
    Result GetWithSupplement(std::vector<uint8_t>& bytes, std::vector<uint8_t>& extra) override
    {
        bytes = block;
        extra = supplement;
        return Result::Ok;
    }
    Result Get(std::vector<uint8_t>& bytes) override
    {
        bytes = block;
        return Result::Ok;
    }
};

class Answers : public MidiDocDialogs {
public:
    std::optional<CopyEventKinds> CopyMidiEvents(const CopyEventKinds& kinds) override { return kinds; }
    std::optional<PasteDlgValues> PasteEvents(const CMidiParserEx&, const PasteDlgValues& values) override
    {
        return values;
    }
};

// A format-1 song at `division`: tempo track, a track of four notes with a
// program, and a track with a volume and one note.
std::vector<uint8_t> song(uint16_t division)
{
    auto chunk = [](std::vector<uint8_t> body) {
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        std::vector<uint8_t> c = {'M', 'T', 'r', 'k', 0, 0, uint8_t(body.size() >> 8), uint8_t(body.size())};
        c.insert(c.end(), body.begin(), body.end());
        return c;
    };
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3, uint8_t(division >> 8), uint8_t(division)};
    const auto conductor = chunk({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
    std::vector<uint8_t> notes = {0x00, 0xC0, 0x05};
    for (int beat = 0; beat < 4; ++beat) {
        notes.insert(notes.end(), {uint8_t(beat == 0 ? 0x00 : 0x30), 0x90, uint8_t(0x3C + beat), 0x64});
        notes.insert(notes.end(), {0x30, 0x80, uint8_t(0x3C + beat), uint8_t(0x10 * beat)});
    }
    const auto second = chunk({0x00, 0xB1, 0x07, 0x50, 0x60, 0x91, 0x40, 0x5A, 0x68, 0x91, 0x40, 0x00});
    for (const auto& c : {conductor, chunk(notes), second})
        file.insert(file.end(), c.begin(), c.end());
    return file;
}

struct Documents {
    test::MemoryProfile profile;
    ZibSettings settings{profile};
    const std::atomic<int> playing{0};
    SwappedClipboard clipboard;
    Answers dialogs;
    MidiDocHooks hooks;
    MidiDocModel source{settings, playing, withSeams()};
    MidiDocModel target{settings, playing, withSeams()};
    MidiDocHooks withSeams()
    {
        hooks.clipboard = &clipboard;
        hooks.dialogs = &dialogs;
        return hooks;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Documents d;
    check(d.source.OpenImage("/fuzz/Source.mid", song(96)) == MidiDocModel::OpenResult::Ok);
    check(d.target.OpenImage("/fuzz/Target.mid", song(480)) == MidiDocModel::OpenResult::Ok);
    d.source.m_RowSelected[0] = d.source.m_RowSelected[1] = 1;
    check(d.source.CopyToClipboardFromThru(0, 1000) == EditResult::Done);

    const std::span<const uint8_t> bytes(data, size);
    const size_t records = d.clipboard.block.size() > 8 ? d.clipboard.block[5] : 0; // any count will do
    const auto read = EventClipboardSupplement::Decode(bytes, d.clipboard.block.size(), records);
    if (read != EventClipboardSupplement{}) {
        const auto again = EventClipboardSupplement::Decode(read.Encode(d.clipboard.block.size(), records),
                                                            d.clipboard.block.size(), records);
        check(again == read);
    }

    d.clipboard.supplement.assign(data, data + size);
    d.target.m_RowSelected[1] = 1;
    const std::vector<uint8_t> before = fuzz::sequenceBytes(d.target.Sequence());
    if (d.target.OnEditPaste(96) != EditResult::Done) {
        check(fuzz::sequenceBytes(d.target.Sequence()) == before);
        return 0;
    }
    check(d.target.Undo() == EditResult::Done);
    check(fuzz::sequenceBytes(d.target.Sequence()) == before);
    return 0;
}
