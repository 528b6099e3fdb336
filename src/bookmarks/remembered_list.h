// The remembered files: one entry per name, in the order of their last use, at most kMaxRemembered of them.
// A pure container: it knows nothing of the host, the clock or the disk. The data file holds its most
// recent few; the store says which file is used when.
//
// A lookup by name is a binary search over an index in name order; the order of recency is an index
// kept sorted by stamp, so the most recent entries are at hand without sorting. Dropping the least recent
// entry moves the last one into its place, so no other index changes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/bookmark_entry.h"

class RememberedList {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // A host left running for weeks on a shuffled library would otherwise grow by every file it played.
    static constexpr std::size_t kMaxRemembered = 1000;

    // In order of insertion (a loaded file first, in its order); when one is dropped the last entry takes
    // its place.
    const std::vector<BookmarkEntry>& Entries() const { return entries; }
    BookmarkEntry& operator[](std::size_t index) { return entries[index]; }
    std::size_t Size() const { return entries.size(); }
    // The last stamp handed out.
    int UseCounter() const { return useCounter; }

    // Takes the loaded entries (stamped) and the counter their stamps came from, in place of the list.
    void Replace(std::vector<BookmarkEntry> loaded, int counter);
    // The index of the first entry named name, or npos.
    std::size_t Find(const std::string& name) const;
    // A new entry, the most recent, used at now (seconds since 1970, 0 unknown); the least recent go
    // beyond the bound.
    void Append(std::string name, int position, std::int64_t now);
    // The entry becomes the most recently used, at now.
    void Touch(std::size_t index, std::int64_t now);
    void Rename(std::size_t index, const std::string& name);
    void Remove(std::size_t index);
    // An entry another player wrote (its name not yet here); OrderByTime puts it in its place.
    void Adopt(BookmarkEntry entry);
    // The order of recency becomes the order of the times of use, most recent last; entries of one time
    // (or none) keep their order.
    void OrderByTime();
    // The up to count most recently used entries, most recent first.
    std::vector<const BookmarkEntry*> MostRecent(std::size_t count) const;

private:
    int NextStamp();
    std::vector<std::size_t>::iterator NameSlot(const std::string& name);
    std::vector<std::size_t>::const_iterator NameSlot(const std::string& name) const;
    void Index(std::size_t index);
    void Unindex(std::size_t index);
    void PlaceByStamp(std::size_t index);
    void DropLeastRecent();
    void Reindex();

    std::vector<BookmarkEntry> entries;
    int useCounter = 0;
    // Every entry's index in the order of its name (the first of two with one name only).
    std::vector<std::size_t> m_byName;
    // Every entry's index, least recently used first.
    std::vector<std::size_t> m_byRecency;
};
