#pragma once

#include "ulvarf/CNstQeIfc.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zib::ulvarf {

class CResourceInstance;

// The style-editor handle: one Qe style model with the style tempo, the
// kind of resource it came from or goes to (type 2, or 9 for a pad), and
// the Standard MIDI File image last rendered from one of its CVs.
class CStyleEditor {
public:
    static constexpr uint8_t kStyleType = 2;
    static constexpr uint8_t kPadType = 9;
    static constexpr int kDefaultTempo = 120;

    // Creation
    // The "New Style" model; `type9` makes it a pad.
    static std::unique_ptr<CStyleEditor> NewStyle(bool type9);
    // A style read from a resource instance of type 2 or 9 with both id
    // bytes 0; null for another type or id, a chunk that does not
    // decompress, or a wrapper whose first child is not an old-form
    // container of id 1.
    static std::unique_ptr<CStyleEditor> FromResource(const CResourceInstance& resource);
    ~CStyleEditor();
    CStyleEditor(const CStyleEditor&) = delete;
    CStyleEditor& operator=(const CStyleEditor&) = delete;

    // Handle check: the first word holds the object's own address + 2.
    bool IsValid() const;

    // The model
    CNstQeIfc& style() { return *style_; }
    const CNstQeIfc& style() const { return *style_; }
    int tempo() const { return tempo_; }
    void SetTempo(int bpm) { tempo_ = bpm; }
    bool type9() const { return type9_; }

    // The resource
    // A new resource instance (type 9 or 2, ids 0) holding the pruned and
    // serialised style inside its wrapper chunk, compressed; null when the
    // style cannot be stored.
    std::unique_ptr<CResourceInstance> CreateResource();

    // Standard MIDI Files (e and cv must be in range)
    // Loads CV (e, cv), all 8 tracks, from a format-0 file; false with the
    // style unchanged when the file's header is refused (past the header, a
    // fault ends the decoding and what came before it is loaded).
    bool ImportSmf(std::span<const uint8_t> smf, int e, int cv);
    // Renders CV (e, cv) (element and CV created when absent) and keeps the
    // image, replacing an earlier one; its size, 0 when it cannot be made.
    size_t ExportSmfPrepare(int e, int cv);
    // Copies the prepared image; false when none is prepared or `out` is smaller.
    bool ExportSmfFill(std::span<uint8_t> out) const;

    // Element signature
    // Sets the element's signature from the packed form; every present CV
    // takes it with a length of its bars, every created pattern of those CVs
    // the signature. A denominator beyond what the element stores (log2
    // above 7) is ignored.
    void SetSignature(int e, uint8_t packed);
    uint8_t GetSignature(int e);

    // VexSound (each converted stream is re-encoded with both switches off,
    // so notes and sounds with a duration come out as on/off pairs)
    // Note offs and ons (kinds 0, 1) of tracks whose range is not (0, 127)
    // and whose key lies outside it become VexSound offs and ons (12, 13).
    void ConvertNoteToVexSound(int e, int cv, const uint8_t ranges[8][2]);
    // VexSound offs and ons (12, 13) become note offs and ons (0, 1) again.
    void ConvertVexSoundToNote(int e, int cv);

private:
    CStyleEditor(std::unique_ptr<CNstQeIfc> style, bool type9);

    uintptr_t self_; // first word of the handle
    std::unique_ptr<CNstQeIfc> style_;
    int tempo_ = kDefaultTempo;
    bool type9_ = false;
    std::vector<uint8_t> smfImage_;
    bool smfPrepared_ = false;
};

} // namespace zib::ulvarf
