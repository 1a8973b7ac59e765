#include "docs/style/core/QeValueHelpers.h"

#include "docs/style/core/UlvaRfHandles.h"

#include <algorithm>
#include <cstdio>

namespace zib {

namespace {

const char* const kNotAvailable = "N/A";

struct UserBank {
    int soundSet;
    uint8_t msb;
    uint8_t lsb;
    int programs;
    const char* format;
};

constexpr UserBank kUserBanks[] = {
    {0, 121, 64, 64, "User1Prg%02d"},      {0, 121, 65, 64, "User2Prg%02d"},
    {0, 120, 64, 64, "UserDrum%02d"},      {1, 121, 64, 128, "User1Prg%03d"},
    {1, 121, 65, 128, "User2Prg%03d"},     {1, 121, 68, 128, "EXB1User1Prg%03d"},
    {1, 121, 69, 128, "EXB1User2Prg%03d"}, {1, 121, 70, 128, "EXB2User1Prg%03d"},
    {1, 121, 71, 128, "EXB2User2Prg%03d"}, {1, 120, 64, 128, "UserDrum%03d"},
    {1, 120, 68, 128, "EXB1UserDrum%03d"}, {1, 120, 70, 128, "EXB2UserDrum%03d"},
};

const UserBank* userBank(int soundSet, uint8_t msb, uint8_t lsb)
{
    for (const UserBank& bank : kUserBanks)
        if (bank.soundSet == soundSet && bank.msb == msb && bank.lsb == lsb) return &bank;
    return nullptr;
}

} // namespace

std::string GetQeSignatureText(int s)
{
    char text[16];
    if (s >= 0 && s <= 15)
        std::snprintf(text, sizeof text, "%d/1", s + 1);
    else if (s >= 16 && s <= 31)
        std::snprintf(text, sizeof text, "%d/2", s - 15);
    else if (s >= 32 && s <= 47)
        std::snprintf(text, sizeof text, "%d/4", s - 31);
    else if (s >= 48 && s <= 63)
        std::snprintf(text, sizeof text, "%d/8", s - 47);
    else if (s >= 64 && s <= 79)
        std::snprintf(text, sizeof text, "%d/16", s - 63);
    else
        return kNotAvailable;
    return text;
}

std::string GetQeElementSignatureText(std::span<const uint8_t> style, int element)
{
    if (style.empty()) return kNotAvailable;
    UlrfResInstancePtr resource(_ULRFCreateResInstance(style.data(), uint32_t(style.size())));
    if (!resource) return kNotAvailable;
    UlsteEditorPtr editor(_ULStECreateInstance(resource.get()));
    resource.reset();
    if (!editor) return kNotAvailable;
    uint8_t signature = 0;
    _ULStEGetSignature(editor.get(), element, &signature);
    return GetQeSignatureText(signature);
}

std::string GetQeSoundName(uint32_t address, int soundSet, const CQeSoundTables& tables)
{
    if (address == 0 || (soundSet != 0 && soundSet != 1)) return kNotAvailable;
    const uint8_t msb = uint8_t(address >> 24);
    const uint8_t lsb = uint8_t(address >> 16);
    const uint8_t program = uint8_t(address);
    if (msb != 121 && msb != 120) return kNotAvailable;
    if (const UserBank* bank = userBank(soundSet, msb, lsb)) {
        if (program >= bank->programs) return kNotAvailable;
        char text[32];
        std::snprintf(text, sizeof text, bank->format, int(program));
        return text;
    }
    const CQeSoundTables::Row* row = tables.Find(soundSet, msb, lsb, program);
    return row ? row->name : kNotAvailable;
}

int ValidateQeSoundAddress(uint8_t& msb, uint8_t& lsb, uint8_t& program, const CQeSoundTables& tables)
{
    if (msb != 121 && msb != 120) {
        msb = 121;
        lsb = 0;
        program = 0;
        return 1;
    }
    const bool userLsb = msb == 121 ? (lsb == 64 || lsb == 65) : lsb == 64;
    if (userLsb ? program < 64 : tables.Find(0, msb, lsb, program) != nullptr) return 0;
    const bool keepProgram = !userLsb && tables.Find(0, msb, 0, program) != nullptr;
    lsb = 0;
    if (!keepProgram) program = 0;
    return 1;
}

int UnpackQe7Bit(std::span<const uint8_t> source, std::span<uint8_t> destination)
{
    if (source.empty() || destination.empty()) return 0;
    const size_t m = std::min<size_t>(std::min<size_t>(source.size(), 8) - 1, destination.size());
    for (size_t i = 0; i < m; ++i)
        destination[i] = uint8_t((((source[0] >> i) & 1) << 7) + source[i + 1]);
    return int(m);
}

} // namespace zib
