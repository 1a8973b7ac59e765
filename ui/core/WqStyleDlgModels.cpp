#include "ui/core/WqStyleDlgModels.h"

namespace zib {

namespace {

bool layoutA(uint32_t modelLetter)
{
    return modelLetter == '9' || modelLetter == '<' || modelLetter == 'H';
}

const char* const kNotes[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

} // namespace

size_t WqStyleHeadSize(uint32_t modelLetter)
{
    return layoutA(modelLetter) ? 1168 : 1176;
}

bool WqStyleImageEditable(uint32_t modelLetter, size_t imageSize)
{
    return imageSize >= WqStyleHeadSize(modelLetter);
}

EditChordTableDlgModel::EditChordTableDlgModel(std::optional<WqStyleItemRef> item, int element)
    : item_(std::move(item)), element_(element)
{
    start_.fill(-1);
    usable_ = element_ >= 0 && element_ <= 9 &&
              (!item_ || WqStyleImageEditable(item_->modelLetter, item_->image.size()));
    if (!usable_ || !item_) return;
    const int cvs = element_ <= 3 ? 6 : 2;
    for (int t = 0; t < kChordTypes; ++t) {
        int v = item_->image[offset() + size_t(t)];
        start_[size_t(t)] = v < cvs ? v : -1;
    }
}

size_t EditChordTableDlgModel::offset() const
{
    return (layoutA(item_->modelLetter) ? 134 : 142) + 20 * size_t(element_);
}

std::vector<std::string> EditChordTableDlgModel::Choices() const
{
    std::vector<std::string> out;
    for (int cv = 0; cv < (element_ <= 3 ? 6 : 2); ++cv)
        out.push_back("CV" + std::to_string(cv + 1));
    return out;
}

bool EditChordTableDlgModel::Ok(const std::array<int, kChordTypes>& chosen)
{
    if (!usable_ || !item_) return false;
    for (int t = 0; t < kChordTypes; ++t) {
        int v = chosen[size_t(t)];
        item_->image[offset() + size_t(t)] = uint8_t(v < 0 || v > 5 ? 0 : v);
    }
    if (item_->setModified) item_->setModified();
    return true;
}

std::string CvParamsDlgModel::KeyName(int value)
{
    if (value < 0 || value > 23) return {};
    return std::string(kNotes[value / 2]) + (value % 2 ? "min" : "Major");
}

int CvParamsDlgModel::KeyValueOf(std::string_view name)
{
    for (int v = 0; v < 24; ++v)
        if (KeyName(v) == name) return v;
    return -1;
}

int CvParamsDlgModel::LengthValueOf(std::string_view text)
{
    for (int v = 0; v <= 16; ++v)
        if (std::to_string(v) == text) return v;
    return -1;
}

std::vector<std::string> CvParamsDlgModel::KeyNames()
{
    std::vector<std::string> out;
    for (int v = 0; v < 24; ++v)
        out.push_back(KeyName(v));
    return out;
}

std::vector<std::string> CvParamsDlgModel::LengthTexts()
{
    std::vector<std::string> out;
    for (int v = 0; v <= 16; ++v)
        out.push_back(std::to_string(v));
    return out;
}

CvParamsDlgModel::CvParamsDlgModel(std::optional<WqStyleItemRef> item, int element, int cv)
    : item_(std::move(item))
{
    const bool validCv = element >= 0 && element <= 9 && cv >= 0 && cv < (element <= 3 ? 6 : 2);
    slot_ = validCv ? (element <= 3 ? element * 6 + cv : element * 2 + 16 + cv) : -1;
    usable_ = validCv && (!item_ || WqStyleImageEditable(item_->modelLetter, item_->image.size()));
    if (!usable_ || !item_) return;
    key_ = item_->image[offset()];
    length_ = item_->image[offset() + 1];
}

size_t CvParamsDlgModel::offset() const
{
    return (layoutA(item_->modelLetter) ? 62 : 70) + 2 * size_t(slot_);
}

bool CvParamsDlgModel::Ok(std::string_view keyText, std::string_view lengthText)
{
    if (!usable_ || !item_) return false;
    if (int k = KeyValueOf(keyText); k >= 0) key_ = k;
    if (int l = LengthValueOf(lengthText); l >= 0) length_ = l;
    item_->image[offset()] = uint8_t(key_);
    item_->image[offset() + 1] = uint8_t(length_);
    if (item_->setModified) item_->setModified();
    return true;
}

} // namespace zib
