#include "docs/style/core/QeStyleEditor.h"

#include "ulvarf/ulvarf.h"

namespace zib {

namespace {

// A value the library's getter writes through its last argument; 0 when it writes none.
template <class T, class Getter, class... Args> T libraryValue(Getter getter, Args... args)
{
    T value = 0;
    getter(args..., &value);
    return value;
}

// Runs `touch` (library calls on pattern t of (e, cv)); a pattern that was
// absent is taken away again afterwards (its values stay with it).
template <class Touch> void keepingAbsentPattern(ULStEEditor* editor, int e, int cv, int t, Touch touch)
{
    const bool absent = _ULStEQueryPattern(editor, e, cv, t) == 0;
    touch();
    if (absent) _ULStEDeletePattern(editor, e, cv, t);
}

} // namespace

QePatternChordKey ReadQePatternChordKey(ULStEEditor* editor, int e, int cv, int t)
{
    QePatternChordKey value;
    keepingAbsentPattern(editor, e, cv, t, [&] {
        _ULStEGetTrackChord(editor, e, cv, t, &value.chord);
        _ULStEGetTrackKey(editor, e, cv, t, &value.key);
    });
    return value;
}

void WriteQePatternChordKey(ULStEEditor* editor, int e, int cv, int t, QePatternChordKey value)
{
    keepingAbsentPattern(editor, e, cv, t, [&] {
        _ULStESetTrackChord(editor, e, cv, t, &value.chord);
        _ULStESetTrackKey(editor, e, cv, t, &value.key);
    });
}

LibraryQeStyleEditor::Made LibraryQeStyleEditor::FromItem(std::span<const uint8_t> data)
{
    Made made;
    UlrfResInstancePtr resource(_ULRFCreateResInstance(data.data(), uint32_t(data.size())));
    if (!resource) {
        made.result = 1;
        return made;
    }
    UlsteEditorPtr handle(_ULStECreateInstance(resource.get()));
    if (!handle) {
        made.result = 2;
        return made;
    }
    made.editor = std::make_unique<LibraryQeStyleEditor>(std::move(handle));
    return made;
}

int LibraryQeStyleEditor::QueryStyleElem(int e)
{
    return _ULStEQueryStyleElem(handle_.get(), e);
}

int LibraryQeStyleEditor::QueryChordVar(int e, int cv)
{
    return _ULStEQueryChordVar(handle_.get(), e, cv);
}

int LibraryQeStyleEditor::QueryPattern(int e, int cv, int t)
{
    return _ULStEQueryPattern(handle_.get(), e, cv, t);
}

uint8_t LibraryQeStyleEditor::QeVersion()
{
    return libraryValue<uint8_t>(_ULStEGetQeVersion, handle_.get());
}

void LibraryQeStyleEditor::DeleteStyleElem(int e)
{
    _ULStEDeleteStyleElem(handle_.get(), e);
}

void LibraryQeStyleEditor::DeleteChordVar(int e, int cv)
{
    _ULStEDeleteChordVar(handle_.get(), e, cv);
}

void LibraryQeStyleEditor::DeletePattern(int e, int cv, int t)
{
    _ULStEDeletePattern(handle_.get(), e, cv, t);
}

bool LibraryQeStyleEditor::ImportSmf(std::span<const uint8_t> smf, int e, int cv)
{
    return _ULStEImportSmf(handle_.get(), smf.data(), uint32_t(smf.size()), e, cv);
}

std::vector<uint8_t> LibraryQeStyleEditor::ExportSmf(int e, int cv)
{
    return ExportCvImage(handle_.get(), e, cv);
}

std::vector<uint8_t> LibraryQeStyleEditor::SerializedResource()
{
    UlrfResInstancePtr resource(_ULStECreateResource(handle_.get()));
    if (!resource) return {};
    const int size = _ULRFResInstanceSize(resource.get());
    if (size <= 0) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!_ULRFPutResInstance(resource.get(), bytes.data(), uint32_t(size))) return {};
    return bytes;
}

uint8_t LibraryQeStyleEditor::Signature(int e)
{
    return libraryValue<uint8_t>(_ULStEGetSignature, handle_.get(), e);
}

void LibraryQeStyleEditor::SetSignature(int e, uint8_t value)
{
    _ULStESetSignature(handle_.get(), e, &value);
}

uint8_t LibraryQeStyleEditor::Ntt(int e)
{
    return libraryValue<uint8_t>(_ULStEGetNTT, handle_.get(), e);
}

void LibraryQeStyleEditor::SetNtt(int e, uint8_t value)
{
    _ULStESetNTT(handle_.get(), e, &value);
}

uint8_t LibraryQeStyleEditor::ChordAssign(int e, int i)
{
    return libraryValue<uint8_t>(_ULStEGetChordAssign, handle_.get(), e, i);
}

void LibraryQeStyleEditor::SetChordAssign(int e, int i, uint8_t cv)
{
    _ULStESetChordAssign(handle_.get(), e, i, &cv);
}

uint8_t LibraryQeStyleEditor::TrackExpression(int e, int t)
{
    return libraryValue<uint8_t>(_ULStEGetTrackExpression, handle_.get(), e, t);
}

void LibraryQeStyleEditor::SetTrackExpression(int e, int t, uint8_t value)
{
    _ULStESetTrackExpression(handle_.get(), e, t, &value);
}

uint32_t LibraryQeStyleEditor::TrackProgram(int e, int t)
{
    return libraryValue<uint32_t>(_ULStEGetTrackProgram, handle_.get(), e, t);
}

void LibraryQeStyleEditor::SetTrackProgram(int e, int t, uint32_t value)
{
    _ULStESetTrackProgram(handle_.get(), e, t, &value);
}

uint8_t LibraryQeStyleEditor::TrackKBRangeLow(int e, int t)
{
    return libraryValue<uint8_t>(_ULStEGetTrackKBRangeLow, handle_.get(), e, t);
}

void LibraryQeStyleEditor::SetTrackKBRangeLow(int e, int t, uint8_t note)
{
    _ULStESetTrackKBRangeLow(handle_.get(), e, t, &note);
}

uint8_t LibraryQeStyleEditor::TrackKBRangeHigh(int e, int t)
{
    return libraryValue<uint8_t>(_ULStEGetTrackKBRangeHigh, handle_.get(), e, t);
}

void LibraryQeStyleEditor::SetTrackKBRangeHigh(int e, int t, uint8_t note)
{
    _ULStESetTrackKBRangeHigh(handle_.get(), e, t, &note);
}

uint8_t LibraryQeStyleEditor::TrackChord(int e, int cv, int t)
{
    return ReadQePatternChordKey(handle_.get(), e, cv, t).chord;
}

void LibraryQeStyleEditor::SetTrackChord(int e, int cv, int t, uint8_t value)
{
    keepingAbsentPattern(handle_.get(), e, cv, t,
                         [&] { _ULStESetTrackChord(handle_.get(), e, cv, t, &value); });
}

uint8_t LibraryQeStyleEditor::TrackKey(int e, int cv, int t)
{
    return ReadQePatternChordKey(handle_.get(), e, cv, t).key;
}

void LibraryQeStyleEditor::SetTrackKey(int e, int cv, int t, uint8_t value)
{
    keepingAbsentPattern(handle_.get(), e, cv, t,
                         [&] { _ULStESetTrackKey(handle_.get(), e, cv, t, &value); });
}

uint8_t LibraryQeStyleEditor::TrackMode(int t)
{
    return libraryValue<uint8_t>(_ULStEGetTrackMode, handle_.get(), t);
}

void LibraryQeStyleEditor::SetTrackMode(int t, uint8_t value)
{
    _ULStESetTrackMode(handle_.get(), t, &value);
}

uint8_t LibraryQeStyleEditor::TrackTension(int t)
{
    return libraryValue<uint8_t>(_ULStEGetTrackTension, handle_.get(), t);
}

void LibraryQeStyleEditor::SetTrackTension(int t, uint8_t value)
{
    _ULStESetTrackTension(handle_.get(), t, &value);
}

std::vector<uint8_t> ExportCvImage(ULStEEditor* editor, int e, int cv)
{
    const int size = _ULStEExportSmfPrepare(editor, e, cv);
    if (size <= 0) return {};
    std::vector<uint8_t> image(static_cast<size_t>(size));
    if (!_ULStEExportSmfFill(editor, image.data(), uint32_t(image.size()))) return {};
    return image;
}

} // namespace zib
