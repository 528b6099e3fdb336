// What a write of the data file writes when another player may have written it since this run last read
// or wrote it: a three-way merge, per file, of the base (what this run last read or wrote, when known),
// this run's list and the file as it is now. No record of removals is kept in the file: a file that is in
// the base and missing now was removed by the other player.
//
//   this run    the file now   result
//   used        used           the newer use (to the second); an equal time: this run's. One side
//                              unchanged since the base: the other side's
//   used        missing        removed by the other player, unless this run used it since the base
//   missing     used           kept, unless this run removed it and the other player's use is not newer
//                              than the removal (an equal time: removed), or it is as it was in the base
//
// A use without a time (a file written by 1.0.0-1.2.0) counts as older than any use with one. Two machines
// whose clocks differ by a few seconds can only reorder uses made within those seconds: the place kept is
// one of the two the person left, and a removal undone is a file the other player used about then.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/bookmark_entry.h"

struct Removal {
    std::string name; // empty: every file (Forget)
    std::int64_t at;  // seconds since 1970 UTC
};

// True when r takes out the file of that name used at lastPlayed: another player's use must be newer.
inline bool RemovesUse(const Removal& r, const std::string& name, std::int64_t lastPlayed) {
    return (r.name.empty() || r.name == name) && lastPlayed <= r.at;
}

// base: null when this run has not read the file yet (it could not be read at start). The result is most
// recent first: by time of use, the entries of equal time in the order of ours, then of theirs.
std::vector<BookmarkEntry> MergeDataFile(const std::vector<BookmarkEntry>* base,
                                         const std::vector<BookmarkEntry>& ours,
                                         const std::vector<BookmarkEntry>& theirs,
                                         const std::vector<Removal>& removed);
