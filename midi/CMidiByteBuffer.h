#pragma once

#include <cstdint>
#include <vector>

namespace zib {

// A byte array of fixed capacity into which MIDI track bytes are written by
// hand. The caller chooses the capacity (`Allocate`); every append checks it
// and writes nothing when the bytes would not fit.
class CMidiByteBuffer {
public:
    CMidiByteBuffer() = default;
    virtual ~CMidiByteBuffer();

    // Storage
    bool Allocate(uint32_t capacity); // empties the buffer; false when memory runs out
    void Free();
    uint32_t GetCapacity() const { return uint32_t(m_bytes.size()); }
    const uint8_t* GetData() const { return m_bytes.data(); }
    uint8_t* GetData() { return m_bytes.data(); }

    // Length
    void SetLength(uint32_t n); // clamped to the capacity
    uint32_t GetLength() const { return m_length; }
    bool Overflowed() const { return m_overflowed; } // an append did not fit since Allocate

    // Appending: each returns the new length, or -1 (nothing written) when
    // the bytes would pass the capacity or the arguments are invalid.
    int64_t Append(const uint8_t* bytes, uint32_t n);
    int64_t WriteVarLen(uint32_t value);

    // Controllers of style track t (0-6) on channel 10 + t (status 0xB9 + t).
    // Bank select: delta 0, controller 0 = value >> 8, delta 0, controller 32 = value & 0xFF,
    // each with its status byte. Pan and volume: status, controller, value,
    // without a delta (the caller writes it first).
    int64_t WriteBankSelect(uint16_t value, uint8_t t);
    int64_t WritePan(uint8_t value, uint8_t t);
    int64_t WriteVolume(uint8_t value, uint8_t t);

    // Time of the last event written (the converter's last absolute time of the channel)
    uint32_t lastTime = 0;

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_length = 0;
    bool m_overflowed = false;
};

} // namespace zib
