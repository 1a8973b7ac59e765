#pragma once

#include <string>
#include <vector>

namespace zib {

// The Add Instruments dialog: the instruments an .INS file defines, of which
// the user keeps the ones to import.
class AddInstrumentsModel {
public:
    struct Item {
        std::string name; // Windows-1252 bytes
        size_t index;     // position in the wanted names
    };

    // Lists every non-empty name of `wantedNames` (the parser's) in order.
    explicit AddInstrumentsModel(std::vector<std::string>& wantedNames);

    const std::vector<Item>& Items() const { return items_; }

    // OK: removes from the wanted names every listed name whose item is not
    // selected (`selected` holds one flag per item).
    void Apply(const std::vector<bool>& selected);

private:
    std::vector<std::string>& wantedNames_;
    std::vector<Item> items_;
};

} // namespace zib
