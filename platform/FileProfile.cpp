#include "platform/FileProfile.h"

#include "platform/FileIo.h"

#include <cstdlib>
#include <system_error>

namespace zib {

namespace {

// Section and value names compare like registry names: ASCII case ignored.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char kHex[] = "0123456789abcdef";

std::string escape(std::string_view text)
{
    // Spaces at the end of a text would be lost to the trimming of lines when
    // the file is read back, so they are escaped as well.
    const size_t plainEnd = text.find_last_not_of(' ') + 1; // 0 when the text is all spaces
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\' && i < plainEnd) {
            out += char(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 3 >= text.size() || text[i + 1] != 'x') return std::nullopt;
        int hi = hexDigit(text[i + 2]), lo = hexDigit(text[i + 3]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += char(hi * 16 + lo);
        i += 3;
    }
    return out;
}

std::optional<std::vector<uint8_t>> parseHex(std::string_view text)
{
    if (text.size() % 2) return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(uint8_t(hi * 16 + lo));
    }
    return out;
}

std::optional<int32_t> parseInt(std::string_view text)
{
    if (text.empty() || text.size() > 11) return std::nullopt;
    bool negative = text[0] == '-';
    size_t i = negative ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return int32_t(v);
}

std::string_view trimLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

} // namespace

FileProfile::FileProfile(std::filesystem::path path) : path_(std::move(path))
{
    load();
}

std::filesystem::path FileProfile::defaultPath()
{
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = ".config";
    }
    return base / "zib" / "zib.conf";
}

void FileProfile::load()
{
    // A file that is there but cannot be read (or is absurdly large) is never
    // replaced by what this run would write.
    keepFile_ = readSections(sections_) == FileState::Unreadable;
}

FileProfile::FileState FileProfile::readSections(std::vector<Section>& sections) const
{
    sections.clear();
    std::vector<uint8_t> bytes;
    if (readWholeFile(path_, bytes, uintmax_t(16) << 20) != FileIoError::None) {
        std::error_code ec;
        return std::filesystem::exists(path_, ec) || ec ? FileState::Unreadable : FileState::Missing;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Section* current = nullptr;
    while (!text.empty()) {
        size_t eol = text.find('\n');
        std::string_view line = trimLine(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                current = nullptr;
                continue;
            }
            std::string_view name = line.substr(1, line.size() - 2);
            current = nullptr;
            for (auto& s : sections)
                if (sameName(s.name, name)) current = &s;
            if (!current) {
                sections.push_back({std::string(name), {}});
                current = &sections.back();
            }
            continue;
        }
        size_t eq = line.find('=');
        size_t colon = line.find(':', eq == std::string_view::npos ? line.size() : eq);
        if (!current || eq == std::string_view::npos || eq == 0 || colon == std::string_view::npos) continue;
        std::string_view name = line.substr(0, eq);
        std::string_view type = line.substr(eq + 1, colon - eq - 1);
        std::string_view data = line.substr(colon + 1);
        std::optional<Value> value;
        if (type == "dword") {
            if (auto v = parseInt(data)) value = *v;
        } else if (type == "sz") {
            if (auto v = unescape(data)) value = std::move(*v);
        } else if (type == "hex") {
            if (auto v = parseHex(data)) value = std::move(*v);
        }
        if (!value) continue;
        bool replaced = false;
        for (auto& e : current->entries)
            if (sameName(e.name, name)) {
                e.value = std::move(*value);
                replaced = true;
            }
        if (!replaced) current->entries.push_back({std::string(name), std::move(*value)});
    }
    return FileState::Read;
}

const FileProfile::Value* FileProfile::find(std::string_view section, std::string_view name) const
{
    for (const auto& s : sections_) {
        if (!sameName(s.name, section)) continue;
        for (const auto& e : s.entries)
            if (sameName(e.name, name)) return &e.value;
    }
    return nullptr;
}

std::optional<int32_t> FileProfile::getInt(std::string_view section, std::string_view name) const
{
    const Value* v = find(section, name);
    if (!v || !std::holds_alternative<int32_t>(*v)) return std::nullopt;
    return std::get<int32_t>(*v);
}

std::optional<std::string> FileProfile::getString(std::string_view section, std::string_view name) const
{
    const Value* v = find(section, name);
    if (!v || !std::holds_alternative<std::string>(*v)) return std::nullopt;
    return std::get<std::string>(*v);
}

std::optional<std::vector<uint8_t>> FileProfile::getBinary(std::string_view section,
                                                           std::string_view name) const
{
    const Value* v = find(section, name);
    if (!v || !std::holds_alternative<std::vector<uint8_t>>(*v)) return std::nullopt;
    return std::get<std::vector<uint8_t>>(*v);
}

bool FileProfile::setInt(std::string_view section, std::string_view name, int32_t value)
{
    return store(section, name, value);
}

bool FileProfile::setString(std::string_view section, std::string_view name, std::string_view value)
{
    return store(section, name, std::string(value));
}

bool FileProfile::setBinary(std::string_view section, std::string_view name, std::span<const uint8_t> value)
{
    return store(section, name, std::vector<uint8_t>(value.begin(), value.end()));
}

bool FileProfile::store(std::string_view section, std::string_view name, Value value)
{
    if (keepFile_) return false;
    if (section.empty() || name.empty() || section.find_first_of("[]\n\r") != std::string_view::npos ||
        name.find_first_of("=\n\r") != std::string_view::npos)
        return false;
    // Another running copy of the program may have written since this one read
    // the file: start from the file as it is now, so that only this value changes.
    std::vector<Section> onDisk;
    const FileState state = readSections(onDisk);
    if (state == FileState::Unreadable) return false;
    sections_ = std::move(onDisk);
    Section* target = nullptr;
    for (auto& s : sections_)
        if (sameName(s.name, section)) target = &s;
    if (!target) {
        sections_.push_back({std::string(section), {}});
        target = &sections_.back();
    }
    Entry* entry = nullptr;
    for (auto& e : target->entries)
        if (sameName(e.name, name)) entry = &e;
    if (entry)
        entry->value = std::move(value);
    else
        target->entries.push_back({std::string(name), std::move(value)});

    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    return writeFileAtomically(path_, std::string_view(serialize())) == FileIoError::None;
}

std::string FileProfile::serialize() const
{
    std::string out = "# Zib settings; written by the program\n";
    for (const auto& s : sections_) {
        out += "\n[" + s.name + "]\n";
        for (const auto& e : s.entries) {
            out += e.name;
            if (auto* i = std::get_if<int32_t>(&e.value)) {
                out += "=dword:" + std::to_string(*i);
            } else if (auto* t = std::get_if<std::string>(&e.value)) {
                out += "=sz:" + escape(*t);
            } else {
                out += "=hex:";
                for (uint8_t b : std::get<std::vector<uint8_t>>(e.value)) {
                    out += kHex[b >> 4];
                    out += kHex[b & 15];
                }
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace zib
