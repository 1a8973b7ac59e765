#include "docs/style/core/NttDlgModel.h"

#include "docs/style/core/QeStyleEditor.h"
#include "midi/ValueTexts.h"

#include <array>

namespace zib {

NttDlgModel::NttDlgModel(QeStyleEditor& editor, int element) : editor_(editor), element_(element)
{
    ntt = editor.Ntt(element);
}

std::string NttDlgModel::ElementName() const
{
    return GetQeElementName(element_);
}

const char* NttDlgModel::ButtonText(int button)
{
    static constexpr std::array<const char*, kButtons> texts{"Transpose Root", "Transpose 5th",
                                                             "wq-series compatibility", "No Transpose"};
    return button >= 0 && button < kButtons ? texts[size_t(button)] : "";
}

int NttDlgModel::Ok(int button)
{
    if (button < 0 || button >= kButtons || uint8_t(button) == ntt) return changed;
    ntt = uint8_t(button);
    editor_.SetNtt(element_, ntt);
    changed = 1;
    return changed;
}

} // namespace zib
