#include "mididoc/core/EditEventCodeDlgModel.h"

namespace zib {

namespace {

constexpr uint32_t kStyleDocument = 2;

} // namespace

EditEventCodeDlgModel::EditEventCodeDlgModel(uint8_t oldStatus, uint8_t metaType, uint32_t docKind,
                                             uint32_t modelLetter)
    : m_oldStatus(oldStatus), m_metaType(metaType), m_docKind(docKind), m_modelLetter(modelLetter)
{
}

bool EditEventCodeDlgModel::QeStyle() const
{
    return m_docKind == kStyleDocument && (m_modelLetter == 'F' || m_modelLetter == 'X');
}

std::optional<EditEventCodeDlgModel::Button> EditEventCodeDlgModel::InitialButton() const
{
    switch (m_oldStatus & 0xF0) {
    case 0x80:
    case 0x90:
        return kNote;
    case 0xA0:
        return QeStyle() ? kNote : kKeyPressure;
    case 0xB0:
        return kController;
    case 0xC0:
        return QeStyle() ? kNote : kProgramChange;
    case 0xD0:
        return QeStyle() ? kNote : kChannelAftertouch;
    case 0xE0:
        return kPitchWheel;
    default:
        break;
    }
    if (m_oldStatus != 0xFF) return std::nullopt;
    switch (m_metaType) {
    case 1:
        return kText;
    case 5:
        return kLyric;
    case 6:
        return kMarker;
    default:
        return std::nullopt;
    }
}

bool EditEventCodeDlgModel::Enabled(Button button) const
{
    if (m_docKind == kStyleDocument && (button == kText || button == kLyric || button == kMarker)) return false;
    if (QeStyle() && (button == kKeyPressure || button == kProgramChange || button == kChannelAftertouch))
        return false;
    return button < kButtonCount;
}

EditEventCodeDlgModel::Result EditEventCodeDlgModel::Ok(std::optional<Button> checked) const
{
    Result r{m_oldStatus, m_metaType};
    if (!checked || *checked >= kButtonCount) return r;
    const uint8_t channel = m_oldStatus & 0x0F;
    switch (*checked) {
    case kText:
        return {0xFF, 1};
    case kLyric:
        return {0xFF, 5};
    case kMarker:
        return {0xFF, 6};
    default:
        r.status = uint8_t(0x90 + 0x10 * int(*checked)) | channel;
        r.metaType = m_metaType;
        return r;
    }
}

} // namespace zib
