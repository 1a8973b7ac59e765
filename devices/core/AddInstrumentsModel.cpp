#include "devices/core/AddInstrumentsModel.h"

namespace zib {

AddInstrumentsModel::AddInstrumentsModel(std::vector<std::string>& wantedNames) : wantedNames_(wantedNames)
{
    for (size_t i = 0; i < wantedNames_.size(); ++i)
        if (!wantedNames_[i].empty()) items_.push_back({wantedNames_[i], i});
}

void AddInstrumentsModel::Apply(const std::vector<bool>& selected)
{
    // From the last item to the first, so the indexes of the others stay valid.
    for (size_t i = items_.size(); i-- > 0;) {
        if (i < selected.size() && selected[i]) continue;
        const size_t index = items_[i].index;
        if (index < wantedNames_.size()) wantedNames_.erase(wantedNames_.begin() + std::ptrdiff_t(index));
    }
    items_.clear();
}

} // namespace zib
