#include "ulvarf/CResourceFile.h"

#include "ulvarf/CChunkNav.h"
#include "ulvarf/CResourceInstance.h"

#include "platform/ByteWriter.h"

#include <algorithm>
#include <cstring>

namespace zib::ulvarf {

namespace {

constexpr uint8_t kTopId = 0x01;
constexpr uint8_t kRootId = 0x02;
constexpr uint8_t kIndexId = 0x05;
constexpr uint8_t kDirectoryId = 0xFE;
constexpr uint8_t kTopFlags = kChunkNewForm | kChunkTop;
constexpr size_t kFixedImage = 60; // the three heads, root info, directory head and its fixed words
constexpr size_t kPerEntry = 28;   // index entry and directory offset

constexpr CResourceFile::RootInfo kDefaultRootInfo = {11, 0, 0, 0, 0, 0, 0, 'D', 'A', 'S', 'F', 0};

// The three signatures: the top chunk, the root info chunk and "DASF" NUL.
bool signaturesMatch(std::span<const uint8_t> image)
{
    static constexpr uint8_t top0[4] = {0x01, 0x00, 0x00, 0x14};
    static constexpr uint8_t top1[4] = {0x01, 0x00, 0x01, 0x14};
    static constexpr uint8_t root[4] = {0x02, 0x00, 0x00, 0x18};
    static constexpr uint8_t dasf[5] = {'D', 'A', 'S', 'F', 0};
    const uint8_t* p = image.data();
    return (std::memcmp(p, top0, 4) == 0 || std::memcmp(p, top1, 4) == 0) && std::memcmp(p + 8, root, 4) == 0
        && std::memcmp(p + 23, dasf, 5) == 0;
}

// True when the direct children of the top chunk fill its payload exactly,
// each lying wholly inside it.
bool topLevelIntact(std::span<const uint8_t> image)
{
    CChunkNav nav = CChunkNav::ReadOnly(image);
    if (!nav.valid()) return false;
    if (nav.PayloadSize() == 0) return true;
    if (!nav.Enter()) return false;
    while (nav.Next()) {}
    return nav.headerOffset() + kChunkHeadSize + nav.PayloadSize() == nav.usedLength();
}

} // namespace

CResourceFile::CResourceFile()
    : self_(reinterpret_cast<uintptr_t>(this)), rootInfo_(kDefaultRootInfo)
{
}

CResourceFile::~CResourceFile()
{
    self_ = 0;
}

bool CResourceFile::IsValid() const
{
    return self_ == reinterpret_cast<uintptr_t>(this);
}

std::unique_ptr<CResourceFile> CResourceFile::FromImage(std::span<const uint8_t> image)
{
    auto file = std::make_unique<CResourceFile>();
    if (!image.data() || image.size() < kMinImage) return file;
    if (!signaturesMatch(image) || !topLevelIntact(image)) return nullptr;

    CChunkNav nav = CChunkNav::ReadOnly(image);
    if (!nav.Enter({WantId(kRootId), FlagWanted::Set, FlagWanted::Set})) return nullptr;
    if (nav.PayloadSize() < kRootInfoSize) return nullptr;
    std::copy_n(nav.Payload().begin(), kRootInfoSize, file->rootInfo_.begin());

    if (!nav.Next({WantId(kIndexId), FlagWanted::Set, FlagWanted::Set})) return nullptr;
    const auto index = nav.Payload();
    const size_t n = std::min(index.size() / CResManInfo::kEntrySize, CResManInfo::kMaxEntries);
    auto& entries = file->index_.entries;
    entries.resize(n);
    for (size_t i = 0; i < n; ++i)
        std::copy_n(index.begin() + i * CResManInfo::kEntrySize, CResManInfo::kEntrySize, entries[i].info.begin());

    // The resource chunks follow in index order; the directory is not read.
    // Chunks of either form count (old-form resources exist and read back);
    // the first FE chunk ends the list, wherever it stands.
    size_t found = 0;
    while (found < n) {
        const NavResult next = nav.Next();
        if (!next || next.id == kDirectoryId) break;
        auto chunk = std::make_unique<CChunkNavComp>(nav, 0);
        chunk->StoreCompressed();
        entries[found++].chunk = std::move(chunk);
    }
    // Entries without a chunk would shift every later chunk on the next read.
    entries.resize(found);
    return file;
}

uint64_t CResourceFile::OutBufferSize() const
{
    uint64_t size = kFixedImage + kPerEntry * count();
    for (const auto& entry : index_.entries)
        size += entry.chunk ? entry.chunk->usedLength() : kChunkHeadSize;
    return size;
}

bool CResourceFile::FillOutBuffer(std::span<uint8_t> buffer) const
{
    const uint64_t length = OutBufferSize();
    if (buffer.size() < length || length - kChunkHeadSize > UINT32_MAX) return false;
    for (const auto& entry : index_.entries)
        if (!entry.chunk) return false;
    const size_t n = count();

    CChunkNav::WriteChunkHead(buffer, kTopId, 0, 1, kTopFlags, 0);
    CChunkNav nav(buffer.first(length));
    if (!nav.AddFirstChild({kRootId, 0, 0, true, true, kRootInfoSize})) return false;
    std::copy(rootInfo_.begin(), rootInfo_.end(), nav.WritablePayload().begin());

    if (!nav.InsertSibling({kIndexId, 0, 0, true, true, uint32_t(CResManInfo::kEntrySize * n)})) return false;
    const uint32_t indexOffset = uint32_t(nav.headerOffset());
    auto index = nav.WritablePayload();
    for (size_t i = 0; i < n; ++i)
        std::copy(index_.entries[i].info.begin(), index_.entries[i].info.end(),
                  index.begin() + i * CResManInfo::kEntrySize);

    zib::ByteWriter directory;
    directory.text("DBEG");
    directory.u32be(indexOffset);
    for (const auto& entry : index_.entries) {
        if (!nav.InsertSiblingCopy(*entry.chunk)) return false;
        directory.u32be(uint32_t(nav.headerOffset()));
    }
    directory.text("DEND");
    directory.u32be(uint32_t(n + 1));

    if (!nav.InsertSibling({kDirectoryId, 0, 0, true, true, uint32_t(directory.size())})) return false;
    std::copy(directory.bytes().begin(), directory.bytes().end(), nav.WritablePayload().begin());
    return nav.usedLength() == length;
}

bool CResourceFile::EnumIndex(int i, char* name, int* type, int* user1, int* user2) const
{
    if (!inRange(i)) return false;
    const IndexEntry& info = entry(size_t(i));
    if (name) {
        std::memset(name, 0, CResManInfo::kNameLength + 1);
        for (size_t k = 0; k < CResManInfo::kNameLength && info[k]; ++k) name[k] = char(info[k]);
    }
    if (type) *type = info[CResManInfo::kType];
    if (user1) *user1 = info[CResManInfo::kUser1];
    if (user2) *user2 = info[CResManInfo::kUser2];
    return true;
}

bool CResourceFile::ModifyIndex(int i, const char* name, int user1, int user2)
{
    if (!inRange(i)) return false;
    IndexEntry& info = index_.entries[size_t(i)].info;
    if (name) {
        std::fill_n(info.begin(), CResManInfo::kNameLength + 1, uint8_t(0));
        for (size_t k = 0; k < CResManInfo::kNameLength && name[k]; ++k) info[k] = uint8_t(name[k]);
    }
    if (user1 >= 0) info[CResManInfo::kUser1] = uint8_t(user1 & 0xFF);
    if (user2 >= 0) info[CResManInfo::kUser2] = uint8_t(user2 & 0xFF);
    return true;
}

bool CResourceFile::DeleteResource(int i)
{
    if (!inRange(i)) return false;
    index_.entries.erase(index_.entries.begin() + i);
    return true;
}

std::unique_ptr<CResourceInstance> CResourceFile::ExtractResource(int i) const
{
    if (!inRange(i)) return nullptr;
    const auto& entry = index_.entries[size_t(i)];
    if (!entry.chunk) return nullptr;
    return CResourceInstance::FromChunk(entry.info[CResManInfo::kType], entry.info[CResManInfo::kId1],
                                        entry.info[CResManInfo::kId2], 0, *entry.chunk);
}

int CResourceFile::InsertResource(int i, const CResourceInstance& resource)
{
    auto chunk = std::make_unique<CChunkNavComp>(resource.chunk(), 0);
    if (!chunk->valid()) return -1;
    // A chunk with the directory's id would end the resource list when the
    // image is read again, losing it and every later entry: refused.
    if (chunk->id() == kDirectoryId) return -1;
    chunk->ShrinkToUsed();

    size_t at;
    if (inRange(i)) {
        if (index_.entries[size_t(i)].info[CResManInfo::kType] != resource.type()) return -1;
        at = size_t(i);
    } else {
        if (count() >= CResManInfo::kMaxEntries) return -1;
        CResManInfo::Entry entry;
        static constexpr char kNewName[] = "newRes";
        std::copy_n(kNewName, sizeof kNewName - 1, entry.info.begin());
        entry.info[CResManInfo::kType] = 0xFF;
        index_.entries.push_back(std::move(entry));
        at = count() - 1;
    }
    auto& entry = index_.entries[at];
    entry.info[CResManInfo::kType] = resource.type();
    entry.info[CResManInfo::kId1] = resource.id1();
    entry.info[CResManInfo::kId2] = resource.id2();
    entry.chunk = std::move(chunk);
    return int(at);
}

} // namespace zib::ulvarf
