#include "bookmarks/remembered_list.h"

#include <algorithm>

#include "bookmarks/stable_order.h"

namespace {
// Stamps count up for as long as the host runs; wrapping is defined rather than left to chance.
int Add(int value, int delta) {
    return static_cast<int>(static_cast<unsigned>(value) + static_cast<unsigned>(delta));
}
} // namespace

void RememberedList::Replace(std::vector<BookmarkEntry> loaded, int counter) {
    entries = std::move(loaded);
    useCounter = counter;
    Reindex();
}

std::size_t RememberedList::Find(const std::string& name) const {
    const auto it = NameSlot(name);
    return it != m_byName.end() && entries[*it].fileName == name ? *it : npos;
}

void RememberedList::Append(std::string name, int position, std::int64_t now) {
    const std::size_t index = entries.size();
    entries.push_back(BookmarkEntry{std::move(name), position, NextStamp(), FileIdentity{}, now, 0, true});
    Index(index);
    m_byRecency.push_back(index); // the newest stamp
    while (entries.size() > kMaxRemembered)
        DropLeastRecent();
}

void RememberedList::Touch(std::size_t index, std::int64_t now) {
    m_byRecency.erase(std::find(m_byRecency.begin(), m_byRecency.end(), index));
    entries[index].stamp = NextStamp();
    if (now != 0) entries[index].lastPlayed = now;
    PlaceByStamp(index);
}

void RememberedList::Rename(std::size_t index, const std::string& name) {
    Unindex(index);
    entries[index].fileName = name;
    Index(index);
}

void RememberedList::Remove(std::size_t index) {
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    Reindex();
}

void RememberedList::Adopt(BookmarkEntry entry) {
    entry.stamp = NextStamp();
    const std::size_t index = entries.size();
    entries.push_back(std::move(entry));
    Index(index);
    m_byRecency.push_back(index);
}

void RememberedList::OrderByTime() {
    StableOrder(m_byRecency.begin(), m_byRecency.end(), [this](std::size_t a, std::size_t b) {
        return entries[a].lastPlayed < entries[b].lastPlayed;
    });
    // Stamps follow the new order, the most recent keeping the counter's value.
    int stamp = Add(useCounter, -static_cast<int>(m_byRecency.size()));
    for (std::size_t index : m_byRecency) {
        stamp = Add(stamp, 1);
        entries[index].stamp = stamp;
    }
    while (entries.size() > kMaxRemembered)
        DropLeastRecent();
}

std::vector<const BookmarkEntry*> RememberedList::MostRecent(std::size_t count) const {
    std::vector<const BookmarkEntry*> recent;
    for (auto it = m_byRecency.rbegin(); it != m_byRecency.rend() && recent.size() < count; ++it)
        recent.push_back(&entries[*it]);
    return recent;
}

int RememberedList::NextStamp() {
    useCounter = Add(useCounter, 1);
    return useCounter;
}

std::vector<std::size_t>::iterator RememberedList::NameSlot(const std::string& name) {
    return std::lower_bound(m_byName.begin(), m_byName.end(), name,
                            [this](std::size_t i, const std::string& n) { return entries[i].fileName < n; });
}

std::vector<std::size_t>::const_iterator RememberedList::NameSlot(const std::string& name) const {
    return std::lower_bound(m_byName.begin(), m_byName.end(), name,
                            [this](std::size_t i, const std::string& n) { return entries[i].fileName < n; });
}

// A name already there keeps its entry: the first of two with one name wins, as a search from the front
// would find it.
void RememberedList::Index(std::size_t index) {
    const auto it = NameSlot(entries[index].fileName);
    if (it == m_byName.end() || entries[*it].fileName != entries[index].fileName) m_byName.insert(it, index);
}

void RememberedList::Unindex(std::size_t index) {
    const auto it = NameSlot(entries[index].fileName);
    if (it != m_byName.end() && *it == index) m_byName.erase(it);
}

void RememberedList::PlaceByStamp(std::size_t index) {
    const int stamp = entries[index].stamp;
    const auto at = std::upper_bound(m_byRecency.begin(), m_byRecency.end(), stamp,
                                     [this](int s, std::size_t i) { return s < entries[i].stamp; });
    m_byRecency.insert(at, index);
}

void RememberedList::DropLeastRecent() {
    const std::size_t gone = m_byRecency.front(), last = entries.size() - 1;
    m_byRecency.erase(m_byRecency.begin());
    Unindex(gone);
    if (gone != last) {
        *std::find(m_byRecency.begin(), m_byRecency.end(), last) = gone;
        const auto it = NameSlot(entries[last].fileName);
        if (it != m_byName.end() && *it == last) *it = gone;
        entries[gone] = std::move(entries[last]);
    }
    entries.pop_back();
}

void RememberedList::Reindex() {
    m_byName.clear();
    m_byRecency.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Index(i);
        PlaceByStamp(i);
    }
}
