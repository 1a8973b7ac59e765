#pragma once

#include <string>
#include <vector>

namespace zib {

// The "Select New Document Type" dialog (252): document kind and sub-type for File New.
class NewFileDlgModel {
public:
    // A registered template as the dialog sees it.
    struct Template {
        std::string fileNewName; // third document string, "Midi Files (*.mid)"
        std::string filterExt;   // filter extension field as the template reports it
    };

    // How the dialog starts.
    enum class Start {
        EndMinusOne, // nothing to offer: ends with -1
        EndOk,       // exactly one entry: ends at once with OK and that template
        Show,        // the first entry selected
    };

    // Fills list 1914 from the templates in registration order, skipping
    // empty names and those containing "*.gbl" or "*.arg".
    Start Begin(const std::vector<Template>& templates);

    // Choosing in list 1914 makes the entry's template current and refills
    // list 1915; choosing in list 1915 sets the sub-type.
    void ChooseEntry(int entry);
    void ChooseSubType(int position);

    // List 1914: entries (names) and the template index each carries
    const std::vector<std::string>& entryNames() const { return entryNames_; }
    int chosenEntry() const { return chosenEntry_; }

    // List 1915
    const std::vector<std::string>& subTypeNames() const { return subTypeNames_; }
    bool subTypesEnabled() const { return subTypesEnabled_; }
    int subType() const { return subType_; }

    // The result: the template (index into the templates given, -1 none) and sub-type.
    int templateIndex() const;

private:
    void fillSubTypes();

    std::vector<Template> templates_;
    std::vector<std::string> entryNames_;
    std::vector<int> entryTemplates_;
    int chosenEntry_ = -1;
    std::vector<std::string> subTypeNames_;
    bool subTypesEnabled_ = false;
    int subType_ = -1;
};

} // namespace zib
