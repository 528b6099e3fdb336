#include "memory_profile_store.h"

#include <algorithm>
#include <cstring>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& s) {
    std::size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// A stored value as the platform hands it out: blanks around it dropped, then one pair of matching quotes.
std::string AsRead(const std::string& stored) {
    std::string value = Trimmed(stored);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// Copies one string, cut to size - 1 characters; returns the characters copied.
DWORD CopyCut(const std::string& text, char* buffer, DWORD size) {
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

// Copies a list of names, each terminated, with a final extra terminator. When the list does not fit it
// is cut, ends in two terminators, and the count is size - 2, as the platform reports it.
DWORD CopyList(const std::vector<std::string>& names, char* buffer, DWORD size) {
    std::string list;
    for (const std::string& n : names)
        list.append(n).push_back('\0');
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

} // namespace

const MemoryProfileStore::File* MemoryProfileStore::FindFile(const std::string& path) const {
    for (const File& f : m_files)
        if (SameName(f.path, path)) return &f;
    return nullptr;
}

MemoryProfileStore::File& MemoryProfileStore::FileFor(const std::string& path) {
    if (const File* f = FindFile(path)) return const_cast<File&>(*f);
    m_files.push_back(File{path, {}});
    return m_files.back();
}

const MemoryProfileStore::Section* MemoryProfileStore::FindSection(const File& file,
                                                                   const std::string& name) {
    for (const Section& s : file.sections)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

MemoryProfileStore::Section* MemoryProfileStore::FindSection(File& file, const std::string& name) {
    return const_cast<Section*>(FindSection(static_cast<const File&>(file), name));
}

const std::string* MemoryProfileStore::FindKey(const Section& section, const std::string& key) {
    for (const auto& k : section.keys)
        if (SameName(k.first, key)) return &k.second;
    return nullptr;
}

DWORD MemoryProfileStore::GetString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, DWORD size, const char* path) {
    if (buffer == nullptr || size == 0) return 0;
    const File* file = path ? FindFile(path) : nullptr;
    if (section == nullptr) {
        std::vector<std::string> names;
        if (file)
            for (const Section& s : file->sections)
                names.push_back(s.name);
        return CopyList(names, buffer, size);
    }
    const Section* found = file ? FindSection(*file, section) : nullptr;
    if (key == nullptr) {
        std::vector<std::string> names;
        if (found)
            for (const auto& k : found->keys)
                names.push_back(k.first);
        return CopyList(names, buffer, size);
    }
    if (const std::string* value = found ? FindKey(*found, key) : nullptr)
        return CopyCut(AsRead(*value), buffer, size);
    // The platform drops trailing blanks from the default.
    std::string fallback = defaultValue ? defaultValue : "";
    while (!fallback.empty() && IsBlank(fallback.back()))
        fallback.pop_back();
    return CopyCut(fallback, buffer, size);
}

BOOL MemoryProfileStore::WriteString(const char* section, const char* key, const char* value,
                                     const char* path) {
    auto opt = [](const char* s) { return s ? std::optional<std::string>(s) : std::nullopt; };
    writes.push_back(ProfileWrite{path ? path : "", opt(section), opt(key), opt(value)});
    if (section == nullptr || path == nullptr) return FALSE;
    File& file = FileFor(path);
    Section* found = FindSection(file, section);
    if (key == nullptr) { // deletes the whole section
        if (found) file.sections.erase(file.sections.begin() + (found - file.sections.data()));
        return TRUE;
    }
    if (found == nullptr) {
        if (value == nullptr) return TRUE;
        file.sections.push_back(Section{section, {}});
        found = &file.sections.back();
    }
    auto it =
        std::find_if(found->keys.begin(), found->keys.end(),
                     [&](const std::pair<std::string, std::string>& k) { return SameName(k.first, key); });
    if (value == nullptr) {
        if (it != found->keys.end()) found->keys.erase(it);
    } else if (it != found->keys.end()) {
        it->second = value;
    } else {
        found->keys.emplace_back(key, value);
    }
    return TRUE;
}

void MemoryProfileStore::Set(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) {
    const std::size_t before = writes.size();
    WriteString(section.c_str(), key.c_str(), value.c_str(), path.c_str());
    writes.resize(before);
}

std::optional<std::string> MemoryProfileStore::Value(const std::string& path, const std::string& section,
                                                     const std::string& key) const {
    const File* file = FindFile(path);
    const Section* s = file ? FindSection(*file, section) : nullptr;
    const std::string* v = s ? FindKey(*s, key) : nullptr;
    return v ? std::optional<std::string>(*v) : std::nullopt;
}
