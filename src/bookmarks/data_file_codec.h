// The bookmark data file as bytes: pure functions, no file access.
//
// All integers are 32-bit signed little-endian. The current layout is Version (31), Count, then Count
// entries of tag 1, name length, name bytes, position, most recently used first. An older layout has no
// version word and no entry tag; a first word of 30 or less is read as its count.
//
// A name the ANSI code page cannot represent (see file_name.h) is written with entry tag 2 and its UTF-8
// bytes; every other name exactly as before, with tag 1. Older readers ignore the tag.
//
// A name known with its file's identity is followed, inside its name field, by a zero byte, the file's
// size and its hash (64-bit little-endian each): a reader that ends names at their first zero byte reads
// the name alone.
//
// When an entry knows when it was last played or its length, a block follows the last entry, where every
// reader that reads Count entries stops: the word kExtrasTag, the count again, then per entry in file
// order when it was last played (seconds since 1970 UTC, 64-bit) and its length (ms, 0 when unknown). A
// block that does not match the entries read is ignored.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bookmarks/bookmark_entry.h"

namespace data_file {
constexpr int kVersion = 31;
// The file keeps this many of the most recently used entries by default; the list in memory may be longer.
// A first word above it is the current layout's version.
constexpr std::size_t kMaxEntries = 30;
// Loading stops after this many entries: every file the plug-in ever wrote holds at most kMaxEntries,
// and a damaged file of millions of tiny entries would otherwise stall the host's start.
constexpr std::size_t kMaxLoadedEntries = 1000;
// The longest name the host can hand over; an entry with a longer name is no file of the host's, and is
// dropped at load. A UTF-8 name may take up to three bytes for each of the host's UTF-16 units.
constexpr std::size_t kMaxNameBytes = 4096;
constexpr int kAnsiTag = 1;
constexpr int kWideTag = 2;
constexpr std::int32_t kExtrasTag = 0x5856524D; // "MRVX"
} // namespace data_file

struct DecodedDataFile {
    // In file order, stamped so that stamps are unique and order them by recency: the current layout
    // lists the most recent first, the older one last.
    std::vector<BookmarkEntry> entries;
    // The last stamp handed out: the number of entries read, minus one.
    int useCounter = -1;
};

// Reads as many whole entries as the bytes really hold, never more than the file's count nor more than
// kMaxLoadedEntries; a cut or damaged tail, a negative count or name length, and trailing bytes yield
// what came before them. A name ends at its first zero byte; an entry whose name is too long is skipped.
DecodedDataFile DecodeDataFile(const unsigned char* bytes, std::size_t size);
inline DecodedDataFile DecodeDataFile(const std::vector<unsigned char>& bytes) {
    return DecodeDataFile(bytes.data(), bytes.size());
}

// The current layout holding the given entries in the given order (the caller puts the most recent first),
// at most kMaxLoadedEntries of them.
std::vector<unsigned char> EncodeDataFile(const std::vector<const BookmarkEntry*>& mostRecentFirst);

// The up to kMaxEntries entries with the highest stamps, highest first.
std::vector<const BookmarkEntry*> MostRecentEntries(const std::vector<BookmarkEntry>& entries);

// The current layout holding the most recently used entries of the list.
inline std::vector<unsigned char> EncodeDataFile(const std::vector<BookmarkEntry>& entries) {
    return EncodeDataFile(MostRecentEntries(entries));
}
