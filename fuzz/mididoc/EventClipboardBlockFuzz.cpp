// Arbitrary bytes as an event clipboard block, read and pasted into a small
// document: a block that is refused leaves the document as it was, one that
// is pasted can be taken back by one Undo.
#include "fuzz/mididoc/SequenceBytes.h"
#include "mididoc/core/EventClipboardBlock.h"
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

class BlockClipboard : public EventClipboard {
public:
    std::vector<uint8_t> block;
    bool HasPrivateFormat() const override { return true; }
    Result Get(std::vector<uint8_t>& out) override
    {
        out = block;
        return Result::Ok;
    }
};

class PasteAnswers : public MidiDocDialogs {
public:
    std::optional<PasteDlgValues> PasteEvents(const CMidiParserEx&, const PasteDlgValues& values) override
    {
        return values;
    }
};

// A small format-1 file: tempo track, a track of eight notes with its name
// and program, and a track with a volume and one note.
const std::vector<uint8_t>& smallSong()
{
    static const std::vector<uint8_t> image = [] {
        auto chunk = [](std::vector<uint8_t> body) {
            body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
            std::vector<uint8_t> c = {'M', 'T', 'r', 'k', 0, 0, uint8_t(body.size() >> 8), uint8_t(body.size())};
            c.insert(c.end(), body.begin(), body.end());
            return c;
        };
        std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3, 0, 96};
        const auto conductor = chunk({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x51, 0x03, 0x07,
                                      0xA1, 0x20});
        std::vector<uint8_t> notes = {0x00, 0xFF, 0x03, 0x03, 'O', 'n', 'e', 0x00, 0xC0, 0x05};
        for (int beat = 0; beat < 8; ++beat) {
            notes.insert(notes.end(), {uint8_t(beat == 0 ? 0x00 : 0x30), 0x90, 0x3C, 0x64});
            notes.insert(notes.end(), {0x30, 0x80, 0x3C, 0x40});
        }
        const auto second = chunk({0x00, 0xB1, 0x07, 0x50, 0x60, 0x91, 0x40, 0x5A, 0x68, 0x81, 0x40, 0x40});
        for (const auto& c : {conductor, chunk(notes), second})
            file.insert(file.end(), c.begin(), c.end());
        return file;
    }();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EventClipboardBlock block;
    const auto decoded = EventClipboardBlock::Decode(std::span<const uint8_t>(data, size), block);
    if (decoded == EventClipboardBlock::Decoded::Ok) {
        // What was read is written back the same way.
        EventClipboardBlock again;
        check(EventClipboardBlock::Decode(block.Encode(), again) == EventClipboardBlock::Decoded::Ok && again == block);
    }

    test::MemoryProfile profile;
    ZibSettings settings(profile);
    const std::atomic<int> playing{0};
    BlockClipboard clipboard;
    clipboard.block.assign(data, data + size);
    PasteAnswers dialogs;
    MidiDocHooks hooks;
    hooks.clipboard = &clipboard;
    hooks.dialogs = &dialogs;
    MidiDocModel doc(settings, playing, hooks);
    check(doc.OpenImage("/fuzz/Small.mid", smallSong()) == MidiDocModel::OpenResult::Ok);
    doc.m_RowSelected[1] = 1;
    const std::vector<uint8_t> before = fuzz::sequenceBytes(doc.Sequence());
    const EditResult result = doc.OnEditPaste(96);
    if (result != EditResult::Done) {
        check(fuzz::sequenceBytes(doc.Sequence()) == before);
        return 0;
    }
    check(doc.Undo() == EditResult::Done);
    check(fuzz::sequenceBytes(doc.Sequence()) == before);
    return 0;
}
