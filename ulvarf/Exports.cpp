// The C interface of the library (ulvarf.h). Each export checks its handle's
// tag, catches everything (nothing is thrown across the interface) and
// reports failure by its result alone.

#include "ulvarf/ulvarf.h"

#include "ulvarf/CResourceFile.h"
#include "ulvarf/CResourceInstance.h"

#include <climits>
#include <memory>
#include <span>

using zib::ulvarf::CResourceFile;
using zib::ulvarf::CResourceInstance;

namespace {

CResourceFile* fileOf(ULRFContainer* handle)
{
    auto* file = reinterpret_cast<CResourceFile*>(handle);
    return file && file->IsValid() ? file : nullptr;
}

CResourceInstance* instanceOf(ULRFResInstance* handle)
{
    auto* instance = reinterpret_cast<CResourceInstance*>(handle);
    return instance && instance->IsValid() ? instance : nullptr;
}

ULRFContainer* handleOf(std::unique_ptr<CResourceFile> file)
{
    return reinterpret_cast<ULRFContainer*>(file.release());
}

ULRFResInstance* handleOf(std::unique_ptr<CResourceInstance> instance)
{
    return reinterpret_cast<ULRFResInstance*>(instance.release());
}

int toInt(uint64_t size)
{
    return size <= uint64_t(INT_MAX) ? int(size) : -1;
}

// Runs `body`; anything thrown becomes `failed`.
template <class Result, class Body>
Result guarded(Result failed, Body body)
{
    try {
        return body();
    } catch (...) {
        return failed;
    }
}

} // namespace

extern "C" {

ULRFContainer* _ULRFCreateInstance(const uint8_t* image, uint32_t length)
{
    return guarded<ULRFContainer*>(nullptr, [&] {
        return handleOf(CResourceFile::FromImage(image ? std::span(image, length) : std::span<const uint8_t>()));
    });
}

void _ULRFDeleteInstance(ULRFContainer* container)
{
    delete fileOf(container);
}

int _ULRFOutBufferSize(ULRFContainer* container)
{
    CResourceFile* file = fileOf(container);
    return file ? toInt(file->OutBufferSize()) : -1;
}

bool _ULRFFillOutBuffer(ULRFContainer* container, uint8_t* buffer)
{
    return guarded(false, [&] {
        CResourceFile* file = fileOf(container);
        if (!file || !buffer) return false;
        const int size = toInt(file->OutBufferSize());
        return size >= 0 && file->FillOutBuffer({buffer, size_t(size)});
    });
}

bool _ULRFEnumIndex(ULRFContainer* container, int i, char name[18], int* type, int* user1, int* user2)
{
    CResourceFile* file = fileOf(container);
    return file && file->EnumIndex(i, name, type, user1, user2);
}

bool _ULRFModifyIndex(ULRFContainer* container, int i, const char* name, int user1, int user2)
{
    CResourceFile* file = fileOf(container);
    return file && file->ModifyIndex(i, name, user1, user2);
}

bool _ULRFDeleteResource(ULRFContainer* container, int i)
{
    CResourceFile* file = fileOf(container);
    return file && file->DeleteResource(i);
}

ULRFResInstance* _ULRFExtractResource(ULRFContainer* container, int i)
{
    return guarded<ULRFResInstance*>(nullptr, [&] {
        CResourceFile* file = fileOf(container);
        return file ? handleOf(file->ExtractResource(i)) : nullptr;
    });
}

int _ULRFInsertResource(ULRFContainer* container, int i, ULRFResInstance* resource)
{
    return guarded(-1, [&] {
        CResourceFile* file = fileOf(container);
        CResourceInstance* instance = instanceOf(resource);
        return file && instance ? file->InsertResource(i, *instance) : -1;
    });
}

void _ULRFDelResInstance(ULRFResInstance* resource)
{
    CResourceInstance* instance = instanceOf(resource);
    if (!instance) return;
    instance->Invalidate();
    delete instance;
}

int _ULRFResInstanceSize(ULRFResInstance* resource)
{
    CResourceInstance* instance = instanceOf(resource);
    return instance ? toInt(instance->SerialisedSize()) : -1;
}

bool _ULRFPutResInstance(ULRFResInstance* resource, uint8_t* buffer, uint32_t size)
{
    CResourceInstance* instance = instanceOf(resource);
    return instance && buffer && instance->PutSerialised({buffer, size});
}

ULRFResInstance* _ULRFCreateResInstance(const uint8_t* data, uint32_t length)
{
    return guarded<ULRFResInstance*>(nullptr, [&] {
        return data ? handleOf(CResourceInstance::FromSerialised({data, length})) : nullptr;
    });
}

int _ULRFResInstanceSizeUnComp(ULRFResInstance* resource)
{
    CResourceInstance* instance = instanceOf(resource);
    return instance ? toInt(instance->SerialisedSizeUnComp()) : -1;
}

bool _ULRFPutResInstanceUnComp(ULRFResInstance* resource, uint8_t* buffer, uint32_t size)
{
    return guarded(false, [&] {
        CResourceInstance* instance = instanceOf(resource);
        return instance && buffer && instance->PutSerialisedUnComp({buffer, size});
    });
}

} // extern "C"
