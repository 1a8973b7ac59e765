// The C interface of the library (ulvarf.h). Each export checks its handle's
// tag and its numbers, catches everything (nothing is thrown across the
// interface) and reports failure by its result alone.

#include "ulvarf/ulvarf.h"

#include "ulvarf/CResourceFile.h"
#include "ulvarf/CResourceInstance.h"
#include "ulvarf/CStyleEditor.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

using zib::ulvarf::CNstPattern;
using zib::ulvarf::CNstStyle;
using zib::ulvarf::CNstStyleElem;
using zib::ulvarf::CNstTrackRecord;
using zib::ulvarf::CResourceFile;
using zib::ulvarf::CResourceInstance;
using zib::ulvarf::CStyleEditor;

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

CStyleEditor* editorOf(ULStEEditor* handle)
{
    auto* editor = reinterpret_cast<CStyleEditor*>(handle);
    return editor && editor->IsValid() ? editor : nullptr;
}

ULStEEditor* handleOf(std::unique_ptr<CStyleEditor> editor)
{
    return reinterpret_cast<ULStEEditor*>(editor.release());
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

// Runs `body` on the editor when the handle is valid; anything thrown is dropped.
template <class Body>
void withEditor(ULStEEditor* handle, Body body)
{
    guarded(0, [&] {
        if (CStyleEditor* editor = editorOf(handle)) body(*editor);
        return 0;
    });
}

// Runs `body` on the style model when the handle is valid and `inRange` holds.
template <class Body>
void withStyle(ULStEEditor* handle, bool inRange, Body body)
{
    if (!inRange) return;
    withEditor(handle, [&](CStyleEditor& editor) { body(editor.style()); });
}

// Runs `body` on track record t of element e (the element made when absent).
template <class Body>
void withTrackRecord(ULStEEditor* handle, int e, int t, const void* value, Body body)
{
    withStyle(handle, value && CNstStyle::ValidElement(e) && CNstStyle::ValidTrack(t),
              [&](CNstStyle& style) { body(style.Element(e).tracks[size_t(t)]); });
}

// Runs `body` on pattern t of (e, cv) (element, CV and pattern made when absent).
template <class Body>
void withPattern(ULStEEditor* handle, int e, int cv, int t, const void* value, Body body)
{
    withStyle(handle,
              value && CNstStyle::ValidElement(e) && CNstStyle::ValidChordVar(cv) && CNstStyle::ValidTrack(t),
              [&](CNstStyle& style) { body(style.Pattern(e, cv, t)); });
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
    return guarded(false, [&] {
        CResourceInstance* instance = instanceOf(resource);
        return instance && buffer && instance->PutSerialised({buffer, size});
    });
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

// The style editor

ULStEEditor* _ULStECreateInstance(ULRFResInstance* resource)
{
    return guarded<ULStEEditor*>(nullptr, [&]() -> ULStEEditor* {
        if (!resource) return handleOf(CStyleEditor::NewStyle(false));
        if (resource == ULSTE_NEW_PAD) return handleOf(CStyleEditor::NewStyle(true));
        CResourceInstance* instance = instanceOf(resource);
        return instance ? handleOf(CStyleEditor::FromResource(*instance)) : nullptr;
    });
}

void _ULStEDeleteInstance(ULStEEditor* editor)
{
    delete editorOf(editor);
}

ULRFResInstance* _ULStECreateResource(ULStEEditor* editor)
{
    return guarded<ULRFResInstance*>(nullptr, [&]() -> ULRFResInstance* {
        CStyleEditor* styleEditor = editorOf(editor);
        return styleEditor ? handleOf(styleEditor->CreateResource()) : nullptr;
    });
}

int _ULStEQueryStyleElem(ULStEEditor* editor, int e)
{
    CStyleEditor* styleEditor = editorOf(editor);
    return styleEditor ? styleEditor->style().QueryStyleElem(e) : 0;
}

int _ULStEQueryChordVar(ULStEEditor* editor, int e, int cv)
{
    CStyleEditor* styleEditor = editorOf(editor);
    return styleEditor ? styleEditor->style().QueryChordVar(e, cv) : 0;
}

int _ULStEQueryPattern(ULStEEditor* editor, int e, int cv, int t)
{
    CStyleEditor* styleEditor = editorOf(editor);
    return styleEditor ? styleEditor->style().QueryPattern(e, cv, t) : 0;
}

void _ULStEDeleteStyleElem(ULStEEditor* editor, int e)
{
    withStyle(editor, true, [&](CNstStyle& style) { style.DeleteStyleElem(e); });
}

void _ULStEDeleteChordVar(ULStEEditor* editor, int e, int cv)
{
    withStyle(editor, true, [&](CNstStyle& style) { style.DeleteChordVar(e, cv); });
}

void _ULStEDeletePattern(ULStEEditor* editor, int e, int cv, int t)
{
    withStyle(editor, true, [&](CNstStyle& style) { style.DeletePattern(e, cv, t); });
}

bool _ULStEImportSmf(ULStEEditor* editor, const uint8_t* smf, uint32_t length, int e, int cv)
{
    return guarded(false, [&] {
        CStyleEditor* styleEditor = editorOf(editor);
        return styleEditor && smf && CNstStyle::ValidElement(e) && CNstStyle::ValidChordVar(cv) &&
               styleEditor->ImportSmf({smf, length}, e, cv);
    });
}

int _ULStEExportSmfPrepare(ULStEEditor* editor, int e, int cv)
{
    return guarded(0, [&] {
        CStyleEditor* styleEditor = editorOf(editor);
        if (!styleEditor || !CNstStyle::ValidElement(e) || !CNstStyle::ValidChordVar(cv)) return 0;
        const int size = toInt(styleEditor->ExportSmfPrepare(e, cv));
        return size < 0 ? 0 : size;
    });
}

bool _ULStEExportSmfFill(ULStEEditor* editor, uint8_t* buffer, uint32_t size)
{
    CStyleEditor* styleEditor = editorOf(editor);
    return styleEditor && buffer && styleEditor->ExportSmfFill({buffer, size});
}

void _ULStEGetName(ULStEEditor* editor, char* buffer, int n)
{
    withStyle(editor, buffer && n >= 0, [&](CNstStyle& style) {
        const std::string& name = style.name();
        const size_t copied = std::min(name.size(), size_t(n));
        std::memcpy(buffer, name.data(), copied);
        std::memset(buffer + copied, 0, size_t(n) - copied + 1);
    });
}

void _ULStESetName(ULStEEditor* editor, const char* name)
{
    withStyle(editor, name != nullptr, [&](CNstStyle& style) {
        style.SetName(std::string_view(name, strnlen(name, CNstStyle::kNameLength)));
    });
}

void _ULStEGetBPM(ULStEEditor* editor, int* bpm)
{
    if (bpm) withEditor(editor, [&](CStyleEditor& styleEditor) { *bpm = styleEditor.tempo(); });
}

void _ULStESetBPM(ULStEEditor* editor, const int* bpm)
{
    if (bpm) withEditor(editor, [&](CStyleEditor& styleEditor) { styleEditor.SetTempo(*bpm); });
}

void _ULStEGetTrackMode(ULStEEditor* editor, int t, uint8_t* mode)
{
    withStyle(editor, mode && CNstStyle::ValidTrack(t), [&](CNstStyle& style) { *mode = style.tracks[size_t(t)].mode; });
}

void _ULStESetTrackMode(ULStEEditor* editor, int t, const uint8_t* mode)
{
    withStyle(editor, mode && CNstStyle::ValidTrack(t), [&](CNstStyle& style) { style.tracks[size_t(t)].mode = *mode; });
}

void _ULStEGetTrackTension(ULStEEditor* editor, int t, uint8_t* tension)
{
    withStyle(editor, tension && CNstStyle::ValidTrack(t),
              [&](CNstStyle& style) { *tension = style.tracks[size_t(t)].tension; });
}

void _ULStESetTrackTension(ULStEEditor* editor, int t, const uint8_t* tension)
{
    withStyle(editor, tension && CNstStyle::ValidTrack(t),
              [&](CNstStyle& style) { style.tracks[size_t(t)].tension = *tension; });
}

void _ULStEGetNTT(ULStEEditor* editor, int e, uint8_t* ntt)
{
    withStyle(editor, ntt && CNstStyle::ValidElement(e), [&](CNstStyle& style) { *ntt = style.Element(e).ntt; });
}

void _ULStESetNTT(ULStEEditor* editor, int e, const uint8_t* ntt)
{
    withStyle(editor, ntt && CNstStyle::ValidElement(e), [&](CNstStyle& style) { style.Element(e).ntt = *ntt; });
}

void _ULStEGetSignature(ULStEEditor* editor, int e, uint8_t* signature)
{
    if (!signature || !CNstStyle::ValidElement(e)) return;
    withEditor(editor, [&](CStyleEditor& styleEditor) { *signature = styleEditor.GetSignature(e); });
}

void _ULStESetSignature(ULStEEditor* editor, int e, const uint8_t* signature)
{
    if (!signature || !CNstStyle::ValidElement(e)) return;
    withEditor(editor, [&](CStyleEditor& styleEditor) { styleEditor.SetSignature(e, *signature); });
}

void _ULStEGetChordAssign(ULStEEditor* editor, int e, int i, uint8_t* cv)
{
    withStyle(editor, cv && CNstStyle::ValidElement(e) && CNstStyle::ValidChordType(i),
              [&](CNstStyle& style) { *cv = style.Element(e).chordAssign[size_t(i)]; });
}

void _ULStESetChordAssign(ULStEEditor* editor, int e, int i, const uint8_t* cv)
{
    withStyle(editor, cv && CNstStyle::ValidElement(e) && CNstStyle::ValidChordType(i), [&](CNstStyle& style) {
        CNstStyleElem& element = style.Element(e);
        element.chordAssign[size_t(i)] = *cv;
        element.RepairChordAssign();
    });
}

void _ULStEGetTrackExpression(ULStEEditor* editor, int e, int t, uint8_t* expression)
{
    withTrackRecord(editor, e, t, expression, [&](CNstTrackRecord& r) { *expression = r.expression; });
}

void _ULStESetTrackExpression(ULStEEditor* editor, int e, int t, const uint8_t* expression)
{
    withTrackRecord(editor, e, t, expression, [&](CNstTrackRecord& r) { r.expression = *expression; });
}

void _ULStEGetTrackProgram(ULStEEditor* editor, int e, int t, uint32_t* program)
{
    withTrackRecord(editor, e, t, program, [&](CNstTrackRecord& r) {
        *program = uint32_t(r.bankMsb) << 24 | uint32_t(r.bankLsb) << 16 | r.program;
    });
}

void _ULStESetTrackProgram(ULStEEditor* editor, int e, int t, const uint32_t* program)
{
    withTrackRecord(editor, e, t, program, [&](CNstTrackRecord& r) {
        r.bankMsb = uint8_t(*program >> 24);
        r.bankLsb = uint8_t(*program >> 16);
        r.program = uint8_t(*program);
    });
}

void _ULStEGetTrackKBRangeLow(ULStEEditor* editor, int e, int t, uint8_t* note)
{
    withTrackRecord(editor, e, t, note, [&](CNstTrackRecord& r) { *note = r.rangeLow; });
}

void _ULStESetTrackKBRangeLow(ULStEEditor* editor, int e, int t, const uint8_t* note)
{
    withTrackRecord(editor, e, t, note, [&](CNstTrackRecord& r) { r.rangeLow = *note; });
}

void _ULStEGetTrackKBRangeHigh(ULStEEditor* editor, int e, int t, uint8_t* note)
{
    withTrackRecord(editor, e, t, note, [&](CNstTrackRecord& r) { *note = r.rangeHigh; });
}

void _ULStESetTrackKBRangeHigh(ULStEEditor* editor, int e, int t, const uint8_t* note)
{
    withTrackRecord(editor, e, t, note, [&](CNstTrackRecord& r) { r.rangeHigh = *note; });
}

void _ULStEGetTrackChord(ULStEEditor* editor, int e, int cv, int t, uint8_t* chord)
{
    withPattern(editor, e, cv, t, chord, [&](CNstPattern& p) { *chord = p.chord; });
}

void _ULStESetTrackChord(ULStEEditor* editor, int e, int cv, int t, const uint8_t* chord)
{
    withPattern(editor, e, cv, t, chord, [&](CNstPattern& p) { p.chord = *chord; });
}

void _ULStEGetTrackKey(ULStEEditor* editor, int e, int cv, int t, uint8_t* key)
{
    withPattern(editor, e, cv, t, key, [&](CNstPattern& p) { *key = p.key; });
}

void _ULStESetTrackKey(ULStEEditor* editor, int e, int cv, int t, const uint8_t* key)
{
    withPattern(editor, e, cv, t, key, [&](CNstPattern& p) { p.key = *key; });
}

void _ULStEGetQeVersion(ULStEEditor* editor, uint8_t* version)
{
    withStyle(editor, version != nullptr, [&](CNstStyle& style) { *version = uint8_t(style.version); });
}

void _ULStESetQeVersion(ULStEEditor* editor, uint8_t version)
{
    withStyle(editor, true, [&](CNstStyle& style) { style.version = version; });
}

void _ULStEGetQeStyInfoRelease(ULStEEditor* editor, uint8_t* release)
{
    withStyle(editor, release != nullptr,
              [&](CNstStyle& style) { *release = style.version < 1 ? uint8_t(style.release) : 0; });
}

void _ULStEConvertVexSoundToNote(ULStEEditor* editor, int e, int cv)
{
    if (!CNstStyle::ValidElement(e) || !CNstStyle::ValidChordVar(cv)) return;
    withEditor(editor, [&](CStyleEditor& styleEditor) { styleEditor.ConvertVexSoundToNote(e, cv); });
}

void _ULStEConvertNoteToVexSound(ULStEEditor* editor, int e, int cv, const uint8_t ranges[8][2])
{
    if (!ranges || !CNstStyle::ValidElement(e) || !CNstStyle::ValidChordVar(cv)) return;
    withEditor(editor, [&](CStyleEditor& styleEditor) { styleEditor.ConvertNoteToVexSound(e, cv, ranges); });
}

} // extern "C"
