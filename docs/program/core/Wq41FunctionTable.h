#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The pedal and switch functions of the Wq41 by code (65 entries of at most
// 25 characters), as its global-data dialogs list them. The rows come from
// data/names/wq41-functions.tsv: "code, name" per line, '#' starting a
// comment, codes 0 to 64 in order.
class Wq41FunctionTable {
public:
    static constexpr int kCount = 65;
    static constexpr const char* kFile = "names/wq41-functions.tsv";

    // The name of a code; "???" for a code past the table (or a row missing).
    std::string Name(int code) const;
    const std::vector<std::string>& Names() const { return names_; }

    // Loading; lines that cannot be used and missing rows go to Problems().
    void LoadText(std::string_view text);
    static Wq41FunctionTable LoadFile(const std::filesystem::path& path);
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    std::vector<std::string> names_;
    std::vector<std::string> problems_;
};

// The table of the program's data folder, loaded on first use.
const Wq41FunctionTable& builtInWq41Functions();

} // namespace zib
