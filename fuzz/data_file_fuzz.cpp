// Arbitrary bytes as a bookmark data file (both layouts, both entry tags, files' identities after a name,
// the block of when each was played and its length):
// decoding must stay within the bytes, and what it yields must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "bookmarks/data_file_codec.h"
#include "bookmarks/file_name.h"

namespace {
void Require(bool condition) {
    if (!condition) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DecodedDataFile first = DecodeDataFile(data, size);
    const std::size_t n = first.entries.size();

    // Every entry takes at least a name length and a position.
    Require(n <= size / 8);
    Require(first.useCounter == static_cast<int>(n) - 1);
    std::set<int> stamps;
    for (const BookmarkEntry& e : first.entries) {
        Require(e.stamp >= 0 && e.stamp < static_cast<int>(n));
        // Only a wide name (entry tag 2) starts with its mark, a zero byte; no name holds one elsewhere.
        Require(e.fileName.find('\0', file_name::IsWide(e.fileName) ? 1 : 0) == std::string::npos);
        stamps.insert(e.stamp);
    }
    Require(stamps.size() == n);

    const std::vector<const BookmarkEntry*> recent = MostRecentEntries(first.entries);
    const std::vector<unsigned char> written = EncodeDataFile(recent);
    const DecodedDataFile second = DecodeDataFile(written);
    Require(second.entries.size() == recent.size());
    for (std::size_t i = 0; i < recent.size(); ++i) {
        Require(second.entries[i].fileName == recent[i]->fileName);
        Require(second.entries[i].position == recent[i]->position);
        // A file's identity read with its name is written with it again; an unknown one (size 0) is not.
        const FileIdentity& identity = recent[i]->identity;
        Require(identity.Known() ? second.entries[i].identity == identity : !second.entries[i].identity.Known());
        // When it was played comes back as read; a length, when there was one.
        Require(second.entries[i].lastPlayed == recent[i]->lastPlayed);
        Require(second.entries[i].lengthMs == (recent[i]->lengthMs > 0 ? recent[i]->lengthMs : 0));
        Require(second.entries[i].stamp == static_cast<int>(recent.size() - 1 - i));
    }
    Require(EncodeDataFile(second.entries) == written);
    return 0;
}
