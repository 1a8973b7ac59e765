#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "styles/WqEvent.h"
#include "styles/WqStyleLayout.h"

namespace zib {

// A Wq-series style image seen through the layout of its model. The image
// belongs to the caller. Reads never pass the given size: a field outside the
// image reads as 0. Element, CV and track arguments are checked by assertions;
// out of range in a release build they read as 0 / false.
class CWqStyleData {
public:
    CWqStyleData() = default;
    CWqStyleData(const uint8_t* image, size_t size, uint32_t model) : image_(image), size_(image ? size : 0), model_(model) {}
    virtual ~CWqStyleData() = default;

    // The image and its model
    void SetImage(const uint8_t* image, size_t size) { image_ = image; size_ = image ? size : 0; }
    void SetModel(uint32_t model) { model_ = model; }
    const uint8_t* GetImage() const { return image_; }
    size_t GetImageSize() const { return size_; }
    uint32_t GetModel() const { return model_; }
    const wq::Layout& GetLayout() const { return wq::layoutOf(model_); }
    uint32_t GetHeadSize() const { return GetLayout().headSize; }
    WqImageError Validate() const { return ValidateWqImage(image_, size_, model_); }

    // Head fields
    std::string GetStyleName() const;           // file-name-safe, see below
    std::string GetRawStyleName() const;        // the name field up to its first zero byte
    uint8_t GetOrigin() const { return u8At(GetLayout().origin); }
    int GetTempo() const { return u8At(GetLayout().tempo) + 30; }
    uint8_t GetTimeSigByte() const { return u8At(GetLayout().timeSig); }
    uint8_t GetTimeSigCode() const { return GetTimeSigByte() & 0x7F; }
    bool IsLowResolution() const { return (GetTimeSigByte() & 0x80) != 0; }
    uint8_t GetRetriggerByte() const { return u8At(GetLayout().retrigger); }
    uint8_t GetWrapAround(uint8_t index) const; // 0 BASS, 1 ACC1, 2 ACC2, 3 ACC3
    uint8_t GetTensionByte() const { return u8At(GetLayout().tension); }
    bool GetHeaderFlag(uint8_t track) const;    // tension bit of ACC1-ACC3 (tracks 3-5)

    // Track records
    uint16_t GetTrackWord(uint8_t element, uint8_t track) const;  // sound word; element ignored
    uint8_t GetTrackParam(uint8_t element, uint8_t track) const;  // volume; element ignored
    uint8_t GetTrackPan(uint8_t track) const;
    uint32_t GetCvTrackInfo(uint8_t element, uint8_t track) const; // (bank word << 16) + program

    // Chord variations
    uint8_t GetCvKeyByte(uint8_t element, uint8_t cv) const;
    uint8_t GetCvLength(uint8_t element, uint8_t cv) const;
    uint8_t GetCvKey(uint8_t element, uint8_t cv, uint8_t track) const;       // 0-11; track ignored
    uint8_t GetCvChordType(uint8_t element, uint8_t cv, uint8_t track) const; // 9 minor, 2 major, 0 none
    bool IsChordVarEmpty(uint8_t element, uint8_t cv) const;
    bool IsStyleElementEmpty(uint8_t element) const;
    bool HasTrackData(uint8_t element, uint8_t cv, uint8_t track) const;

    // Chord tables
    uint8_t GetElementList(uint8_t element, uint8_t chordIndex) const;
    bool IsInElementList(uint8_t element, uint8_t value) const;

    // Pattern table and offset table
    uint8_t GetPatternTimeSig(int pattern) const;
    uint8_t GetPatternLength(int pattern) const;
    uint16_t GetOffsetEntry(int entry) const;

    // The events of track slot 0-215 or of pattern 0-99, bounded by the image
    // size; a run whose end lies before its start is empty.
    std::span<const uint8_t> GetSlotRun(int slot) const { return GetEntryRun(slot); }
    std::span<const uint8_t> GetPatternRun(int pattern) const;
    std::span<const uint8_t> GetEntryRun(int entry) const;

    // Name tables (usable without an image)
    static const char* GetStyleElementName(int element); // "Variation1" ... "Fill2"
    static const char* GetTrackName(int track);          // "DRUM" ... "ACC3"
    static const char* GetCvName(int cv);                // "CV1" ... "CV6"
    static const char* GetKeyName(int keyByte);          // "CMajor" ... "Bmin"
    static const char* GetChordTypeName(int chordType);  // "-", "Major" ... "augMaj7"
    static std::string GetNoteName(int note);            // "C4" for 60
    static std::string GetTickPositionText(uint16_t ticks); // "%d.%02d" beat from 1, "TIE"
    static std::string GetTickLengthText(uint16_t ticks);   // "%d.%02d" beat from 0, "TIE"

    // The name bytes made usable as a file name: cut at the first zero byte,
    // every \ / : * ? " > < | . ` ' blank and every byte below 32 or from 127
    // on becomes '_'.
    static std::string MakeFileNameSafe(std::string_view name);

protected:
    uint8_t u8At(size_t offset) const { return offset < size_ ? image_[offset] : 0; }
    uint16_t u16At(size_t offset) const { return uint16_t(u8At(offset) | (u8At(offset + 1) << 8)); }

private:
    const uint8_t* image_ = nullptr;
    size_t size_ = 0;
    uint32_t model_ = wq::kModelWq8;
};

} // namespace zib
