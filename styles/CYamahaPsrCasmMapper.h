#pragma once

#include "styles/CConversionLog.h"
#include "styles/CYamahaCasmParser.h"

#include <array>
#include <cstdint>

namespace zib {

// Reads the CASM block into a table of Ctab records by section and source
// channel and answers the PSR converter's questions about it. Each Ctab
// applies to the sections named by the Sdec of its CSEG. What it finds goes
// to the log when one is set.
class CYamahaPsrCasmMapper : public CYamahaCasmParser {
public:
    // Error codes added to the parser's (texts in CYamahaPsrCasmMapper.cpp)
    enum MapperError : int {
        kNotParsed = 101,
        kBadDestChannel = 102,
    };

    static constexpr uint8_t kNone = 255;

    CYamahaPsrCasmMapper();
    ~CYamahaPsrCasmMapper() override;

    int ReportError(char* buffer, size_t size, int code) override;
    void SetLog(CConversionLog* log) { m_log = log; }

    // Parsing a block from its "CASM" head; the table is emptied first
    int Parse(const uint8_t* data, size_t size);
    bool IsParsed() const { return m_parsed; }

    // Lookups by section 0-15 and source channel. 101 before a successful
    // parse; otherwise 0 with `out` = kNone when the section has no record
    // for the channel.
    int GetDestChannel(int section, uint8_t channel, uint8_t& out) const;      // 8-15, else kNone
    int GetSourceRoot(int section, uint8_t channel, uint8_t& out) const;       // 12 or more reads as 0
    int GetSourceChordType(int section, uint8_t channel, uint8_t& out) const;  // 34 or more reads as 0
    // The five chord-mute bytes (all kNone when there is no record)
    int GetChordMute(int section, uint8_t channel, std::array<uint8_t, 5>& out) const;

protected:
    int OnUnknownChunk() override;
    int OnCasm() override;
    int OnCseg() override;
    int OnSdec() override;
    int OnCtab() override;

private:
    const CtabRecord* Find(int section, uint8_t channel) const;

    bool m_parsed = false;
    CConversionLog* m_log = nullptr;
    // 16 sections x 16 source channels; all bytes 0xFF until filled
    std::array<std::array<CtabRecord, 16>, kSectionCount> m_table;
};

} // namespace zib
