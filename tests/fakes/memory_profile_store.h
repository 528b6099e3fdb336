// An in-memory INI store with the reading rules of GetPrivateProfileStringA / WritePrivateProfileStringA:
// one file per path, section and key names compared without regard to case, values trimmed of blanks
// and of one pair of enclosing quotes when read, results cut to the buffer with the platform's counts.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_store.h"

struct ProfileWrite {
    std::string path;
    std::optional<std::string> section, key, value; // absent: the call passed a null pointer
};

class MemoryProfileStore : public ProfileStore {
public:
    DWORD GetString(const char* section, const char* key, const char* defaultValue, char* buffer, DWORD size,
                    const char* path) override;
    BOOL WriteString(const char* section, const char* key, const char* value, const char* path) override;

    // Test set-up and inspection; none of these counts as a write.
    void Set(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value);
    std::optional<std::string> Value(const std::string& path, const std::string& section,
                                     const std::string& key) const;
    bool HasFile(const std::string& path) const { return FindFile(path) != nullptr; }

    // Every WriteString call, in order, whatever it wrote or deleted.
    std::vector<ProfileWrite> writes;
    std::size_t WriteCount() const { return writes.size(); }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    struct File {
        std::string path;
        std::vector<Section> sections;
    };

    const File* FindFile(const std::string& path) const;
    File& FileFor(const std::string& path);
    static const Section* FindSection(const File& file, const std::string& name);
    static Section* FindSection(File& file, const std::string& name);
    static const std::string* FindKey(const Section& section, const std::string& key);

    std::vector<File> m_files;
};
