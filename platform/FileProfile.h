#pragma once

#include "platform/Profile.h"

#include <filesystem>
#include <variant>

namespace zib {

// Profile kept in one text file, rewritten whole (atomically) on every change:
//
//   [Settings]
//   LastOpenedFileType=dword:2
//   Author=sz:Jane Doe
//   UserMidiOutPorts=hex:0001ff00
//
// Strings are bytes; anything outside printable ASCII, the backslash and
// trailing spaces are written as \xHH so the file stays plain ASCII. Lines
// that cannot be parsed are ignored when loading (the value counts as
// missing). A file that exists but cannot be read is left alone: every write
// then fails. Each write reads the file again first and changes only its own
// value, so two running copies of the program do not undo each other's writes.
class FileProfile : public Profile {
public:
    // Loads `path` when it exists; the file and its folder are created on the first write.
    explicit FileProfile(std::filesystem::path path);

    // The default settings file: $XDG_CONFIG_HOME/zib/zib.conf, or
    // ~/.config/zib/zib.conf when XDG_CONFIG_HOME is unset or not absolute.
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return path_; }

    // Profile
    std::optional<int32_t> getInt(std::string_view section, std::string_view name) const override;
    std::optional<std::string> getString(std::string_view section, std::string_view name) const override;
    std::optional<std::vector<uint8_t>> getBinary(std::string_view section,
                                                  std::string_view name) const override;
    bool setInt(std::string_view section, std::string_view name, int32_t value) override;
    bool setString(std::string_view section, std::string_view name, std::string_view value) override;
    bool setBinary(std::string_view section, std::string_view name, std::span<const uint8_t> value) override;

private:
    using Value = std::variant<int32_t, std::string, std::vector<uint8_t>>;
    struct Entry {
        std::string name;
        Value value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // What reading the file found.
    enum class FileState { Missing, Read, Unreadable };

    void load();
    FileState readSections(std::vector<Section>& sections) const;
    bool store(std::string_view section, std::string_view name, Value value);
    const Value* find(std::string_view section, std::string_view name) const;
    std::string serialize() const;

    std::filesystem::path path_;
    std::vector<Section> sections_;
    bool keepFile_ = false;
};

} // namespace zib
