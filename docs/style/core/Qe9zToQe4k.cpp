#include "docs/style/core/Qe9zToQe4k.h"

#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/QeValueHelpers.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "docs/style/core/WqStyleItemConversion.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"
#include "styles/CQeRecordParser.h"
#include "styles/CSmfTrackReader.h"

#include <algorithm>
#include <bit>
#include <new>
#include <optional>
#include <vector>

namespace zib {

namespace {

constexpr size_t kHead = 8;

// A chunk head inside the input: id, offset of the head and the whole length.
struct ChunkAt {
    uint8_t id = 0;
    size_t at = 0;
    size_t length = 0; // 8 + payload
    uint32_t payload() const { return uint32_t(length - kHead); }
    size_t end() const { return at + length; }
};

// The chunk whose head is at `at`, when it lies inside [0, limit).
std::optional<ChunkAt> chunkAt(std::span<const uint8_t> in, size_t at, size_t limit)
{
    if (limit > in.size() || at > limit || limit - at < kHead) return std::nullopt;
    ByteCursor c(in.data() + at, kHead);
    const uint8_t id = c.u8();
    c.skip(3);
    const uint64_t size = c.u32be();
    if (size > limit - at - kHead) return std::nullopt;
    return ChunkAt{id, at, size_t(kHead + size)};
}

uint16_t be16(std::span<const uint8_t> in, size_t at)
{
    return uint16_t(in[at] << 8 | in[at + 1]);
}

// The records of an element chunk where the build pass reads them: the
// element record (id 1), the track table (id 2, 48 bytes or more) and, when
// anything follows the table, a chord-variation chunk (id 3). Offset of the
// track table's 48 bytes, or 0 when the chunk is not laid out so.
size_t trackTableOf(std::span<const uint8_t> element)
{
    const auto record = chunkAt(element, kHead, element.size());
    if (!record || record->id != 1 || record->payload() < 4) return 0;
    const size_t recordLength = std::max<size_t>(size_t(element[kHead + kHead + 3]) + 4, record->payload());
    const size_t tableAt = kHead + kHead + recordLength;
    const auto table = chunkAt(element, tableAt, element.size());
    if (!table || table->id != 2 || table->payload() < 48) return 0;
    const size_t after = tableAt + kHead + 48;
    if (after < element.size() && element[after] != 3) return 0;
    return tableAt + kHead;
}

bool elementChunkHoldsItsRecords(std::span<const uint8_t> element)
{
    return trackTableOf(element) != 0;
}

// What both passes find in the input.
struct Plan {
    size_t n = 0;                 // name length
    uint16_t mask = 0;
    ChunkAt wrapper, container, header, patterns, list;
    std::vector<uint8_t> listPayload; // the new pattern-list payload
    struct Pattern {
        ChunkAt chunk;
        uint32_t newSize = 0;
    };
    std::vector<Pattern> carried;
    std::vector<ChunkAt> elements;
    uint32_t total = 0;
};

std::optional<Plan> planOf(std::span<const uint8_t> in)
{
    Plan plan;
    const size_t length = in.size();
    if (length < 32) return std::nullopt;
    plan.mask = GetStyleElementMask(in.subspan(8));
    const int elementCount = std::popcount(unsigned(plan.mask & 0x03FF));
    if (in[8] != 6 || in[16] != 1 || in[24] != 1) return std::nullopt;

    auto wrapper = chunkAt(in, 8, length);
    auto container = wrapper ? chunkAt(in, 16, wrapper->end()) : std::nullopt;
    auto header = container ? chunkAt(in, 24, container->end()) : std::nullopt;
    if (!header) return std::nullopt;
    plan.wrapper = *wrapper;
    plan.container = *container;
    plan.header = *header;
    plan.n = in[32];
    if (plan.header.payload() < plan.n + 6) return std::nullopt;

    // Pattern container and its pattern list
    auto patterns = chunkAt(in, header->end(), container->end());
    if (!patterns || patterns->id != 2) return std::nullopt;
    plan.patterns = *patterns;
    auto list = chunkAt(in, patterns->at + kHead, patterns->end());
    if (!list || list->id != 1 || list->payload() < 4) return std::nullopt;
    plan.list = *list;
    const size_t listData = list->at + kHead;
    const uint16_t p = be16(in, listData);
    const uint16_t m = be16(in, listData + 2);
    if (p == 0 || list->payload() < 4 + 2 * size_t(m)) return std::nullopt;

    std::vector<ChunkAt> chunks;
    size_t at = list->end();
    for (uint16_t i = 0; i < p; ++i) {
        auto chunk = chunkAt(in, at, patterns->end());
        if (!chunk || chunk->id < 2 || chunk->id > 4) return std::nullopt;
        chunks.push_back(*chunk);
        at = chunk->end();
    }
    if (at != patterns->end()) return std::nullopt;

    // Pattern uses of elements 0-9, counted in 16 bits: a sum that wraps
    // means a damaged style.
    uint32_t uses = 0;
    for (int e = 0; e < elementCount; ++e) {
        auto element = chunkAt(in, at, container->end());
        if (!element || element->id != 3) return std::nullopt;
        CQeRecordParser parser;
        uint16_t count = 0;
        if (parser.Parse(in.subspan(element->at, element->length), count) != 0) return std::nullopt;
        uses += count;
        if (!elementChunkHoldsItsRecords(in.subspan(element->at, element->length))) return std::nullopt;
        plan.elements.push_back(*element);
        at = element->end();
    }
    if (uses > 0xFFFF || m < uses) return std::nullopt;

    // The chunks named by the first R uses are carried over unless their
    // re-encoding keeps no event; the carried ones are numbered anew in their
    // order, and uses of a chunk left out become 0 (no pattern).
    std::vector<uint16_t> renumber(p, 0);
    for (uint32_t u = 0; u < uses; ++u) {
        const uint16_t number = be16(in, listData + 4 + 2 * size_t(u));
        if (number >= 1 && number <= p) renumber[number - 1] = 1;
    }
    uint16_t next = 0;
    for (uint16_t i = 0; i < p; ++i) {
        if (!renumber[i]) continue;
        CSmfTrackReader reader;
        if (reader.Init(in.subspan(chunks[i].at, chunks[i].length)) != 0) return std::nullopt;
        if (reader.GetOutputSize() == 0) {
            renumber[i] = 0;
            continue;
        }
        renumber[i] = ++next;
        plan.carried.push_back({chunks[i], reader.GetOutputSize()});
    }
    if (plan.carried.empty()) return std::nullopt;

    ByteWriter list2;
    list2.u16be(uint16_t(plan.carried.size()));
    list2.u16be(uint16_t(uses));
    for (uint32_t u = 0; u < uses; ++u) {
        const uint16_t number = be16(in, listData + 4 + 2 * size_t(u));
        list2.u16be(number >= 1 && number <= p ? renumber[number - 1] : 0);
    }
    if (m == uses) {
        // The whole list stays, with whatever the record holds after it.
        const size_t rest = listData + 4 + 2 * size_t(m);
        list2.bytes(in.data() + rest, list->end() - rest);
    }
    plan.listPayload = list2.take();

    uint64_t total = 38 + plan.n + kHead + kHead + plan.listPayload.size();
    for (const auto& c : plan.carried)
        total += c.newSize;
    for (const auto& e : plan.elements)
        total += e.length;
    if (total > 0x7FFFFFFF) return std::nullopt;
    plan.total = uint32_t(total);
    return plan;
}

// Track sounds of an element chunk corrected to the Qe4k set, in place.
void validateSounds(std::span<uint8_t> element)
{
    const size_t at = trackTableOf(element);
    if (at == 0) return;
    uint8_t* table = element.data() + at;
    for (size_t t = 0; t < 8; ++t)
        ValidateQeSoundAddress(table[6 * t + 1], table[6 * t + 2], table[6 * t + 3]);
}

void notify(const StyNoticeSink& notices, StyNotice notice)
{
    if (notices) notices(notice);
}

// The uncompressed serialised form of a compressed style instance: through a
// one-entry container whose index names it type 7, which the library hands
// out decompressed.
std::vector<uint8_t> uncompressedStyle(std::span<const uint8_t> data)
{
    UlrfResInstancePtr resource(_ULRFCreateResInstance(data.data(), uint32_t(data.size())));
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    if (!resource || !container || _ULRFInsertResource(container.get(), -1, resource.get()) != 0) return {};
    _ULRFModifyIndex(container.get(), 0, "StyleName", 18, 0);
    const int size = _ULRFOutBufferSize(container.get());
    if (size <= 0) return {};
    std::vector<uint8_t> image(static_cast<size_t>(size));
    if (!_ULRFFillOutBuffer(container.get(), image.data())) return {};
    container.reset();

    std::span<uint8_t> index = FindIndexChunk(std::span<uint8_t>(image));
    DasfIndexEntry entry;
    if (index.empty() || !ReadIndexEntry(index, 0, entry)) return {};
    if (entry.type == 2) {
        entry.type = 7;
        WriteIndexEntry(index, 0, entry);
    }
    UlrfContainerPtr reopened(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    UlrfResInstancePtr extracted(reopened ? _ULRFExtractResource(reopened.get(), 0) : nullptr);
    if (!extracted) return {};
    const int unpacked = _ULRFResInstanceSizeUnComp(extracted.get());
    if (unpacked <= 0) return {};
    std::vector<uint8_t> out(static_cast<size_t>(unpacked));
    if (!_ULRFPutResInstanceUnComp(extracted.get(), out.data(), uint32_t(out.size()))) return {};
    return out;
}

} // namespace

std::vector<uint8_t> ConvertQe9zStyleToQe4k(std::span<const uint8_t> data)
{
    const std::vector<uint8_t> instance = uncompressedStyle(data);
    if (instance.size() < 16 || instance[8] != 6) return {};
    const uint32_t size = GetQe9zToQe4kSize(instance);
    if (size == 0) return {};
    std::vector<uint8_t> qe4k(size);
    if (!BuildQe4kStyleChunk(instance, qe4k, size)) return {};
    UlrfResInstancePtr resource(_ULRFCreateResInstance(qe4k.data(), uint32_t(qe4k.size())));
    UlsteEditorPtr editor(resource ? _ULStECreateInstance(resource.get()) : nullptr);
    UlrfResInstancePtr fresh(editor ? _ULStECreateResource(editor.get()) : nullptr);
    if (!fresh) return {};
    const int freshSize = _ULRFResInstanceSize(fresh.get());
    if (freshSize <= 0) return {};
    std::vector<uint8_t> out(static_cast<size_t>(freshSize));
    if (!_ULRFPutResInstance(fresh.get(), out.data(), uint32_t(out.size()))) return {};
    return out;
}

uint16_t GetStyleElementMask(std::span<const uint8_t> chunk)
{
    const size_t length = chunk.size();
    if (length < 25 || (chunk[3] & 0x20)) return 0;
    const size_t n = chunk[24];
    if (length < n + 30) return 0;
    return be16(chunk, 28 + n);
}

uint32_t GetQe9zToQe4kSize(std::span<const uint8_t> instance)
{
    const std::optional<Plan> plan = planOf(instance);
    return plan ? plan->total : 0;
}

int BuildQe4kStyleChunk(std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t newLength)
{
    const std::optional<Plan> plan = planOf(in);
    if (!plan || plan->total != newLength || out.size() < newLength) return 0;
    const uint64_t oldLength = in.size();
    ByteWriter w(newLength);
    auto headWithSize = [&w, &in](size_t at, uint32_t size) {
        w.bytes(in.data() + at, 4);
        w.u32be(size);
    };
    static constexpr uint8_t kStyleInstance[] = {2, 0, 0, 0};
    static constexpr uint8_t kPatternContainer[] = {2, 0, 0, 0};
    w.bytes(kStyleInstance, sizeof kStyleInstance);
    w.u32le(newLength - 8);
    headWithSize(8, uint32_t(plan->wrapper.payload() - oldLength + newLength));
    const size_t container = w.size();
    headWithSize(16, uint32_t(plan->container.payload() - oldLength + newLength));
    w.patchU8(container + 1, 0); // version 0: a Qe4k style
    const size_t header = w.size();
    headWithSize(24, uint32_t(plan->n + 6));
    w.patchU8(header + 1, 0);
    w.patchU8(header + 2, 0);
    w.bytes(in.data() + 32, plan->n + 4);
    w.u16be(uint16_t(plan->mask & 0x03FF));

    uint32_t patternBytes = uint32_t(kHead + plan->listPayload.size());
    for (const auto& c : plan->carried)
        patternBytes += c.newSize;
    w.bytes(kPatternContainer, sizeof kPatternContainer);
    w.u32be(patternBytes);
    headWithSize(plan->list.at, uint32_t(plan->listPayload.size()));
    w.bytes(plan->listPayload);
    for (const auto& c : plan->carried) {
        std::vector<uint8_t> chunk(c.newSize);
        CSmfTrackReader reader;
        const auto source = in.subspan(c.chunk.at, c.chunk.length);
        if (reader.Init(source) != 0 || reader.GetOutputSize() != c.newSize || reader.Build(source, chunk) != 0)
            return 0;
        w.bytes(chunk);
    }
    for (const auto& e : plan->elements) {
        std::vector<uint8_t> element(in.begin() + ptrdiff_t(e.at), in.begin() + ptrdiff_t(e.end()));
        validateSounds(element);
        w.bytes(element);
    }
    if (w.failed() || w.size() != newLength) return 0;
    std::copy(w.bytes().begin(), w.bytes().end(), out.begin());
    return 1;
}

int ConvertQe9zToQE4K(CStyItem& item, const StyNoticeSink& notices)
{
    if (item.model == 'F') return kStyConvertOk;
    if (item.model != 'X') return kStyConvertRefused;
    if (item.version == 0) return kStyConvertOk;
    std::vector<uint8_t> rewritten;
    try {
        rewritten = ConvertQe9zStyleToQe4k(item.data);
    } catch (const std::bad_alloc&) {
        notify(notices, StyNotice::Numbered(stymsg::MemoryAllocationFailed, "ConvertQe9zToQE4K", StyNoticeIcon::Stop));
        return kStyConvertFailedSaid;
    }
    // A style that cannot be rewritten keeps its data: only this item fails,
    // and the document's other items stay usable.
    if (rewritten.empty()) return kStyConvertFailedSaid;
    item.data.swap(rewritten);
    item.model = 'F';
    item.version = 0;
    return kStyConvertOk;
}

} // namespace zib
