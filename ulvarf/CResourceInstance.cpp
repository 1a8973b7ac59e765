#include "ulvarf/CResourceInstance.h"

#include "ulvarf/COComp.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <cstring>

namespace zib::ulvarf {

CResourceInstance::CResourceInstance(uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag, const CChunkNav& chunk)
    : tag_(~reinterpret_cast<uintptr_t>(this)), type_(type), id1_(id1), id2_(id2), flag_(flag), chunk_(chunk, 0)
{
    chunk_.StoreCompressed();
}

CResourceInstance::~CResourceInstance()
{
    tag_ = 0;
}

std::unique_ptr<CResourceInstance> CResourceInstance::FromChunk(uint8_t type, uint8_t id1, uint8_t id2,
                                                                uint8_t flag, const CChunkNav& chunk)
{
    if (chunk.Chunk().empty()) return nullptr;
    std::unique_ptr<CResourceInstance> instance(new CResourceInstance(type, id1, id2, flag, chunk));
    if (!instance->chunk_.valid()) return nullptr;
    return instance;
}

std::unique_ptr<CResourceInstance> CResourceInstance::FromSerialised(std::span<const uint8_t> data)
{
    // The length is checked before any head is read.
    if (data.size() < kSerialHeadSize + kChunkHeadSize) return nullptr;
    zib::ByteCursor cursor(data);
    const uint8_t type = cursor.u8();
    const uint8_t id1 = cursor.u8();
    const uint8_t id2 = cursor.u8();
    const uint8_t flag = cursor.u8();
    const uint32_t length = cursor.u32le();
    if (length < kChunkHeadSize || uint64_t(length) > data.size() - kSerialHeadSize) return nullptr;

    const CChunkNav chunk = CChunkNav::ReadOnly(cursor.bytes(length));
    if (!chunk.valid() || chunk.usedLength() != length) return nullptr;
    return FromChunk(type, id1, id2, flag, chunk);
}

bool CResourceInstance::IsValid() const
{
    return tag_ != 0 && tag_ == ~reinterpret_cast<uintptr_t>(this);
}

uint64_t CResourceInstance::SerialisedSize() const
{
    return kSerialHeadSize + chunk_.usedLength();
}

bool CResourceInstance::put(std::span<uint8_t> out, uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag,
                            std::span<const uint8_t> chunk)
{
    if (out.size() < kSerialHeadSize || chunk.size() > out.size() - kSerialHeadSize) return false;
    zib::ByteWriter head;
    head.u8(type);
    head.u8(id1);
    head.u8(id2);
    head.u8(flag);
    head.u32le(uint32_t(chunk.size()));
    std::memcpy(out.data(), head.data(), kSerialHeadSize);
    std::memcpy(out.data() + kSerialHeadSize, chunk.data(), chunk.size());
    return true;
}

bool CResourceInstance::PutSerialised(std::span<uint8_t> out) const
{
    return put(out, type_, id1_, id2_, flag_, chunk_.Image());
}

uint64_t CResourceInstance::SerialisedSizeUnComp() const
{
    if (type_ != kTypeSts || !(chunk_.flags() & kChunkCompressed)) return SerialisedSize();
    const uint32_t length = COComp::UncompressedLength(chunk_.Payload());
    if (length == 0) return SerialisedSize();
    return kSerialHeadSize + kChunkHeadSize + uint64_t(length);
}

bool CResourceInstance::PutSerialisedUnComp(std::span<uint8_t> out) const
{
    if (type_ != kTypeSts || !(chunk_.flags() & kChunkCompressed)) return PutSerialised(out);
    if (out.size() < SerialisedSizeUnComp()) return false;
    CChunkNav plain(chunk_, 0);
    if (!plain.Decompress(true)) return false;
    return put(out, type_, id1_, id2_, flag_, plain.Image());
}

} // namespace zib::ulvarf
