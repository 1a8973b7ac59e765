// Any bytes as the style chunk of a style resource (the first byte picks a
// style or a pad): the style editor reads it without fault, answers every
// query, renders a CV as a Standard MIDI File, and writes a resource that it
// reads again.

#include "ulvarf/ulvarf.h"

#include <cstdlib>
#include <vector>

namespace {

// A serialised resource instance whose wrapper chunk holds `chunk`.
std::vector<uint8_t> resourceAround(uint8_t type, const uint8_t* chunk, size_t size)
{
    const uint32_t length = uint32_t(size + 8);
    std::vector<uint8_t> serial = {type, 0, 0, 0};
    for (int i = 0; i < 4; ++i) serial.push_back(uint8_t(length >> (8 * i)));
    for (uint8_t b : {uint8_t(type == 9 ? 0x0C : 0x06), uint8_t(0), uint8_t(0), uint8_t(0x10)}) serial.push_back(b);
    for (int i = 3; i >= 0; --i) serial.push_back(uint8_t(size >> (8 * i)));
    serial.insert(serial.end(), chunk, chunk + size);
    return serial;
}

void exercise(ULStEEditor* editor)
{
    uint8_t byte = 0;
    for (int e = 0; e < 12; ++e) {
        _ULStEQueryStyleElem(editor, e);
        for (int cv = 0; cv < 6; ++cv) {
            _ULStEQueryChordVar(editor, e, cv);
            for (int t = 0; t < 8; ++t) _ULStEQueryPattern(editor, e, cv, t);
        }
    }
    _ULStEGetSignature(editor, 0, &byte);
    const int size = _ULStEExportSmfPrepare(editor, 0, 0);
    if (size < 0) std::abort();
    std::vector<uint8_t> smf(static_cast<size_t>(size));
    if (size > 0 && !_ULStEExportSmfFill(editor, smf.data(), uint32_t(size))) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20)) return 0;
    const uint8_t type = (data[0] & 1) ? 9 : 2;
    const std::vector<uint8_t> serial = resourceAround(type, data + 1, size - 1);
    ULRFResInstance* resource = _ULRFCreateResInstance(serial.data(), uint32_t(serial.size()));
    if (!resource) std::abort();
    ULStEEditor* editor = _ULStECreateInstance(resource);
    _ULRFDelResInstance(resource);
    if (!editor) return 0;

    exercise(editor);
    // Whatever was read can be stored, and what is stored reads again.
    ULRFResInstance* written = _ULStECreateResource(editor);
    if (!written) std::abort();
    ULStEEditor* again = _ULStECreateInstance(written);
    if (!again) std::abort();
    exercise(again);

    _ULStEDeleteInstance(again);
    _ULRFDelResInstance(written);
    _ULStEDeleteInstance(editor);
    return 0;
}
