#include "docs/program/core/PedalSwDlgModel.h"

#include "docs/program/core/Wq41FunctionTable.h"
#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

void PedalSwDlgModel::FunctionList(int model, std::vector<std::string>& names, std::vector<int>& codes)
{
    names.clear();
    codes.clear();
    if (model == 'I') {
        names = builtInWq41Functions().Names();
        for (int c = 0; c < int(names.size()); ++c)
            codes.push_back(c);
        return;
    }
    // The footswitch table holds its functions by code, with gaps.
    for (int c = 0; c < 256; ++c) {
        const std::string text = GetFootswitchFunctionText(c);
        if (text == "???") continue;
        names.push_back(text);
        codes.push_back(c);
    }
}

PedalSwDlgModel::PedalSwDlgModel(int model, std::string pedalName, int code) : name(std::move(pedalName)), code_(code)
{
    FunctionList(model, options, codes);
    const auto it = std::find(codes.begin(), codes.end(), code);
    selection = it == codes.end() ? -1 : int(it - codes.begin());
}

int PedalSwDlgModel::Ok() const
{
    return selection >= 0 && selection < int(codes.size()) ? codes[size_t(selection)] : code_;
}

} // namespace zib
