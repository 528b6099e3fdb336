#include "memory_file_store.h"

bool MemoryFileStore::ReadAll(const std::string& path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const auto it = files.find(path);
    if (it == files.end() || locked.count(path) != 0) return false;
    ++reads;
    bytes = it->second;
    return true;
}

bool MemoryFileStore::Replace(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (locked.count(path) != 0 || readOnly.count(path) != 0) return false;
    files[path] = bytes;
    ++replaces;
    return true;
}
