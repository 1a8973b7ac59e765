#include "tests/support/StreamEvents.h"

#include "platform/ByteCursor.h"

#include <cstdio>

namespace zib::test {

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

std::string hexByte(uint8_t b)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

} // namespace

StreamBufferBuilder& StreamBufferBuilder::Event(uint32_t delta, uint32_t word)
{
    putU32(m_bytes, delta);
    putU32(m_bytes, 0);
    putU32(m_bytes, word);
    return *this;
}

StreamBufferBuilder& StreamBufferBuilder::Long(uint32_t delta, const std::vector<uint8_t>& bytes, uint32_t announced)
{
    Event(delta, mevt::kLongMsg | (announced ? announced : uint32_t(bytes.size())));
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    m_bytes.resize(m_bytes.size() + (mevt::PaddedLength(uint32_t(bytes.size())) - bytes.size()), 0);
    return *this;
}

MidiHeader& StreamBufferBuilder::Header(uintptr_t user, uint32_t capacity)
{
    if (capacity > m_bytes.size()) m_bytes.reserve(capacity); // an empty buffer still has its memory
    m_header = MidiHeader{};
    m_header.data = m_bytes.data();
    m_header.bytesRecorded = uint32_t(m_bytes.size());
    m_header.bufferLength = capacity ? capacity : uint32_t(m_bytes.size());
    m_header.user = user;
    return m_header;
}

std::string DescribeStreamEvents(const uint8_t* data, uint32_t bytes)
{
    std::string text;
    ByteCursor c(data, bytes);
    while (!c.atEnd()) {
        if (!c.has(mevt::kEventSize)) {
            text += "torn\n";
            break;
        }
        const uint32_t delta = c.u32le();
        c.u32le();
        const uint32_t word = c.u32le();
        text += std::to_string(delta) + " ";
        if (mevt::IsLong(word)) {
            const uint32_t n = mevt::Parameter(word);
            if (!c.has(mevt::PaddedLength(n))) {
                text += "torn\n";
                break;
            }
            const auto payload = c.bytes(mevt::PaddedLength(n));
            text += "long";
            if (n > 0) text += " " + hexByte(payload[0]) + " .. " + hexByte(payload[n - 1]);
            text += " (" + std::to_string(n) + ")";
        } else {
            switch (mevt::Type(word)) {
            case 0x00: {
                const uint32_t m = mevt::Parameter(word);
                text += "short " + hexByte(uint8_t(m)) + " " + hexByte(uint8_t(m >> 8)) + " " + hexByte(uint8_t(m >> 16));
                break;
            }
            case 0x01: text += "tempo " + std::to_string(mevt::Parameter(word)); break;
            case 0x02: text += "nop " + std::to_string(mevt::Parameter(word)); break;
            default: text += "word " + std::to_string(word); break;
            }
            if (mevt::HasCallback(word)) text += " callback";
        }
        text += "\n";
    }
    return text;
}

} // namespace zib::test
