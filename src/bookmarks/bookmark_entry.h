// One remembered position: a file as the host's playlist names it, where the user left it, and when the
// entry was last used.
#pragma once
#include <cstdint>
#include <string>

#include "platform/file_identity.h"

struct BookmarkEntry {
    std::string
        fileName; // exact bytes, compared case-sensitively; a wide name starts with file_name::kWideMark
    int position; // ms
    int stamp;    // higher means more recently used; never stored in the data file
    FileIdentity identity = {};  // unknown until the file has been read once
    std::int64_t lastPlayed = 0; // when last used: seconds since 1970-01-01 UTC; 0 when not known
    int lengthMs = 0;            // the length the host last reported for it; 0 or less when not known
    bool madeThisRun = false;    // never stored: an entry of this run without an identity may still be a move
};
