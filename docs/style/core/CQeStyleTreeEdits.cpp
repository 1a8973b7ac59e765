#include "docs/style/core/CQeStyleTreeEdits.h"

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/NewCvTemplate.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/StyleBufferRebuild.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/ValueTexts.h"

#include <string>

namespace zib {

namespace {

// Imports an exported chord variation image into (e, cv) without the
// events its track records wrote: they would become the patterns' own. An
// element that held no data takes those records as the image carries them.
// An image that cannot be taken apart imports as it stands.
bool importCvImage(ULStEEditor* editor, const std::vector<uint8_t>& image, int e, int cv)
{
    const auto parts = SplitCvExportImage(image);
    if (!parts) return _ULStEImportSmf(editor, image.data(), uint32_t(image.size()), e, cv);
    const bool elementHadData = _ULStEQueryStyleElem(editor, e) == 2;
    if (!_ULStEImportSmf(editor, parts->patterns.data(), uint32_t(parts->patterns.size()), e, cv))
        return false;
    if (elementHadData) return true;
    for (int t = 0; t < 8; ++t) {
        const CvTrackRecord& record = parts->records[size_t(t)];
        if (!record.present) continue;
        _ULStESetTrackExpression(editor, e, t, &record.expression);
        _ULStESetTrackProgram(editor, e, t, &record.program);
    }
    return true;
}

// The settings of element e that an element block carries (not its CVs).
void readElementSettings(ULStEEditor* editor, int e, SeClipRecord& r)
{
    r.element = uint8_t(e);
    _ULStEGetNTT(editor, e, &r.ntt);
    _ULStEGetSignature(editor, e, &r.signature);
    for (int i = 0; i < 22; ++i)
        _ULStEGetChordAssign(editor, e, i, &r.chordAssign[size_t(i)]);
    for (int t = 0; t < 8; ++t) {
        _ULStEGetTrackExpression(editor, e, t, &r.expression[size_t(t)]);
        _ULStEGetTrackProgram(editor, e, t, &r.program[size_t(t)]);
        _ULStEGetTrackKBRangeLow(editor, e, t, &r.rangeLow[size_t(t)]);
        _ULStEGetTrackKBRangeHigh(editor, e, t, &r.rangeHigh[size_t(t)]);
    }
}

void writeElementSettings(ULStEEditor* editor, int e, const SeClipRecord& r)
{
    _ULStESetNTT(editor, e, &r.ntt);
    _ULStESetSignature(editor, e, &r.signature);
    for (int i = 0; i < 22; ++i)
        _ULStESetChordAssign(editor, e, i, &r.chordAssign[size_t(i)]);
    for (int t = 0; t < 8; ++t) {
        _ULStESetTrackExpression(editor, e, t, &r.expression[size_t(t)]);
        _ULStESetTrackProgram(editor, e, t, &r.program[size_t(t)]);
        _ULStESetTrackKBRangeLow(editor, e, t, &r.rangeLow[size_t(t)]);
        _ULStESetTrackKBRangeHigh(editor, e, t, &r.rangeHigh[size_t(t)]);
    }
}

std::string tactText(uint8_t signature)
{
    return std::to_string((signature & 15) + 1) + "/" + std::to_string(1 << (signature >> 4));
}

} // namespace

CQeStyleTreeEdits::CQeStyleTreeEdits(ULStEEditor* editor, StyUiPort& port, uint32_t documentModel, CStyItem* item)
    : editor_(editor), port_(port), documentModel_(documentModel), item_(item)
{
}

uint8_t CQeStyleTreeEdits::Letter() const
{
    uint8_t version = 0;
    _ULStEGetQeVersion(editor_, &version);
    return version ? 'X' : 'F';
}

bool CQeStyleTreeEdits::ElementsFit(int source, int target)
{
    const auto group = [](int e) { return e < 0 ? -1 : e < 4 ? 0 : e < 6 ? 1 : e < 8 ? 2 : e < 10 ? 3 : -1; };
    return group(source) >= 0 && group(source) == group(target);
}

void CQeStyleTreeEdits::Changed(int element, int cv, int track)
{
    edited = 1;
    if (refill) refill();
    if (show) show(element, cv, track);
}

// ---- Copy ---------------------------------------------------------------

void CQeStyleTreeEdits::CopySelection()
{
    if (!editor_) return;
    if (selection.IsCv())
        CopyCvToClipboard();
    else if (selection.IsElement())
        CopyElementToClipboard();
}

std::optional<CvClipBlock> CQeStyleTreeEdits::CvBlock(int element, int cv, bool tellEmpty)
{
    if (!editor_ || _ULStEQueryChordVar(editor_, element, cv) != 2) return std::nullopt;
    CvClipBlock block;
    block.letter = Letter();
    const int size = _ULStEExportSmfPrepare(editor_, element, cv);
    if (size <= 0) {
        if (tellEmpty)
            port_.Message(StyNotice::Numbered(stymsg::EmptyCvCannotCopy, "OnCopyCvToClipboard", StyNoticeIcon::Stop));
        return std::nullopt;
    }
    block.midi = ExportCvImage(editor_, element, cv);
    if (block.midi.size() != size_t(size)) {
        port_.Message(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyCvToClipboard", StyNoticeIcon::Stop));
        return std::nullopt;
    }
    CvClipRecord& r = block.record;
    r.element = uint8_t(element);
    r.cv = uint8_t(cv);
    _ULStEGetSignature(editor_, element, &r.signature);
    for (int i = 0; i < 22; ++i)
        _ULStEGetChordAssign(editor_, element, i, &r.chordAssign[size_t(i)]);
    for (int t = 0; t < 8; ++t) {
        const QePatternChordKey value = ReadQePatternChordKey(editor_, element, cv, t);
        r.trackChord[size_t(t)] = value.chord;
        r.trackKey[size_t(t)] = value.key;
    }
    return block;
}

bool CQeStyleTreeEdits::CopyCvToClipboard()
{
    if (!selection.IsCv()) return false;
    const auto block = CvBlock(selection.element, selection.cv, true);
    return block && port_.WriteClipboard(block->Bytes());
}

std::optional<SeClipBlock> CQeStyleTreeEdits::ElementBlock(int element)
{
    if (!editor_ || _ULStEQueryStyleElem(editor_, element) != 2) return std::nullopt;
    SeClipBlock block;
    block.letter = Letter();
    SeClipRecord& r = block.record;
    readElementSettings(editor_, element, r);
    // The present chord variations in order; the paste numbers them 0, 1 ...
    for (int cv = 0; cv < CvCountOf(element); ++cv) {
        if (_ULStEQueryChordVar(editor_, element, cv) == 0) continue;
        std::vector<uint8_t> image = ExportCvImage(editor_, element, cv);
        if (image.empty()) continue;
        const size_t c = block.midi.size();
        for (int t = 0; t < 8; ++t) {
            const QePatternChordKey value = ReadQePatternChordKey(editor_, element, cv, t);
            r.trackChord[c][size_t(t)] = value.chord;
            r.trackKey[c][size_t(t)] = value.key;
        }
        block.midi.push_back(std::move(image));
    }
    r.cvCount = uint8_t(block.midi.size());
    return block;
}

bool CQeStyleTreeEdits::CopyElementToClipboard()
{
    if (!selection.IsElement()) return false;
    const auto block = ElementBlock(selection.element);
    return block && port_.WriteClipboard(block->Bytes());
}

// ---- Paste --------------------------------------------------------------

std::optional<std::vector<uint8_t>> CQeStyleTreeEdits::ReadTreeBlock(const char* caption, uint8_t& letter,
                                                                     uint8_t& code)
{
    const StyClipboardContent content = port_.ReadClipboard();
    if (!content.attached) {
        port_.Message(StyNotice::Numbered(stymsg::CannotAttachClipboard));
        return std::nullopt;
    }
    if (!content.present) {
        port_.Message(StyNotice::Numbered(stymsg::WrongClipboardFormat, caption, StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    if (!content.bytes) {
        port_.Message(StyNotice::Numbered(stymsg::CannotGetClipboardData, caption));
        return std::nullopt;
    }
    if (ReadTreeBlockHead(*content.bytes, letter, code) != TreeBlockError::None) {
        port_.Message(StyNotice::Numbered(stymsg::WrongClipboardFormat, caption, StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    if (documentModel_ == 'F' && letter == 'X') {
        port_.Message(StyNotice::Numbered(stymsg::CannotPasteQe9zToQe4k, caption, StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    return content.bytes;
}

void CQeStyleTreeEdits::PasteSelection()
{
    if (!editor_ || selection.IsTrack()) return;
    const bool cv = selection.IsCv();
    if (!cv && !selection.IsElement()) return;
    const char* caption = cv ? "PasteQeChordVariation" : "PasteQeStyleElement";
    uint8_t letter = 0, code = 0;
    const auto bytes = ReadTreeBlock(caption, letter, code);
    if (!bytes) return;
    const auto refuse = [&](int message) {
        port_.Message(StyNotice::Numbered(message, caption, StyNoticeIcon::Exclamation));
    };
    if (cv) {
        // Only the chord variations of Variation1 take a pasted one.
        if (selection.element != 0) return;
        CvClipBlock block;
        const TreeBlockError error = CvClipBlock::Read(*bytes, block);
        if (error == TreeBlockError::Format) return refuse(stymsg::WrongClipboardFormat);
        if (error == TreeBlockError::Size) return refuse(stymsg::WrongClipboardSize);
        PasteQeChordVariation(block);
    } else {
        SeClipBlock block;
        const TreeBlockError error = SeClipBlock::Read(*bytes, block);
        if (error == TreeBlockError::Format) return refuse(stymsg::WrongClipboardFormat);
        if (error == TreeBlockError::Size) return refuse(stymsg::WrongClipboardSize);
        PasteQeStyleElement(block);
    }
}

bool CQeStyleTreeEdits::PasteQeChordVariation(const CvClipBlock& block)
{
    const int e = selection.element;
    const int cv = selection.cv;
    if (!editor_ || !selection.IsCv() || e != 0) return false;
    uint8_t signature = 0;
    _ULStEGetSignature(editor_, e, &signature);
    if (signature != block.record.signature) {
        const std::string clip = tactText(block.record.signature), here = tactText(signature);
        const size_t cs = clip.find('/'), hs = here.find('/');
        port_.Message(StyNotice::Text("Cannot paste CV with tact: %d/%d over CV with tact: %d/%d",
                                      {clip.substr(0, cs), clip.substr(cs + 1), here.substr(0, hs), here.substr(hs + 1)},
                                      "OnPasteQeChordVariation", StyNoticeIcon::Exclamation));
        return false;
    }
    if (!importCvImage(editor_, block.midi, e, cv)) return false;
    for (int t = 0; t < 8; ++t)
        WriteQePatternChordKey(editor_, e, cv, t,
                               {block.record.trackChord[size_t(t)], block.record.trackKey[size_t(t)]});
    Changed(e, cv, selection.track);
    return true;
}

bool CQeStyleTreeEdits::PasteQeStyleElement(const SeClipBlock& block)
{
    static constexpr const char* kCaption = "PasteQeStyleElement";
    const int target = selection.element;
    if (!editor_ || !selection.IsElement()) return false;
    const SeClipRecord& r = block.record;
    if (target >= 10) return false; // Fill3 and Intro3 take nothing
    if (!ElementsFit(r.element, target)) {
        port_.Message(StyNotice::Text("Cannot paste %s instead of %s",
                                      {GetQeElementName(r.element), GetQeElementName(target)}, kCaption,
                                      StyNoticeIcon::Exclamation));
        return false;
    }
    // Everything is checked before the element's chord variations go.
    if (r.cvCount > CvCountOf(target) || block.midi.size() != r.cvCount) {
        port_.Message(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption, StyNoticeIcon::Exclamation));
        return false;
    }

    // Every image must import: tried on a scratch style first.
    {
        UlsteEditorPtr scratch(_ULStECreateInstance(nullptr));
        for (size_t c = 0; scratch && c < r.cvCount; ++c) {
            if (!importCvImage(scratch.get(), block.midi[c], target, int(c))) {
                port_.Message(StyNotice::Numbered(stymsg::CannotImportCvMidiBuffer, kCaption, StyNoticeIcon::Stop));
                return false;
            }
        }
    }

    // The old chord variations, kept to come back if an import still fails.
    struct OldCv {
        int cv;
        std::vector<uint8_t> image;
        std::array<uint8_t, 8> chord{}, key{};
    };
    SeClipRecord oldSettings;
    readElementSettings(editor_, target, oldSettings);
    std::vector<OldCv> old;
    for (int c = 0; c < CvCountOf(target); ++c) {
        if (_ULStEQueryChordVar(editor_, target, c) == 0) continue;
        OldCv saved{c, ExportCvImage(editor_, target, c), {}, {}};
        for (int t = 0; t < 8; ++t) {
            const QePatternChordKey value = ReadQePatternChordKey(editor_, target, c, t);
            saved.chord[size_t(t)] = value.chord;
            saved.key[size_t(t)] = value.key;
        }
        old.push_back(std::move(saved));
    }
    for (const OldCv& o : old)
        _ULStEDeleteChordVar(editor_, target, o.cv);
    for (size_t c = 0; c < r.cvCount; ++c) {
        if (importCvImage(editor_, block.midi[c], target, int(c))) continue;
        // An import failed: the element gets its own chord variations back.
        for (int c2 = 0; c2 < CvCountOf(target); ++c2)
            if (_ULStEQueryChordVar(editor_, target, c2) != 0) _ULStEDeleteChordVar(editor_, target, c2);
        for (const OldCv& o : old) {
            if (o.image.empty() || !importCvImage(editor_, o.image, target, o.cv)) continue;
            for (int t = 0; t < 8; ++t)
                WriteQePatternChordKey(editor_, target, o.cv, t, {o.chord[size_t(t)], o.key[size_t(t)]});
        }
        // What the images do not carry comes back here.
        writeElementSettings(editor_, target, oldSettings);
        port_.Message(StyNotice::Numbered(stymsg::CannotImportCvMidiBuffer, kCaption, StyNoticeIcon::Stop));
        Changed(target, selection.cv, selection.track);
        return false;
    }
    writeElementSettings(editor_, target, r);
    for (size_t c = 0; c < r.cvCount; ++c)
        for (int t = 0; t < 8; ++t)
            WriteQePatternChordKey(editor_, target, int(c), t,
                                   {r.trackChord[c][size_t(t)], r.trackKey[c][size_t(t)]});
    if (item_)
        for (int t = 0; t < 8; ++t)
            item_->sounds[size_t(target)][size_t(t)] = r.program[size_t(t)];
    Changed(target, selection.cv, selection.track);
    return true;
}

// ---- New chord variation ------------------------------------------------

void CQeStyleTreeEdits::OnQeAddCv()
{
    static constexpr const char* kCaption = "OnQeAddCv";
    if (!editor_ || !selection.IsElement()) return;
    const int e = selection.element;
    // The new chord variation takes the first free place.
    int cv = -1;
    for (int c = 0; c < CvCountOf(e) && cv < 0; ++c)
        if (_ULStEQueryChordVar(editor_, e, c) == 0) cv = c;
    if (cv < 0) return;
    uint8_t signature = 0;
    _ULStEGetSignature(editor_, e, &signature);
    const uint8_t exponent = uint8_t(signature >> 4);
    // A denominator beyond 16 is no Qe time signature.
    const std::vector<uint8_t> image =
        exponent > 4 ? std::vector<uint8_t>() : NewCvMidiFile(uint8_t((signature & 15) + 1), exponent);
    if (exponent > 4) {
        port_.Message(StyNotice::Numbered(stymsg::CannotAddChordVariation, kCaption, StyNoticeIcon::Stop));
        return;
    }
    if (image.empty()) {
        port_.Message(StyNotice::Numbered(stymsg::CannotPrepareCvMidiBuffer, kCaption, StyNoticeIcon::Stop));
        return;
    }
    if (!_ULStEImportSmf(editor_, image.data(), uint32_t(image.size()), e, cv)) {
        port_.Message(StyNotice::Numbered(stymsg::CannotImportCvMidiBuffer, kCaption, StyNoticeIcon::Stop));
        return;
    }
    for (int t = 0; t < 8; ++t)
        WriteQePatternChordKey(editor_, e, cv, t, {2, 0});
    edited = 1;
    if (refill) refill();
}

} // namespace zib
