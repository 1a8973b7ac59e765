#include "midi/CMidiByteBuffer.h"

#include "midi/MidiVarLen.h"

#include <algorithm>
#include <new>

namespace zib {

namespace {
constexpr uint8_t kMaxStyleTrack = 6; // 0xB9 + 6 = 0xBF, the last controller status
}

CMidiByteBuffer::~CMidiByteBuffer() = default;

bool CMidiByteBuffer::Allocate(uint32_t capacity)
{
    m_length = 0;
    m_overflowed = false;
    lastTime = 0;
    try {
        m_bytes.assign(capacity, 0);
    } catch (const std::bad_alloc&) {
        m_bytes.clear();
        return false;
    }
    return true;
}

void CMidiByteBuffer::Free()
{
    std::vector<uint8_t>().swap(m_bytes);
    m_length = 0;
    m_overflowed = false;
}

void CMidiByteBuffer::SetLength(uint32_t n)
{
    m_length = std::min(n, GetCapacity());
}

int64_t CMidiByteBuffer::Append(const uint8_t* bytes, uint32_t n)
{
    if (n > GetCapacity() - m_length || (bytes == nullptr && n != 0)) {
        m_overflowed = true;
        return -1;
    }
    std::copy(bytes, bytes + n, m_bytes.begin() + m_length);
    m_length += n;
    return m_length;
}

int64_t CMidiByteBuffer::WriteVarLen(uint32_t value)
{
    uint8_t tmp[4];
    const int n = WriteMidiVarLen(value, tmp);
    if (n == 0) {
        m_overflowed = true;
        return -1;
    }
    return Append(tmp, uint32_t(n));
}

int64_t CMidiByteBuffer::WriteBankSelect(uint16_t value, uint8_t t)
{
    if (t > kMaxStyleTrack) return -1;
    const uint8_t status = uint8_t(0xB9 + t);
    const uint8_t bytes[] = {0x00, status, 0x00, uint8_t(value >> 8),
                             0x00, status, 0x20, uint8_t(value & 0xFF)};
    return Append(bytes, sizeof bytes);
}

int64_t CMidiByteBuffer::WritePan(uint8_t value, uint8_t t)
{
    if (t > kMaxStyleTrack) return -1;
    const uint8_t bytes[] = {uint8_t(0xB9 + t), 0x0A, value};
    return Append(bytes, sizeof bytes);
}

int64_t CMidiByteBuffer::WriteVolume(uint8_t value, uint8_t t)
{
    if (t > kMaxStyleTrack) return -1;
    const uint8_t bytes[] = {uint8_t(0xB9 + t), 0x07, value};
    return Append(bytes, sizeof bytes);
}

} // namespace zib
