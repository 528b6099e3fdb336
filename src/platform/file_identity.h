// What a media file holds, told apart from other files without reading all of it: its size and a hash of
// its first and last 64 KiB (of the whole file when it is no larger than both). A file moved or renamed
// keeps its identity; a copy with one byte changed in either end does not. A file whose read ends hold
// nothing but zero bytes has none.
#pragma once
#include <cstddef>
#include <cstdint>

struct FileIdentity {
    std::uint64_t size = 0; // 0: unknown (an empty file has none: every empty file would match)
    std::uint64_t hash = 0;

    bool Known() const { return size != 0; }
    bool operator==(const FileIdentity& other) const { return size == other.size && hash == other.hash; }
};

namespace file_identity {
// Each end of a file that is read for its identity.
constexpr std::size_t kEndBytes = 64 * 1024;

// head: the file's first bytes (all of them when size <= 2 * kEndBytes), tail: its last kEndBytes
// (none when head holds the whole file).
FileIdentity Of(std::uint64_t size, const unsigned char* head, std::size_t headBytes,
                const unsigned char* tail, std::size_t tailBytes);
} // namespace file_identity
