#pragma once

#include "platform/ByteCursor.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace zib {

// Walks the CASM block that follows the MIDI part of a Yamaha style file
// and reports each chunk to a virtual callback:
//
//   CASM            the block
//     CSEG          one group of channel settings (any number)
//       Sdec        first: the section names it applies to, "Main A,Fill In AA,..."
//       Ctab        one source channel's record, at least 27 bytes
//       ...         other chunks are skipped
//     ...           other chunks are skipped
//
// Every chunk is a 4-byte id and a big-endian u32 payload size. The bytes of
// a Ctab record that the converter reads:
//   0       source channel 0-15
//   9       destination channel 0-15
//   13-17   chord mute: bit t % 8 of byte 17 - t / 8 set = sounds for PSR chord type t
//   18      source chord root 0-11
//   19      source chord type 0-33
// A callback that returns non-zero stops the walk with that code.
class CYamahaCasmParser {
public:
    // Error codes (texts in CYamahaCasmParser.cpp)
    enum Error : int {
        kSuccess = 0,
        kNotExpectedChunkId = 1,
        kBadReadWriteFlag = 2,
        kBadCasmChunk = 3,
        kBadCsegChunk = 4,
        kBadSdecChunk = 5,
        kBadCtabChunk = 6,
        kBadIoFlag = 7,
        kBadByteCount = 8,
        kFileOpenFailed = 9,
        kReadPastEnd = 10,
        kSeekPastEnd = 11,
        kSeekBeforeBegin = 12,
        kBadNumber = 13,
        kSeekFailed = 14,
        kMissingCasm = 15,
        kUnexpectedChunkHeader = 16,
        kDataCorrupted = 17,
        kBadFtell = 18,
        kWrongSectionName = 19,
        kBadCtabSize = 20,
        kBadChunkSize = 21,
    };

    // Source of the walk
    enum class IoMode : uint8_t { None = 0, File = 1, Memory = 3 };
    // Chunk being reported
    enum class Level : uint8_t { Casm = 0, Cseg = 1, Sdec = 2, Ctab = 3, Skipped = 5 };

    static constexpr uint32_t kChunkCasm = 0x4341534D; // "CASM"
    static constexpr uint32_t kChunkCseg = 0x43534547; // "CSEG"
    static constexpr uint32_t kChunkSdec = 0x53646563; // "Sdec"
    static constexpr uint32_t kChunkCtab = 0x43746162; // "Ctab"

    static constexpr int kSectionCount = 16;
    static constexpr size_t kCtabSize = 27;
    using CtabRecord = std::array<uint8_t, kCtabSize>;
    static constexpr size_t kCtabSourceChannel = 0;
    static constexpr size_t kCtabDestChannel = 9;
    static constexpr size_t kCtabChordMute = 13; // 5 bytes
    static constexpr size_t kCtabSourceRoot = 18;
    static constexpr size_t kCtabSourceChordType = 19;

    CYamahaCasmParser();
    virtual ~CYamahaCasmParser();
    CYamahaCasmParser(const CYamahaCasmParser&) = delete;
    CYamahaCasmParser& operator=(const CYamahaCasmParser&) = delete;

    // "CYamahaCasmParser error: %d - %s" into the buffer (truncated,
    // terminated); its length, 0 for a code without a text
    virtual int ReportError(char* buffer, size_t size, int code);

    // Walking a block that starts with its "CASM" head
    int ParseMemory(const uint8_t* data, size_t size);
    int ParseFile(const std::filesystem::path& path);

    // Section names "Main A" ... "Fill In DD" by index; nullptr outside 0-15
    static const char* SectionName(int section);
    // Index of a section name (exact text), -1 for none
    static int FindSection(std::string_view name);

protected:
    // Callbacks
    virtual int OnUnknownChunk();
    virtual int OnCasm();
    virtual int OnCseg();
    virtual int OnSdec();
    virtual int OnCtab();

    // What a callback may read
    uint32_t GetChunkId() const { return m_chunkId; }
    uint32_t GetChunkBytesLeft() const; // payload of the current chunk not yet read
    Level GetLevel() const { return m_level; }
    bool IsSectionInSdec(int section) const;  // named by the current Sdec
    bool IsSectionInBlock(int section) const; // named by any Sdec so far
    const CtabRecord& GetCtab() const { return m_ctab; }

private:
    int Walk();
    int ReadHead(size_t levelEnd, uint32_t& id, size_t& chunkEnd);
    int ReadSdec(size_t chunkEnd);
    int SkipTo(size_t chunkEnd);

    // Source
    IoMode m_mode = IoMode::None;
    ByteCursor m_in;
    std::vector<uint8_t> m_fileImage;

    // Current chunk
    Level m_level = Level::Casm;
    uint32_t m_chunkId = 0;
    size_t m_chunkEnd = 0;

    // Sections named by the current Sdec, and by every Sdec of the block
    std::array<bool, kSectionCount> m_sdecFlags{};
    std::array<bool, kSectionCount> m_blockFlags{};
    CtabRecord m_ctab{};
};

} // namespace zib
