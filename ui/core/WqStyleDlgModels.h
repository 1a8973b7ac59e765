#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The Wq style item the two Wq style dialogs edit in place: its model letter
// and its Wq style image. `setModified` marks the owning document modified.
struct WqStyleItemRef {
    uint32_t modelLetter = '9';
    std::span<uint8_t> image;
    std::function<void()> setModified;
};

// The head of a Wq style image: 1168 bytes in layout A (models '9', '<', 'H'),
// 1176 in layout B (the others). The dialogs address bytes inside it and are
// offered only for images at least this long.
size_t WqStyleHeadSize(uint32_t modelLetter);
bool WqStyleImageEditable(uint32_t modelLetter, size_t imageSize);

// The "Edit Chord Table" dialog (197): which CV of one element plays each of
// the 20 chord types (combo boxes 1583-1602).
class EditChordTableDlgModel {
public:
    static constexpr int kChordTypes = 20;
    static constexpr int kFirstCombo = 1583;

    // `item` empty: no item given (the boxes start with nothing selected).
    EditChordTableDlgModel(std::optional<WqStyleItemRef> item, int element);

    // False when the item's image is too short to hold the table (the dialog
    // is then not offered) or the element is outside 0-9.
    bool usable() const { return usable_; }

    // The entries of every box: "CV1".."CV6" for VAR1-VAR4, "CV1", "CV2" otherwise.
    std::vector<std::string> Choices() const;
    // The entry each box selects at start (-1 none).
    int SelectedAtStart(int chordType) const { return start_[size_t(chordType)]; }

    // OK: each box's chosen CV (none = 0, above 5 = 0) goes into the table;
    // the document is marked modified. False when nothing could be written.
    bool Ok(const std::array<int, kChordTypes>& chosen);

private:
    size_t offset() const;

    std::optional<WqStyleItemRef> item_;
    int element_;
    bool usable_ = false;
    std::array<int, kChordTypes> start_{};
};

// The "Chord Variation Parameters" dialog (198): key and length of one CV.
class CvParamsDlgModel {
public:
    // The 24 key names by value: 2 x note, + 1 for minor ("CMajor", "Cmin", ... "Bmin").
    static std::string KeyName(int value);
    // The value of a key name or length text; -1 when it names none.
    static int KeyValueOf(std::string_view name);
    static int LengthValueOf(std::string_view text);
    // The texts of the two lists ("CMajor".., "0".."16"), in value order.
    static std::vector<std::string> KeyNames();
    static std::vector<std::string> LengthTexts();

    CvParamsDlgModel(std::optional<WqStyleItemRef> item, int element, int cv);

    // False when the image is too short, or element and CV name no slot.
    bool usable() const { return usable_; }
    int slot() const { return slot_; }

    // Values at start (-1 when no item is given)
    int key() const { return key_; }
    int length() const { return length_; }

    // OK with the chosen texts (empty = nothing chosen: that value is kept);
    // both bytes are written and the document marked modified.
    bool Ok(std::string_view keyText, std::string_view lengthText);

private:
    size_t offset() const;

    std::optional<WqStyleItemRef> item_;
    bool usable_ = false;
    int slot_ = -1;
    int key_ = -1;
    int length_ = -1;
};

} // namespace zib
