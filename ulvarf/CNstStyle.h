#pragma once

#include "ulvarf/CNstStyleElem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zib::ulvarf {

// The settings of one style track for the whole style.
struct CNstStyleTrack {
    uint8_t mode = 0;
    uint8_t tension = 0;
    uint8_t thirdFlag = 0;
    uint8_t trackByte = 0;
};

// The style model: name, per-track settings and up to 12 style elements.
//
// Asking for an element, a CV or a pattern that does not exist creates it:
// a new element gets the record defaults and then the element-created hook;
// a new CV gets the element's signature, its bars for new CVs and the length
// of those bars, then the CV-created hook; a pattern taken into use gets the
// CV's signature and bars and the pattern-created hook. The Find and Query
// operations never create.
class CNstStyle {
public:
    static constexpr int kElements = 12;
    static constexpr int kChordVars = CNstStyleElem::kChordVars;
    static constexpr int kTracks = CNstStyleElem::kTracks;
    static constexpr int kChordTypes = CNstStyleElem::kChordTypes;
    static constexpr size_t kNameLength = 31;
    static constexpr uint8_t kMaxPatternType = 2; // the highest pattern type of a track

    CNstStyle() = default;
    virtual ~CNstStyle() = default;
    CNstStyle(const CNstStyle&) = delete;
    CNstStyle& operator=(const CNstStyle&) = delete;

    // Range checks of element, CV, track and chord-type numbers
    static bool ValidElement(int e) { return e >= 0 && e < kElements; }
    static bool ValidChordVar(int cv) { return cv >= 0 && cv < kChordVars; }
    static bool ValidTrack(int t) { return t >= 0 && t < kTracks; }
    static bool ValidChordType(int i) { return i >= 0 && i < kChordTypes; }

    // Creation on access (the numbers must be in range)
    CNstStyleElem& Element(int e);
    CNstChordVar& ChordVar(int e, int cv);
    // The pattern of track t, taken into use when it is not created yet.
    CNstPattern& Pattern(int e, int cv, int t);

    // Lookup without creation (null when absent or out of range)
    CNstStyleElem* FindElement(int e);
    const CNstStyleElem* FindElement(int e) const;
    CNstChordVar* FindChordVar(int e, int cv);
    const CNstChordVar* FindChordVar(int e, int cv) const;

    // Queries: 0 absent, 1 present and empty, 2 with data
    int QueryStyleElem(int e) const;
    int QueryChordVar(int e, int cv) const;
    int QueryPattern(int e, int cv, int t) const;

    // Deletion (out of range or absent: nothing happens)
    void DeleteStyleElem(int e);
    void DeleteChordVar(int e, int cv);
    void DeletePattern(int e, int cv, int t);

    // Name: at most 31 bytes (Windows-1252)
    const std::string& name() const { return name_; }
    void SetName(std::string_view name);

    // Size estimate of the serialised style (a hint for the writer's buffer)
    size_t SizeEstimate() const;

    // Style-wide fields
    std::array<CNstStyleTrack, kTracks> tracks{};
    uint8_t styleByteA = 0;
    uint8_t styleByteB = 0;
    bool typeForcing = false; // pattern chunks take the per-track type on writing
    std::array<uint8_t, kTracks> trackPatternType{};
    int version = 0;
    int release = 0;

protected:
    // Hooks, called after the defaults are set
    virtual void OnElementCreated(CNstStyleElem& element, int e);
    virtual void OnChordVarCreated(CNstChordVar& cv, int index);
    virtual void OnPatternCreated(CNstPattern& pattern, int t);

private:
    std::string name_;
    std::array<std::unique_ptr<CNstStyleElem>, kElements> elements_;
};

} // namespace zib::ulvarf
