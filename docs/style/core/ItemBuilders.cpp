#include "docs/style/core/ItemBuilders.h"

#include "docs/style/core/UlvaRfHandles.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace zib {

namespace {

constexpr const char* kGetItem = "GetItem";
constexpr const char* kGetQEItem = "GetQEItem";

void notify(const StyNoticeSink& notices, StyNotice notice)
{
    if (notices) notices(notice);
}

void copyName(CItemInfo& item, std::span<const uint8_t> bytes, uint32_t width)
{
    item.name.fill('\0');
    std::memcpy(item.name.data(), bytes.data(), std::min<size_t>(bytes.size(), width));
}

// Steps shared by the Qe builders: the serialised instance of resource
// `index`, compressed or (uncompressed) with type-7 chunks decompressed.
bool extractInstance(std::vector<uint8_t>& out, ULRFContainer* container, int index, bool uncompressed,
                     const StyNoticeSink& notices)
{
    const std::string number = std::to_string(index);
    UlrfResInstancePtr resource(_ULRFExtractResource(container, index));
    if (!resource) {
        notify(notices, StyNotice::Text("Cannot extract QE data resource at index: %d", {number}, kGetQEItem));
        return false;
    }
    const int size =
        uncompressed ? _ULRFResInstanceSizeUnComp(resource.get()) : _ULRFResInstanceSize(resource.get());
    if (size <= 0) {
        notify(notices, StyNotice::Text("Cannot calculate buffer size for QE data resource at index: %d",
                                        {number}, kGetQEItem));
        return false;
    }
    try {
        out.assign(size_t(size), 0);
    } catch (const std::bad_alloc&) {
        notify(notices, StyNotice::Numbered(stymsg::MemoryAllocationFailed, kGetQEItem));
        return false;
    }
    const bool put = uncompressed ? _ULRFPutResInstanceUnComp(resource.get(), out.data(), uint32_t(out.size()))
                                  : _ULRFPutResInstance(resource.get(), out.data(), uint32_t(out.size()));
    if (!put) {
        out.clear();
        notify(notices,
               StyNotice::Text("Cannot copy QE data resource (index: %d) to item buffer ", {number}, kGetQEItem));
        return false;
    }
    return true;
}

} // namespace

bool GetItem(CStyItem& item, std::span<const uint8_t> image, uint32_t model, const StyNoticeSink& notices)
{
    try {
        item.data.assign(image.begin(), image.end());
    } catch (const std::bad_alloc&) {
        notify(notices, StyNotice::Numbered(stymsg::MemoryAllocationFailed, kGetItem));
        return false;
    }
    const bool familyB = IsWqFamilyB(model);
    const uint32_t width = familyB ? 16 : 10;
    if (!familyB && image.size() == 1168) {
        item.SetName("empty     ");
    } else if (familyB && image.size() == 1176) {
        item.SetName("InitStyle      ");
    } else {
        copyName(item, image, width);
    }
    ConvertItemName(item.name, model, 1);
    item.model = model;
    return true;
}

bool GetItem(CItemInfo& item, std::span<const uint8_t> record, uint32_t model, int fileKind, bool drumKit,
             const StyNoticeSink& notices)
{
    const bool familyB = IsWqFamilyB(model);
    const size_t recordSize = familyB ? 172 : 164;
    size_t block = recordSize;
    if (drumKit) {
        if (fileKind == 3 && !familyB && IsWqModel(model))
            block = 1484;
        else if (fileKind == 11 && familyB)
            block = 1052;
        else
            return false;
    }
    if (record.size() < recordSize) return false;
    try {
        item.data.assign(block, 0);
    } catch (const std::bad_alloc&) {
        notify(notices, StyNotice::Numbered(stymsg::MemoryAllocationFailed, kGetItem));
        return false;
    }
    std::copy_n(record.begin(), recordSize, item.data.begin());
    copyName(item, record, familyB ? 16 : 10);
    ConvertItemName(item.name, model, 1);
    item.model = model;
    return true;
}

void ReadStyleSummary(ULStEEditor* editor, CStyItem& item)
{
    for (int e = 0; e < CStyItem::kElements; ++e) {
        _ULStEGetSignature(editor, e, &item.signatures[size_t(e)]);
        if (_ULStEQueryStyleElem(editor, e) == 0) continue;
        for (int t = 0; t < CStyItem::kTracks; ++t)
            _ULStEGetTrackProgram(editor, e, t, &item.sounds[size_t(e)][size_t(t)]);
    }
}

QeItemBuild GetQEItem(CStyItem& item, ULRFContainer* container, int index, uint32_t kind,
                      const StyNoticeSink& notices)
{
    const bool sts = kind == 7;
    if (!extractInstance(item.data, container, index, sts, notices)) return QeItemBuild::Failed;
    if (kind != 2 && kind != 9) {
        item.model = 'F';
    } else {
        UlrfResInstancePtr resource(_ULRFCreateResInstance(item.data.data(), uint32_t(item.data.size())));
        UlsteEditorPtr editor(resource ? _ULStECreateInstance(resource.get()) : nullptr);
        if (!editor) {
            item.data.clear();
            notify(notices, StyNotice::Text("Cannot create sound list for QE data resource (index: %d)",
                                            {std::to_string(index)}, kGetQEItem));
            return QeItemBuild::Failed;
        }
        uint8_t version = 0, release = 0;
        _ULStEGetQeVersion(editor.get(), &version);
        if (version > 1) {
            item.data.clear();
            return QeItemBuild::UnsupportedVersion;
        }
        item.model = version == 1 ? 'X' : 'F';
        _ULStEGetQeStyInfoRelease(editor.get(), &release);
        item.version = version;
        item.release = release;
        ReadStyleSummary(editor.get(), item);
    }
    item.name.fill('\0');
    return QeItemBuild::Built;
}

bool GetQEItem(CItemInfo& item, ULRFContainer* container, int index, uint32_t model, const StyNoticeSink& notices)
{
    if (!extractInstance(item.data, container, index, false, notices)) return false;
    item.name.fill('\0');
    item.model = model;
    return true;
}

bool GetQEItemUnComp(CQePrfItem& item, ULRFContainer* container, int index, uint32_t model,
                     const StyNoticeSink& notices)
{
    if (!extractInstance(item.data, container, index, true, notices)) return false;
    item.data[0] = 1; // the loader retagged performances as type 7
    item.name.fill('\0');
    item.model = model;
    return true;
}

int AddSoundInfo(CStyItem& item)
{
    UlrfResInstancePtr resource(_ULRFCreateResInstance(item.data.data(), uint32_t(item.data.size())));
    if (!resource) return 0;
    UlsteEditorPtr editor(_ULStECreateInstance(resource.get()));
    resource.reset();
    if (!editor) return 0;
    ReadStyleSummary(editor.get(), item);
    return 1;
}

} // namespace zib
