#include "styles/CYamahaCasmParser.h"

#include "midi/MidiErrorText.h"
#include "platform/FileIo.h"

#include <algorithm>

namespace zib {

namespace {

// Only codes 0-21 have a text; any other code is reported without one.
constexpr MidiErrorText kYamahaCasmParserErrorTexts[] = {
    {0, "Success"},
    {1, "Not expected chunk ID"},
    {2, "Bad read/write flag"},
    {3, "Bad CASM chunk"},
    {4, "Bad CSEG chunk"},
    {5, "Bad Sdec chunk"},
    {6, "Bad Ctab chunk"},
    {7, "Bad I/O flag"},
    {8, "Bad read/write number of bytes"},
    {9, "File open failed"},
    {10, "Reading past end of file"},
    {11, "Seek past end of file"},
    {12, "Seek pre begining of file"},
    {13, "Bad number for read/write operation"},
    {14, "Seek operation failed"},
    {15, "Missing CASM chunk"},
    {16, "Unexpected chunk header"},
    {17, "Data corrupted"},
    {18, "Bad ftell() operation"},
    {19, "Found wrong section name"},
    {20, "Unexpected Ctab chunk size"},
    {21, "Unexpected chunk size"},
};

constexpr const char* kSectionNames[CYamahaCasmParser::kSectionCount] = {
    "Main A",  "Fill In AA", "Fill In AB", "Intro A", "Ending A", "Main B",  "Fill In BA", "Fill In BB",
    "Intro B", "Ending B",   "Main C",     "Fill In CC", "Intro C", "Ending C", "Main D",    "Fill In DD",
};

// Largest CASM block read from a file (real blocks hold a few kilobytes).
constexpr uintmax_t kMaxFileSize = uintmax_t(64) << 20;

} // namespace

CYamahaCasmParser::CYamahaCasmParser() = default;

CYamahaCasmParser::~CYamahaCasmParser() = default;

int CYamahaCasmParser::ReportError(char* buffer, size_t size, int code)
{
    const char* text = FindMidiErrorText(kYamahaCasmParserErrorTexts, code);
    return text ? FormatMidiError(buffer, size, "CYamahaCasmParser", code, text) : 0;
}

const char* CYamahaCasmParser::SectionName(int section)
{
    return section >= 0 && section < kSectionCount ? kSectionNames[section] : nullptr;
}

int CYamahaCasmParser::FindSection(std::string_view name)
{
    for (int s = 0; s < kSectionCount; ++s)
        if (name == kSectionNames[s]) return s;
    return -1;
}

bool CYamahaCasmParser::IsSectionInSdec(int section) const
{
    return section >= 0 && section < kSectionCount && m_sdecFlags[size_t(section)];
}

bool CYamahaCasmParser::IsSectionInBlock(int section) const
{
    return section >= 0 && section < kSectionCount && m_blockFlags[size_t(section)];
}

uint32_t CYamahaCasmParser::GetChunkBytesLeft() const
{
    return m_in.pos() < m_chunkEnd ? uint32_t(m_chunkEnd - m_in.pos()) : 0;
}

// ---- Walking ---------------------------------------------------------------

int CYamahaCasmParser::ParseMemory(const uint8_t* data, size_t size)
{
    m_mode = IoMode::Memory;
    m_in = ByteCursor(data, data ? size : 0);
    const int rc = Walk();
    m_in = ByteCursor();
    return rc;
}

int CYamahaCasmParser::ParseFile(const std::filesystem::path& path)
{
    m_mode = IoMode::File;
    switch (readWholeFile(path, m_fileImage, kMaxFileSize)) {
    case FileIoError::None:
        break;
    case FileIoError::OpenFailed:
        return kFileOpenFailed;
    default:
        std::vector<uint8_t>().swap(m_fileImage);
        return kBadFtell;
    }
    m_in = ByteCursor(m_fileImage.data(), m_fileImage.size());
    const int rc = Walk();
    m_in = ByteCursor();
    std::vector<uint8_t>().swap(m_fileImage);
    return rc;
}

// A chunk head inside the level that ends at `levelEnd`; the chunk must fit
// in what is left of that level.
int CYamahaCasmParser::ReadHead(size_t levelEnd, uint32_t& id, size_t& chunkEnd)
{
    if (levelEnd > m_in.size() || levelEnd < m_in.pos() || levelEnd - m_in.pos() < 8) return kReadPastEnd;
    id = m_in.u32be();
    const uint32_t size = m_in.u32be();
    if (size > levelEnd - m_in.pos()) return kBadChunkSize;
    m_chunkId = id;
    m_chunkEnd = m_in.pos() + size;
    chunkEnd = m_chunkEnd;
    return kSuccess;
}

int CYamahaCasmParser::SkipTo(size_t chunkEnd)
{
    if (chunkEnd > m_in.size()) return kSeekPastEnd;
    if (chunkEnd < m_in.pos()) return kSeekBeforeBegin;
    return m_in.seek(chunkEnd) ? kSuccess : kSeekFailed;
}

// The Sdec text: comma-separated section names, each one of the 16 exactly
// (the text ends at its first zero byte, if any).
int CYamahaCasmParser::ReadSdec(size_t chunkEnd)
{
    const auto bytes = m_in.bytes(chunkEnd - m_in.pos());
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    text = text.substr(0, text.find('\0'));
    m_sdecFlags.fill(false);
    for (;;) {
        const size_t comma = text.find(',');
        const int section = FindSection(text.substr(0, comma));
        if (section < 0) return kWrongSectionName;
        m_sdecFlags[size_t(section)] = true;
        m_blockFlags[size_t(section)] = true;
        if (comma == std::string_view::npos) return kSuccess;
        text.remove_prefix(comma + 1);
    }
}

int CYamahaCasmParser::Walk()
{
    m_sdecFlags.fill(false);
    m_blockFlags.fill(false);
    m_ctab.fill(0);

    uint32_t id = 0;
    size_t casmEnd = 0;
    int rc = ReadHead(m_in.size(), id, casmEnd);
    if (rc) return rc;
    if (id != kChunkCasm) return kMissingCasm;
    m_level = Level::Casm;
    if ((rc = OnCasm())) return rc;

    while (m_in.pos() < casmEnd) {
        size_t csegEnd = 0;
        if ((rc = ReadHead(casmEnd, id, csegEnd))) return rc;
        if (id == kChunkCasm) return kUnexpectedChunkHeader;
        if (id != kChunkCseg) {
            m_level = Level::Skipped;
            if ((rc = OnUnknownChunk()) || (rc = SkipTo(csegEnd))) return rc;
            continue;
        }
        m_level = Level::Cseg;
        if ((rc = OnCseg())) return rc;

        // The first chunk of a CSEG names its sections.
        size_t chunkEnd = 0;
        if ((rc = ReadHead(csegEnd, id, chunkEnd))) return rc;
        if (id != kChunkSdec) return kUnexpectedChunkHeader;
        if ((rc = ReadSdec(chunkEnd))) return rc;
        m_level = Level::Sdec;
        if ((rc = OnSdec()) || (rc = SkipTo(chunkEnd))) return rc;

        while (m_in.pos() < csegEnd) {
            if ((rc = ReadHead(csegEnd, id, chunkEnd))) return rc;
            if (id == kChunkCtab) {
                if (chunkEnd - m_in.pos() < kCtabSize) return kBadCtabSize;
                const auto record = m_in.bytes(kCtabSize);
                std::copy(record.begin(), record.end(), m_ctab.begin());
                m_level = Level::Ctab;
                if ((rc = OnCtab())) return rc;
            } else {
                m_level = Level::Skipped;
                if ((rc = OnUnknownChunk())) return rc;
            }
            if ((rc = SkipTo(chunkEnd))) return rc;
        }
    }
    return kSuccess;
}

// ---- Callbacks -------------------------------------------------------------

int CYamahaCasmParser::OnUnknownChunk() { return kSuccess; }
int CYamahaCasmParser::OnCasm() { return kSuccess; }
int CYamahaCasmParser::OnCseg() { return kSuccess; }
int CYamahaCasmParser::OnSdec() { return kSuccess; }
int CYamahaCasmParser::OnCtab() { return kSuccess; }

} // namespace zib
