#include "midi/CMidiFile.h"

#include "midi/MidiErrorText.h"
#include "midi/MidiVarLen.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zib {

namespace {

constexpr MidiErrorText kMidiFileErrorTexts[] = {
    {0, "Success"},
    {1, "Not expected chunk ID"},
    {2, "Bad read/write flag"},
    {3, "Bad MThd chunk"},
    {4, "Bad MTrk chunk"},
    {5, "Bad I/O flag"},
    {6, "Bad read/write number of bytes"},
    {7, "File open failed"},
    {8, "Reading past end of file"},
    {9, "Seek past end of file"},
    {10, "Seek pre begining of file"},
    {11, "Bad number for read/write operation"},
    {12, "Seek operation failed"},
    {13, "Missing MThd chunk"},
    {14, "Unexpected chunk header"},
    {15, "Invalid event data"},
    {16, "Invalid event code"},
    {17, "Bad meta event len"},
    {18, "MIDI Format not supported"},
    {19, "Invalid number of tracks"},
    {20, "Invalid tact denominator"},
    {21, "MIDI data corrupted"},
    {22, "Bad ftell() operation"},
    {23, "Bad event delta time"},
    {24, "Event data too long"},
};

// Largest file image handled (the size fields are 32 bits wide).
constexpr uint32_t kMaxImageSize = std::numeric_limits<uint32_t>::max();

// Data length of the fixed-length meta types; 0 for the others.
uint32_t fixedMetaLength(uint8_t type)
{
    switch (type) {
    case 0x00:
        return 2;
    case 0x20:
        return 1;
    case 0x21:
        return 1;
    case 0x51:
        return 3;
    case 0x54:
        return 5;
    case 0x58:
        return 4;
    case 0x59:
        return 2;
    default:
        return 0;
    }
}

bool isTextMeta(uint8_t type)
{
    return (type >= 0x01 && type <= 0x09) || type == 0x7F;
}

// Power of two of a note-value denominator (2 ... 128), or -1.
int denominatorPower(uint8_t noteValue)
{
    for (int p = 1; p <= 7; ++p)
        if (noteValue == (1 << p)) return p;
    return -1;
}

} // namespace

CMidiFile::CMidiFile() = default;

CMidiFile::~CMidiFile() = default;

int CMidiFile::ReportError(char* buffer, size_t size, int code)
{
    const char* text = FindMidiErrorText(kMidiFileErrorTexts, code);
    return text ? FormatMidiError(buffer, size, "CMidiFile", code, text) : 0;
}

void CMidiFile::SetHeader(uint16_t format, uint16_t tracks, uint16_t division)
{
    m_format = format;
    m_tracks = tracks;
    m_division = division;
}

// ---- Reading ---------------------------------------------------------------

int CMidiFile::ParseMemory(const uint8_t* image, uint32_t size)
{
    m_mode = IoMode::Memory;
    m_image = image;
    m_imageSize = image ? size : 0;
    m_flags &= uint16_t(~kWriteMode);
    return Parse();
}

int CMidiFile::ParseFile(const std::filesystem::path& path)
{
    m_mode = IoMode::File;
    m_fileName = path;
    m_flags &= uint16_t(~kWriteMode);
    return Parse();
}

int CMidiFile::Parse()
{
    if (m_flags & kWriteMode) return kBadReadWriteFlag;
    m_trackIndex = -1;
    m_rawRequest = false;
    m_runningStatus = 0;
    m_trackTime = 0;
    m_chunkId = 0;
    ClearEventBuffer();

    int rc = OpenSource();
    if (rc == kSuccess) rc = RunChunks();

    // The named file's image lives only while it is parsed.
    if (m_mode == IoMode::File) m_fileImage = FileBytes{};
    m_in = ByteCursor();
    m_chunkEnd = m_eventStart = m_eventEnd = 0;
    return rc;
}

int CMidiFile::OpenSource()
{
    switch (m_mode) {
    case IoMode::File:
        switch (readWholeFile(m_fileName, m_fileImage, kMaxImageSize)) {
        case FileIoError::None:
            break;
        case FileIoError::OpenFailed:
            return kFileOpenFailed;
        default:
            return kBadByteCount;
        }
        m_in = ByteCursor(m_fileImage.data.get(), m_fileImage.size);
        return kSuccess;
    case IoMode::Memory:
        m_in = ByteCursor(m_image, m_imageSize);
        return kSuccess;
    default:
        return kBadIoFlag;
    }
}

// Chunk loop: "MThd" first, then track chunks and any other chunks until the
// source is used up.
int CMidiFile::RunChunks()
{
    uint32_t length = 0;
    // Whatever does not begin with "MThd" is no MIDI file; a header that
    // begins so but is cut short or of another length is a damaged one.
    if (ByteCursor ahead = m_in; ahead.has(4) && ahead.u32be() != kChunkMThd) return kMissingMThd;
    int rc = ReadChunkHeader(length);
    if (rc) return rc;
    if (length != 6) return kBadMThdChunk;
    uint16_t format = 0, tracks = 0, division = 0;
    if ((rc = ReadU16(format)) || (rc = ReadU16(tracks)) || (rc = ReadU16(division))) return rc;
    m_format = format;
    m_tracks = tracks;
    m_division = division;
    if ((rc = BeforeHeader())) return rc;
    if ((rc = OnHeader())) return rc;
    m_in.seek(m_chunkEnd);

    while (m_in.remaining() > 0) {
        if ((rc = ReadChunkHeader(length))) return rc;
        if (m_chunkId == kChunkMThd) return kUnexpectedChunkHeader;
        if (m_chunkId == kChunkMTrk) {
            ++m_trackIndex;
            m_trackTime = 0;
            m_runningStatus = 0;
            if ((rc = BeforeTrack())) return rc;
            if ((rc = OnTrackStart())) return rc;
            if (m_rawRequest) {
                m_rawRequest = false;
                if (m_rawSize != length || (m_rawTarget == nullptr && length != 0)) return kBadMTrkChunk;
                if ((rc = ReadBytes(m_rawTarget, length))) return rc;
            } else if ((rc = DecodeTrack())) {
                return rc;
            }
        } else if ((rc = OnUnknownChunk())) {
            return rc;
        }
        m_in.seek(m_chunkEnd);
    }
    return kSuccess;
}

// A chunk's ID and length. A chunk header cut short by the end of the
// source, or a length that runs past it, is reported by what the chunk was
// to be: the file header, a track, or bytes that are no chunk at all (the
// first chunk's own failures before its ID is known stay past-the-end reads).
int CMidiFile::ReadChunkHeader(uint32_t& length)
{
    m_chunkEnd = m_in.size();
    m_eventStart = m_eventEnd = m_in.pos();
    const bool first = m_trackIndex < 0 && m_chunkId == 0;
    uint32_t id = 0;
    int rc = ReadU32(id);
    if (rc) return first ? rc : int(kNotExpectedChunkId);
    m_chunkId = id;
    if (ReadU32(length) != kSuccess || length > m_in.remaining()) {
        switch (id) {
        case kChunkMThd:
            return first ? kBadMThdChunk : kUnexpectedChunkHeader;
        case kChunkMTrk:
            return kBadMTrkChunk;
        default:
            return kNotExpectedChunkId;
        }
    }
    m_chunkEnd = m_in.pos() + length;
    m_eventStart = m_eventEnd = m_in.pos();
    return kSuccess;
}

int CMidiFile::DecodeTrack()
{
    while (m_in.pos() < m_chunkEnd) {
        const int rc = DecodeEvent();
        if (rc) return rc;
    }
    return kSuccess;
}

// One event: delta, status (or running status), data; then its callback.
int CMidiFile::DecodeEvent()
{
    m_eventStart = m_eventEnd = m_in.pos();
    uint32_t delta = 0;
    int rc = ReadVarLen(delta);
    if (rc) return rc;
    m_eventTime = (m_flags & kDeltaTimes) ? delta : m_trackTime;
    std::memset(m_eventData, 0, sizeof m_eventData);
    m_eventTempo = 0;
    m_eventStart = m_eventEnd = m_in.pos();
    if (m_in.pos() >= m_chunkEnd) return kBadMTrkChunk;

    const uint8_t first = m_in.peek();
    if (first == 0xF0 || first == 0xF7) {
        m_in.skip(1);
        if (first == 0xF0) m_flags |= kInSysEx;
        uint32_t length = 0;
        if ((rc = ReadLength(length))) return rc;
        if (length > m_chunkEnd - m_in.pos()) return kBadMTrkChunk;
        m_eventEnd = m_in.pos() + length;
        m_status = first;
        if ((rc = BeforeEvent()) || (rc = OnSysEx())) return rc;
        return SkipToEventEnd();
    }
    if (first == 0xFF) {
        m_in.skip(1);
        return DecodeMeta();
    }
    if (first > 0xF0) return kInvalidEventCode;

    // Channel event; a data byte in status position repeats the running status.
    m_flags &= uint16_t(~kInSysEx);
    if (first < 0x80) {
        if (m_runningStatus == 0) return kInvalidEventCode;
        m_status = m_runningStatus;
    } else {
        m_status = first;
        m_in.skip(1);
    }
    // Data bytes are taken as they are, even with bit 7 set: files in the wild
    // carry such values (a controller value 0xEE) and stay readable; whoever
    // looks a data byte up in a table bounds it.
    if ((rc = ReadByte(m_eventData[0]))) return rc;
    if ((m_status & 0xE0) == 0xC0) {
        m_eventData[1] = 0xFF;
    } else {
        if ((rc = ReadByte(m_eventData[1]))) return rc;
    }
    m_eventEnd = m_in.pos();
    if ((rc = BeforeEvent()) || (rc = OnChannelEvent())) return rc;
    m_runningStatus = m_status;
    return SkipToEventEnd();
}

int CMidiFile::DecodeMeta()
{
    uint8_t type = 0;
    uint32_t length = 0;
    int rc = ReadByte(type);
    if (rc == kSuccess) rc = ReadLength(length);
    if (rc) return rc;
    if (length > m_chunkEnd - m_in.pos()) return kBadMTrkChunk;
    m_eventEnd = m_in.pos() + length;
    m_status = type;

    if (const uint32_t fixed = fixedMetaLength(type)) {
        if (length != fixed) return kBadMetaEventLen;
        m_eventData[0] = uint8_t(length);
        if ((rc = ReadBytes(m_eventData + 1, length))) return rc;
        int (CMidiFile::*slot)() = nullptr;
        switch (type) {
        case 0x00:
            slot = &CMidiFile::OnMetaSeqNum;
            break;
        case 0x20:
            slot = &CMidiFile::OnMetaChan;
            break;
        case 0x21:
            slot = &CMidiFile::OnMetaPort;
            break;
        case 0x54:
            slot = &CMidiFile::OnMetaSMPTE;
            break;
        case 0x59:
            slot = &CMidiFile::OnMetaKeySig;
            break;
        case 0x51: {
            m_eventTempo =
                (uint32_t(m_eventData[1]) << 16) | (uint32_t(m_eventData[2]) << 8) | m_eventData[3];
            if (m_eventTempo == 0) return kInvalidEventData;
            m_eventData[5] = uint8_t(60000000u / m_eventTempo);
            slot = &CMidiFile::OnMetaTempo;
            break;
        }
        case 0x58: {
            if (m_flags & kDenominatorAsNote) {
                if (m_eventData[2] < 1 || m_eventData[2] > 7) return kInvalidDenominator;
                m_eventData[2] = uint8_t(1u << m_eventData[2]);
            }
            if ((rc = BeforeTimeSignature())) return rc;
            slot = &CMidiFile::OnMetaTime;
            break;
        }
        }
        if ((rc = BeforeEvent()) || (rc = (this->*slot)())) return rc;
        return SkipToEventEnd();
    }
    if (isTextMeta(type)) {
        if ((rc = BeforeEvent()) || (rc = OnMetaText())) return rc;
        return SkipToEventEnd();
    }
    if (type == 0x2F) {
        m_status = 0xFF;
        if ((rc = BeforeEvent()) || (rc = OnMetaEndOfTrack())) return rc;
        return SkipToEventEnd();
    }
    // Other meta types are skipped.
    return SkipToEventEnd();
}

int CMidiFile::SkipToEventEnd()
{
    if (m_in.pos() < m_eventEnd && !m_in.seek(m_eventEnd)) return kSeekFailed;
    return kSuccess;
}

// A variable-length number inside the current chunk, not added to the time.
int CMidiFile::ReadLength(uint32_t& value)
{
    // The common case, all four bytes a number may take inside the chunk
    if (!(m_flags & kWriteMode) && m_in.pos() + 4 <= m_chunkEnd && m_in.has(4)) {
        const uint8_t* p = m_in.here();
        value = 0;
        size_t n = 0;
        while (n < 4) {
            value = (value << 7) | (p[n] & 0x7F);
            if (!(p[n++] & 0x80)) break;
        }
        m_in.skip(n);
        return kSuccess;
    }
    value = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t b = 0;
        const int rc = ReadByte(b);
        if (rc) return rc;
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) break;
    }
    return kSuccess;
}

int CMidiFile::ReadBytes(uint8_t* buffer, uint32_t n)
{
    if (m_flags & kWriteMode) return kBadReadWriteFlag;
    if (m_mode != IoMode::File && m_mode != IoMode::Memory) return kBadIoFlag;
    if (n > m_in.remaining()) return kReadPastEnd;
    if (m_in.pos() + n > m_chunkEnd) return kBadMTrkChunk;
    if (n == 0) return kSuccess;
    if (buffer == nullptr) return kBadNumber;
    const auto bytes = m_in.bytes(n);
    std::memcpy(buffer, bytes.data(), n);
    return kSuccess;
}

int CMidiFile::Skip(int64_t n)
{
    if (m_flags & kWriteMode) return kBadReadWriteFlag;
    if (m_mode != IoMode::File && m_mode != IoMode::Memory) return kBadIoFlag;
    if (n < 0) {
        if (uint64_t(-n) > m_in.pos()) return kSeekBeforeBegin;
        m_in.seek(m_in.pos() - size_t(-n));
        return kSuccess;
    }
    if (uint64_t(n) > m_in.remaining()) return kSeekPastEnd;
    if (m_in.pos() + size_t(n) > m_chunkEnd) return kBadMTrkChunk;
    m_in.skip(size_t(n));
    return kSuccess;
}

int CMidiFile::ReadU32(uint32_t& value)
{
    uint8_t b[4];
    const int rc = ReadBytes(b, 4);
    value = rc ? 0 : (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    return rc;
}

int CMidiFile::ReadU16(uint16_t& value)
{
    uint8_t b[2];
    const int rc = ReadBytes(b, 2);
    value = rc ? 0 : uint16_t((b[0] << 8) | b[1]);
    return rc;
}

int CMidiFile::ReadTempo(uint32_t& value)
{
    uint8_t b[3];
    const int rc = ReadBytes(b, 3);
    value = rc ? 0 : (uint32_t(b[0]) << 16) | (uint32_t(b[1]) << 8) | b[2];
    return rc;
}

// A delta: at most 4 bytes, the fourth ends it whatever its top bit.
int CMidiFile::ReadVarLen(uint32_t& value)
{
    const int rc = ReadLength(value);
    if (rc) return rc;
    // A track time past 2^32 cannot be told from an early one: the file is corrupted.
    if (value > std::numeric_limits<uint32_t>::max() - m_trackTime) return kDataCorrupted;
    m_trackTime += value;
    return kSuccess;
}

uint32_t CMidiFile::GetBytesLeft() const
{
    return uint32_t(m_in.remaining());
}

uint32_t CMidiFile::GetChunkBytes() const
{
    return m_in.pos() < m_chunkEnd ? uint32_t(m_chunkEnd - m_in.pos()) : 0;
}

uint32_t CMidiFile::GetEventBytes() const
{
    return m_in.pos() < m_eventEnd ? uint32_t(m_eventEnd - m_in.pos()) : 0;
}

std::span<const uint8_t> CMidiFile::GetEventRawBytes() const
{
    if (m_in.data() == nullptr || m_eventEnd < m_eventStart || m_eventEnd > m_in.size()) return {};
    return std::span<const uint8_t>(m_in.data() + m_eventStart, m_eventEnd - m_eventStart);
}

void CMidiFile::RequestRawRead(uint8_t* target, uint32_t size)
{
    m_rawRequest = true;
    m_rawTarget = target;
    m_rawSource = nullptr;
    m_rawSize = size;
}

void CMidiFile::RequestRawWrite(const uint8_t* source, uint32_t size)
{
    m_rawRequest = true;
    m_rawSource = source;
    m_rawTarget = nullptr;
    m_rawSize = size;
}

// ---- Writing ---------------------------------------------------------------

int CMidiFile::WriteToFile(const std::filesystem::path& path)
{
    m_flags |= kWriteMode;
    m_mode = IoMode::File;
    m_fileName = path;
    ByteWriter out{size_t(std::numeric_limits<int32_t>::max())};
    int rc = WriteAll(out);
    if (rc == kSuccess) {
        switch (writeFileAtomically(path, out.bytes())) {
        case FileIoError::None:
            break;
        case FileIoError::OpenFailed:
            rc = kFileOpenFailed;
            break;
        default:
            rc = kBadByteCount;
            break;
        }
    }
    return rc;
}

int CMidiFile::WriteToMemory(uint8_t* buffer, uint32_t capacity)
{
    m_flags |= kWriteMode;
    m_mode = IoMode::Memory;
    ByteWriter out(buffer ? capacity : 0);
    const int rc = WriteAll(out);
    if (rc == kSuccess && out.size()) std::memcpy(buffer, out.data(), out.size());
    return rc;
}

void CMidiFile::ClearEventBuffer()
{
    m_eventTime = 0;
    m_status = 0;
    std::memset(m_eventData, 0, sizeof m_eventData);
    m_eventTempo = 0;
    m_eventPayload = {};
}

int CMidiFile::WriteAll(ByteWriter& out)
{
    m_out = &out;
    m_bytesWritten = 0;
    m_trackIndex = -1;
    m_pendingDelta = 0;
    struct Release {
        CMidiFile* self;
        ~Release() { self->m_out = nullptr; }
    } release{this};

    if (!(m_flags & kWriteMode)) return kBadReadWriteFlag;
    if (m_mode != IoMode::File && m_mode != IoMode::Memory) return kBadIoFlag;
    int rc = OnHeader();
    if (rc) return rc;
    if (m_format > 1) return kFormatNotSupported;
    if (m_tracks == 0) return kInvalidTrackCount;

    out.u32be(kChunkMThd);
    out.u32be(6);
    out.u16be(m_format);
    out.u16be(m_tracks);
    out.u16be(m_division);
    if (out.failed()) return kBadByteCount;

    for (int t = 0; t < m_tracks; ++t)
        if ((rc = WriteTrack(out))) return rc;
    m_bytesWritten = uint32_t(out.size());
    return kSuccess;
}

int CMidiFile::WriteTrack(ByteWriter& out)
{
    ++m_trackIndex;
    m_trackTime = 0;
    m_runningStatus = 0xFF;
    m_status = 0xFF;
    m_pendingDelta = 0;
    const size_t mark = out.size();
    out.u32be(kChunkMTrk);
    out.u32be(0);
    if (out.failed()) return kBadByteCount;

    ClearEventBuffer();
    int rc = OnTrackStart();
    if (rc) return rc;
    if (m_rawRequest) {
        m_rawRequest = false;
        if (m_rawSource == nullptr && m_rawSize != 0) return kBadNumber;
        if (m_rawSize && !out.bytes(m_rawSource, m_rawSize)) return kBadByteCount;
        ClearEventBuffer();
        if ((rc = OnChannelEvent())) return rc;
    } else {
        ClearEventBuffer();
        if ((rc = OnMetaSeqNum())) return rc;
        if ((rc = WriteDelta(out))) return rc;
        const uint8_t seq[] = {0xFF, 0x00, 0x02, m_eventData[1], m_eventData[2]};
        out.bytes(seq, sizeof seq);
        m_runningStatus = 0xFF;
        bool ended = false;
        while (!ended) {
            if (out.failed()) return kBadByteCount;
            ClearEventBuffer();
            if ((rc = OnChannelEvent())) return rc;
            if ((rc = WriteEvent(out, ended))) return rc;
        }
    }
    if (out.failed()) return kBadByteCount;
    const size_t chunkBytes = out.size() - mark - 8;
    if (chunkBytes > std::numeric_limits<uint32_t>::max()) return kBadByteCount;
    out.patchU32be(mark + 4, uint32_t(chunkBytes));
    m_bytesWritten = uint32_t(out.size());
    return out.failed() ? kBadByteCount : kSuccess;
}

int CMidiFile::WriteDelta(ByteWriter& out)
{
    uint64_t delta;
    if (m_flags & kDeltaTimes) {
        delta = uint64_t(m_eventTime) + m_pendingDelta;
        if (delta >= kMidiVarLenLimit || delta > std::numeric_limits<uint32_t>::max() - m_trackTime)
            return kBadDeltaTime;
        m_trackTime += uint32_t(delta);
    } else {
        if (m_eventTime < m_trackTime) return kBadDeltaTime;
        delta = m_eventTime - m_trackTime;
        if (delta >= kMidiVarLenLimit) return kBadDeltaTime;
        m_trackTime = m_eventTime;
    }
    m_pendingDelta = 0;
    out.varLen(uint32_t(delta));
    return out.failed() ? kBadByteCount : kSuccess;
}

// Writes the event in the buffer by its status; `ended` after end of track.
int CMidiFile::WriteEvent(ByteWriter& out, bool& ended)
{
    const uint8_t status = m_status;
    const uint8_t* d = m_eventData;
    if (status < 0x80) return kInvalidEventCode;
    if (status == 0xF4 || status == 0xF5) {
        // Not written at all; a delta of it carries over to the next event
        // (dropping it would move every later event earlier).
        if (m_flags & kDeltaTimes) m_pendingDelta += m_eventTime;
        m_runningStatus = status;
        return kSuccess;
    }

    // Check what cannot be written before any byte goes out.
    const bool sysex = status == 0xF0 || status == 0xF7;
    const bool meta = status == 0xFF;
    const uint8_t type = d[0];
    uint8_t denominator = d[2];
    uint32_t tempo = m_eventTempo;
    if ((sysex || (meta && !fixedMetaLength(type) && type != 0x2F)) &&
        m_eventPayload.size() >= kMidiVarLenLimit)
        return kEventDataTooLong;
    if (meta && type == 0x51) {
        if (m_flags & kTempoInBpm) tempo = tempo ? 60000000u / tempo : 0;
        if (tempo == 0 || tempo > 0xFFFFFF) return kInvalidEventData;
    }
    if (meta && type == 0x58 && (m_flags & kDenominatorAsNote)) {
        const int p = denominatorPower(denominator);
        if (p < 0) return kInvalidDenominator;
        denominator = uint8_t(p);
    }

    int rc = WriteDelta(out);
    if (rc) return rc;
    if (status < 0xF0) {
        // A first data byte with bit 7 set would read back as a status byte:
        // such an event always carries its status.
        if (status != m_runningStatus || (d[0] & 0x80)) out.u8(status);
        out.u8(d[0]);
        if ((status & 0xE0) != 0xC0) out.u8(d[1]);
    } else if (sysex) {
        out.u8(status);
        out.varLen(uint32_t(m_eventPayload.size()));
        out.bytes(m_eventPayload);
    } else if (status == 0xF1 || status == 0xF3) {
        const uint8_t b[] = {0xF7, 0x02, status, d[0]};
        out.bytes(b, sizeof b);
    } else if (status == 0xF2) {
        const uint8_t b[] = {0xF7, 0x03, status, d[0], d[1]};
        out.bytes(b, sizeof b);
    } else if (!meta) {
        const uint8_t b[] = {0xF7, 0x01, status};
        out.bytes(b, sizeof b);
    } else {
        switch (type) {
        case 0x00: {
            const uint8_t b[] = {0xFF, 0x00, 0x02, d[1], d[2]};
            out.bytes(b, sizeof b);
            break;
        }
        case 0x20:
        case 0x21: {
            const uint8_t b[] = {0xFF, type, 0x01, d[1]};
            out.bytes(b, sizeof b);
            break;
        }
        case 0x2F: {
            const uint8_t b[] = {0xFF, 0x2F, 0x00};
            out.bytes(b, sizeof b);
            ended = true;
            break;
        }
        case 0x51: {
            const uint8_t b[] = {0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)};
            out.bytes(b, sizeof b);
            break;
        }
        case 0x54: {
            const uint8_t b[] = {0xFF, 0x54, 0x05, d[1], d[2], d[3], d[4], d[5]};
            out.bytes(b, sizeof b);
            break;
        }
        case 0x58: {
            const uint8_t b[] = {0xFF, 0x58, 0x04, d[1], denominator, d[3], d[4]};
            out.bytes(b, sizeof b);
            break;
        }
        case 0x59: {
            const uint8_t b[] = {0xFF, 0x59, 0x02, d[1], d[2]};
            out.bytes(b, sizeof b);
            break;
        }
        default:
            out.u8(0xFF);
            out.u8(type);
            out.varLen(uint32_t(m_eventPayload.size()));
            out.bytes(m_eventPayload);
            break;
        }
    }
    m_runningStatus = status;
    return out.failed() ? kBadByteCount : kSuccess;
}

// ---- Default callbacks ----------------------------------------------------

int CMidiFile::OnUnknownChunk()
{
    return kSuccess;
}
int CMidiFile::OnTrackStart()
{
    return kSuccess;
}
int CMidiFile::OnHeader()
{
    return kSuccess;
}
int CMidiFile::OnChannelEvent()
{
    return kSuccess;
}
int CMidiFile::OnSysEx()
{
    return kSuccess;
}
int CMidiFile::OnMetaSeqNum()
{
    return kSuccess;
}
int CMidiFile::OnMetaTempo()
{
    return kSuccess;
}
int CMidiFile::OnMetaSMPTE()
{
    return kSuccess;
}
int CMidiFile::OnMetaTime()
{
    return kSuccess;
}
int CMidiFile::OnMetaKeySig()
{
    return kSuccess;
}
int CMidiFile::OnMetaPort()
{
    return kSuccess;
}
int CMidiFile::OnMetaChan()
{
    return kSuccess;
}
int CMidiFile::OnMetaText()
{
    return kSuccess;
}
int CMidiFile::OnMetaEndOfTrack()
{
    return kSuccess;
}
int CMidiFile::BeforeHeader()
{
    return kSuccess;
}
int CMidiFile::BeforeTrack()
{
    return kSuccess;
}
int CMidiFile::BeforeEvent()
{
    return kSuccess;
}
int CMidiFile::BeforeTimeSignature()
{
    return kSuccess;
}

} // namespace zib
