#include "memory_file_store.h"

FileStore::Reading MemoryFileStore::ReadAll(const std::string& path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const auto it = files.find(path);
    if (it == files.end()) return Reading::Absent;
    if (locked.count(path) != 0) return Reading::Unreadable;
    ++reads;
    bytes = it->second;
    return Reading::Read;
}

FileStore::Outcome MemoryFileStore::Replace(const std::string& path,
                                            const std::vector<unsigned char>& bytes) {
    ++attempts;
    if (locked.count(path) != 0) return Outcome::Refused;
    if (readOnly.count(path) != 0) return Outcome::Failed;
    files[path] = bytes;
    ++replaces;
    return Outcome::Written;
}

FileIdentity MemoryFileStore::Identify(const std::string& path, bool) {
    const auto it = files.find(path);
    if (it == files.end() || locked.count(path) != 0) return FileIdentity{};
    ++identified;
    const std::vector<unsigned char>& b = it->second;
    const std::size_t end = file_identity::kEndBytes;
    if (b.size() <= 2 * end) return file_identity::Of(b.size(), b.data(), b.size(), nullptr, 0);
    return file_identity::Of(b.size(), b.data(), end, b.data() + b.size() - end, end);
}
