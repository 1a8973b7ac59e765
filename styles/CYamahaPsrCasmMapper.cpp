#include "styles/CYamahaPsrCasmMapper.h"

#include "midi/MidiErrorText.h"

namespace zib {

namespace {

constexpr MidiErrorText kYamahaPsrCasmMapperErrorTexts[] = {
    {101, "CASM chunk not parsed successfully"},
    {102, "Bad track destination channel"},
};

} // namespace

CYamahaPsrCasmMapper::CYamahaPsrCasmMapper()
{
    for (auto& section : m_table)
        for (auto& record : section) record.fill(0xFF);
}

CYamahaPsrCasmMapper::~CYamahaPsrCasmMapper() = default;

int CYamahaPsrCasmMapper::ReportError(char* buffer, size_t size, int code)
{
    if (const int n = CYamahaCasmParser::ReportError(buffer, size, code)) return n;
    const char* text = FindMidiErrorText(kYamahaPsrCasmMapperErrorTexts, code);
    return text ? FormatMidiError(buffer, size, "CYamahaPsrCasmMapper", code, text) : 0;
}

int CYamahaPsrCasmMapper::Parse(const uint8_t* data, size_t size)
{
    m_parsed = false;
    for (auto& section : m_table)
        for (auto& record : section) record.fill(0xFF);
    const int rc = ParseMemory(data, size);
    if (rc) return rc;
    m_parsed = true;
    if (m_log) {
        m_log->Printf("Found valid sections: ");
        for (int s = 0; s < kSectionCount; ++s)
            if (IsSectionInBlock(s)) m_log->Printf("%s, ", SectionName(s));
        m_log->Printf("\n");
    }
    return kSuccess;
}

// ---- Lookups ---------------------------------------------------------------

const CYamahaCasmParser::CtabRecord* CYamahaPsrCasmMapper::Find(int section, uint8_t channel) const
{
    // Empty slots hold 0xFF, so only a real channel can match.
    if (section < 0 || section >= kSectionCount || channel >= 16) return nullptr;
    for (const auto& record : m_table[size_t(section)])
        if (record[kCtabSourceChannel] == channel) return &record;
    return nullptr;
}

int CYamahaPsrCasmMapper::GetDestChannel(int section, uint8_t channel, uint8_t& out) const
{
    if (!m_parsed) return kNotParsed;
    const CtabRecord* record = Find(section, channel);
    const uint8_t dest = record ? (*record)[kCtabDestChannel] : kNone;
    out = dest >= 8 && dest <= 15 ? dest : kNone;
    return kSuccess;
}

int CYamahaPsrCasmMapper::GetSourceRoot(int section, uint8_t channel, uint8_t& out) const
{
    if (!m_parsed) return kNotParsed;
    const CtabRecord* record = Find(section, channel);
    out = !record ? kNone : (*record)[kCtabSourceRoot] >= 12 ? 0 : (*record)[kCtabSourceRoot];
    return kSuccess;
}

int CYamahaPsrCasmMapper::GetSourceChordType(int section, uint8_t channel, uint8_t& out) const
{
    if (!m_parsed) return kNotParsed;
    const CtabRecord* record = Find(section, channel);
    out = !record ? kNone : (*record)[kCtabSourceChordType] >= 34 ? 0 : (*record)[kCtabSourceChordType];
    return kSuccess;
}

int CYamahaPsrCasmMapper::GetChordMute(int section, uint8_t channel, std::array<uint8_t, 5>& out) const
{
    if (!m_parsed) return kNotParsed;
    const CtabRecord* record = Find(section, channel);
    for (size_t i = 0; i < out.size(); ++i) out[i] = record ? (*record)[kCtabChordMute + i] : kNone;
    return kSuccess;
}

// ---- Callbacks -------------------------------------------------------------

int CYamahaPsrCasmMapper::OnCasm()
{
    if (m_log) m_log->Printf("Found CASM chunk\n");
    return kSuccess;
}

int CYamahaPsrCasmMapper::OnCseg()
{
    if (m_log) m_log->Printf("Found CSEG chunk\n");
    return kSuccess;
}

int CYamahaPsrCasmMapper::OnSdec()
{
    if (!m_log) return kSuccess;
    m_log->Printf("Found Sdec chunk\n");
    m_log->Printf("\tValid style section names for this CSEG: ");
    for (int s = 0; s < kSectionCount; ++s)
        if (IsSectionInSdec(s)) m_log->Printf("%s, ", SectionName(s));
    m_log->Printf("\n");
    return kSuccess;
}

// A record is stored for every section of the current Sdec; a source
// channel of 16 or more has no slot and is only logged.
int CYamahaPsrCasmMapper::OnCtab()
{
    const CtabRecord& record = GetCtab();
    if (m_log) {
        m_log->Printf("Found Ctab chunk\n");
        m_log->Printf("\tSourceChan: %02d, DestChan: %02d\n", record[kCtabSourceChannel] + 1,
                      record[kCtabDestChannel] + 1);
    }
    const uint8_t channel = record[kCtabSourceChannel];
    if (channel >= 16) return kSuccess;
    for (int s = 0; s < kSectionCount; ++s)
        if (IsSectionInSdec(s)) m_table[size_t(s)][channel] = record;
    return kSuccess;
}

int CYamahaPsrCasmMapper::OnUnknownChunk()
{
    if (!m_log) return kSuccess;
    const uint32_t id = GetChunkId();
    m_log->Printf("Found Unknown chunk (%c%c%c%c). Size: %d\n", char(id >> 24), char(id >> 16), char(id >> 8), char(id),
                  int(GetChunkBytesLeft()));
    return kSuccess;
}

} // namespace zib
