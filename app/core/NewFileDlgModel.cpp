#include "app/core/NewFileDlgModel.h"

#include "ui/core/AsciiCase.h"

namespace zib {

NewFileDlgModel::Start NewFileDlgModel::Begin(const std::vector<Template>& templates)
{
    templates_ = templates;
    entryNames_.clear();
    entryTemplates_.clear();
    for (size_t i = 0; i < templates_.size(); ++i) {
        const std::string& name = templates_[i].fileNewName;
        if (name.empty() || name.find("*.gbl") != std::string::npos ||
            name.find("*.arg") != std::string::npos)
            continue;
        entryNames_.push_back(name);
        entryTemplates_.push_back(int(i));
    }
    if (entryNames_.empty()) return Start::EndMinusOne;
    ChooseEntry(0);
    return entryNames_.size() == 1 ? Start::EndOk : Start::Show;
}

void NewFileDlgModel::ChooseEntry(int entry)
{
    if (entry < 0 || entry >= int(entryNames_.size())) {
        chosenEntry_ = -1;
        subTypeNames_.clear();
        subTypesEnabled_ = false;
        subType_ = -1;
        return;
    }
    chosenEntry_ = entry;
    fillSubTypes();
}

void NewFileDlgModel::fillSubTypes()
{
    const std::string ext = LowerAscii(templates_[size_t(entryTemplates_[size_t(chosenEntry_)])].filterExt);
    if (ext == ".mid") {
        subTypeNames_ = {"Normal template", "16 track template"};
    } else if (ext == ".pcg;*.prg") {
        subTypeNames_ = {"Qe-series PCG", "WQ8/WqT517/WQ6 PCG", "WQ41/WqR65 PRG"};
    } else {
        subTypeNames_.clear();
        subTypesEnabled_ = false;
        subType_ = -1;
        return;
    }
    subTypesEnabled_ = true;
    subType_ = 0;
}

void NewFileDlgModel::ChooseSubType(int position)
{
    subType_ = (position >= 0 && position < int(subTypeNames_.size())) ? position : -1;
}

int NewFileDlgModel::templateIndex() const
{
    return chosenEntry_ < 0 ? -1 : entryTemplates_[size_t(chosenEntry_)];
}

} // namespace zib
