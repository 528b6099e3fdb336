#include "bookmarks/data_file_merge.h"

#include "bookmarks/stable_order.h"

namespace {
const BookmarkEntry* Named(const std::vector<BookmarkEntry>* list, const std::string& name) {
    if (list == nullptr) return nullptr;
    for (const BookmarkEntry& e : *list)
        if (e.fileName == name) return &e;
    return nullptr;
}

bool Same(const BookmarkEntry* a, const BookmarkEntry* b) {
    return a != nullptr && b != nullptr && a->position == b->position && a->lastPlayed == b->lastPlayed;
}

// Whether this run removed the file (any use of it), and whether a removal came after this use of it.
bool Removed(const std::vector<Removal>& removed, const BookmarkEntry& e, bool anyUse) {
    for (const Removal& r : removed)
        if (anyUse ? r.name.empty() || r.name == e.fileName : RemovesUse(r, e.fileName, e.lastPlayed))
            return true;
    return false;
}
} // namespace

std::vector<BookmarkEntry> MergeDataFile(const std::vector<BookmarkEntry>* base,
                                         const std::vector<BookmarkEntry>& ours,
                                         const std::vector<BookmarkEntry>& theirs,
                                         const std::vector<Removal>& removed) {
    std::vector<BookmarkEntry> merged;
    for (const BookmarkEntry& o : ours) {
        const BookmarkEntry* t = Named(&theirs, o.fileName);
        const BookmarkEntry* b = Named(base, o.fileName);
        if (t == nullptr) {
            // Gone from the file since the base: the other player removed it, unless this run used it since.
            if (b == nullptr || !Same(&o, b)) merged.push_back(o);
        } else if (base != nullptr && Same(&o, b)) {
            merged.push_back(*t);
        } else if (base != nullptr && Same(t, b)) {
            merged.push_back(o);
        } else {
            merged.push_back(t->lastPlayed > o.lastPlayed ? *t : o);
        }
    }
    for (const BookmarkEntry& t : theirs) {
        if (Named(&ours, t.fileName) != nullptr || Named(&merged, t.fileName) != nullptr) continue;
        const bool changed = base == nullptr || !Same(&t, Named(base, t.fileName));
        if (!Removed(removed, t, true) || (changed && !Removed(removed, t, false))) merged.push_back(t);
    }
    StableOrder(merged.begin(), merged.end(),
                [](const BookmarkEntry& a, const BookmarkEntry& b) { return a.lastPlayed > b.lastPlayed; });
    return merged;
}
