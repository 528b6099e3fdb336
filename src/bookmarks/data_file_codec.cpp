#include "bookmarks/data_file_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "bookmarks/file_name.h"

namespace {

// A cursor over bytes that refuses to read past their end.
class ByteReader {
public:
    ByteReader(const unsigned char* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}

    std::size_t Remaining() const { return m_size - m_offset; }

    bool ReadInt(std::int32_t& value) {
        if (Remaining() < 4) return false;
        const unsigned char* p = m_bytes + m_offset;
        const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                static_cast<std::uint32_t>(p[2]) << 16 |
                                static_cast<std::uint32_t>(p[3]) << 24;
        std::memcpy(&value, &u, sizeof value);
        m_offset += 4;
        return true;
    }

    bool ReadBytes(std::size_t count, const unsigned char*& start) {
        if (Remaining() < count) return false;
        start = m_bytes + m_offset;
        m_offset += count;
        return true;
    }

private:
    const unsigned char* m_bytes;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

enum class Read { Damaged, Kept, Dropped };

// A file's identity rides in its entry's name field after a zero byte, where every reader that knows no
// identities ends the name: the zero, then the file's size and hash as two 64-bit little-endian words.
constexpr std::size_t kIdentityBytes = 17;

std::size_t NameLimit(bool wide) {
    return (wide ? 3 : 1) * data_file::kMaxNameBytes;
}

// One entry: Damaged when the bytes end before the entry does or its name length is negative; Dropped
// (read past) when its name is longer than the host could have named.
Read ReadEntry(ByteReader& in, bool tagged, BookmarkEntry& entry) {
    std::int32_t tag = 0, length = 0, position = 0;
    const unsigned char* name = nullptr;
    if (tagged && !in.ReadInt(tag)) return Read::Damaged;
    if (!in.ReadInt(length) || length < 0) return Read::Damaged;
    if (!in.ReadBytes(static_cast<std::size_t>(length), name)) return Read::Damaged;
    if (!in.ReadInt(position)) return Read::Damaged;
    const bool wide = tag == data_file::kWideTag;
    if (static_cast<std::size_t>(length) > NameLimit(wide)) return Read::Dropped;
    const unsigned char* end = std::find(name, name + length, 0);
    if (wide) entry.fileName.assign(1, file_name::kWideMark);
    entry.fileName.append(reinterpret_cast<const char*>(name), static_cast<std::size_t>(end - name));
    if (name + length - end == static_cast<std::ptrdiff_t>(kIdentityBytes)) {
        std::uint64_t words[2] = {0, 0};
        for (std::size_t i = 0; i < 16; ++i)
            words[i / 8] |= static_cast<std::uint64_t>(end[1 + i]) << (8 * (i % 8));
        entry.identity = FileIdentity{words[0], words[1]};
    }
    entry.position = position;
    return Read::Kept;
}

void WriteInt(std::vector<unsigned char>& out, std::int32_t value) {
    std::uint32_t u;
    std::memcpy(&u, &value, sizeof u);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(u >> shift));
}

// The block after the entries: read only when it holds one record for each of the file's entries.
void ReadExtras(ByteReader& in, std::int32_t count, const std::vector<int>& kept, DecodedDataFile& file) {
    std::int32_t tag = 0, blockCount = 0;
    if (!in.ReadInt(tag) || tag != data_file::kExtrasTag || !in.ReadInt(blockCount) || blockCount != count ||
        in.Remaining() / 12 < static_cast<std::size_t>(count))
        return;
    std::size_t next = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t low = 0, high = 0, length = 0;
        in.ReadInt(low);
        in.ReadInt(high);
        in.ReadInt(length);
        if (next == kept.size() || kept[next] != i) continue;
        BookmarkEntry& e = file.entries[next++];
        e.lastPlayed =
            static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32 |
                                      static_cast<std::uint32_t>(low));
        e.lengthMs = length;
    }
}

} // namespace

DecodedDataFile DecodeDataFile(const unsigned char* bytes, std::size_t size) {
    DecodedDataFile file;
    ByteReader in(bytes, size);
    std::int32_t first = 0;
    if (!in.ReadInt(first)) return file;

    const bool current = first > static_cast<std::int32_t>(data_file::kMaxEntries);
    std::int32_t count = first;
    if (current && !in.ReadInt(count)) return file;

    // The count is only an upper bound: entries are read one by one while the bytes last, so nothing is
    // reserved from it.
    std::vector<int> kept; // the file index of each entry read
    std::int32_t i = 0;
    for (; i < count && file.entries.size() < data_file::kMaxLoadedEntries; ++i) {
        BookmarkEntry entry{std::string(), 0, 0};
        const Read outcome = ReadEntry(in, current, entry);
        if (outcome == Read::Damaged) break;
        if (outcome != Read::Kept) continue;
        file.entries.push_back(std::move(entry));
        kept.push_back(i);
    }
    if (current && i == count) ReadExtras(in, count, kept, file);

    const int read = static_cast<int>(file.entries.size());
    for (int i = 0; i < read; ++i)
        file.entries[static_cast<std::size_t>(i)].stamp = current ? read - 1 - i : i;
    file.useCounter = read - 1;
    return file;
}

std::vector<const BookmarkEntry*> MostRecentEntries(const std::vector<BookmarkEntry>& entries) {
    std::vector<const BookmarkEntry*> order;
    order.reserve(entries.size());
    for (const BookmarkEntry& e : entries)
        order.push_back(&e);
    const std::size_t keep = std::min(order.size(), data_file::kMaxEntries);
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(keep), order.end(),
                      [](const BookmarkEntry* a, const BookmarkEntry* b) { return a->stamp > b->stamp; });
    order.resize(keep);
    return order;
}

std::vector<unsigned char> EncodeDataFile(const std::vector<const BookmarkEntry*>& mostRecentFirst) {
    const std::size_t count = std::min(mostRecentFirst.size(), data_file::kMaxLoadedEntries);
    bool extras = false;
    std::vector<unsigned char> out;
    WriteInt(out, data_file::kVersion);
    WriteInt(out, static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const BookmarkEntry& e = *mostRecentFirst[i];
        const bool wide = file_name::IsWide(e.fileName);
        const std::size_t nameBytes = e.fileName.size() - wide;
        // An older reader drops an entry whose field is longer than a name can be: then no identity.
        const bool identity = e.identity.Known() && nameBytes + kIdentityBytes <= NameLimit(wide);
        WriteInt(out, wide ? data_file::kWideTag : data_file::kAnsiTag);
        WriteInt(out, static_cast<std::int32_t>(nameBytes + (identity ? kIdentityBytes : 0)));
        out.insert(out.end(), e.fileName.begin() + wide, e.fileName.end());
        if (identity) {
            out.push_back(0);
            for (const std::uint64_t word : {e.identity.size, e.identity.hash})
                for (int shift = 0; shift < 64; shift += 8)
                    out.push_back(static_cast<unsigned char>(word >> shift));
        }
        WriteInt(out, e.position);
        extras = extras || e.lastPlayed != 0 || e.lengthMs > 0;
    }
    if (!extras) return out;
    WriteInt(out, data_file::kExtrasTag);
    WriteInt(out, static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const BookmarkEntry& e = *mostRecentFirst[i];
        const std::uint64_t played = static_cast<std::uint64_t>(e.lastPlayed);
        WriteInt(out, static_cast<std::int32_t>(static_cast<std::uint32_t>(played)));
        WriteInt(out, static_cast<std::int32_t>(static_cast<std::uint32_t>(played >> 32)));
        WriteInt(out, e.lengthMs > 0 ? e.lengthMs : 0);
    }
    return out;
}
