#pragma once

#include <string>
#include <vector>

namespace zib {

// The "Pedal & SW Dialog" (204) of one pedal or switch without its window:
// its name, a list of the model's functions ('M': the footswitch functions,
// 'I': the Wq41 function table) with the current one selected (none for a
// code the list does not hold), and OK's code (the code as it came when
// nothing is selected).
class PedalSwDlgModel {
public:
    PedalSwDlgModel(int model, std::string name, int code);

    std::string name;
    std::vector<std::string> options;
    std::vector<int> codes; // the code of each option
    int selection = -1;

    int Ok() const;

    // The functions of the model, with their codes.
    static void FunctionList(int model, std::vector<std::string>& names, std::vector<int>& codes);

private:
    int code_;
};

} // namespace zib
