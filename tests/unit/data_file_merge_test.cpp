// The merge of a write, as a table: base, this run's list, the file now and this run's removals -> what is
// written. An entry is "name:position@time"; a base of "?" is unknown (the file could not be read).
#include "bookmarks/data_file_merge.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<BookmarkEntry> Entries(const std::string& text) {
    std::vector<BookmarkEntry> entries;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const std::size_t colon = word.find(':'), at = word.find('@');
        BookmarkEntry e{word.substr(0, colon), std::stoi(word.substr(colon + 1, at - colon - 1)), 0};
        e.lastPlayed = std::stoll(word.substr(at + 1));
        entries.push_back(e);
    }
    return entries;
}

std::string Text(const std::vector<BookmarkEntry>& entries) {
    std::string text;
    for (const BookmarkEntry& e : entries)
        text += (text.empty() ? "" : " ") + e.fileName + ":" + std::to_string(e.position) + "@" +
                std::to_string(e.lastPlayed);
    return text;
}

TEST(DataFileMerge, EachFileKeepsWhatItsNewestUseSaysAndRemovalsStay) {
    const struct {
        const char* what;
        const char* base;
        const char* ours;
        const char* theirs;
        std::vector<Removal> removed;
        const char* written;
    } rows[] = {
        {"the other player's files join, newest first",
         "a:1@10",
         "a:5@20",
         "a:1@10 b:7@30",
         {},
         "b:7@30 a:5@20"},
        {"both used one file: the newer use", "a:1@10", "a:5@20", "a:9@25", {}, "a:9@25"},
        {"both used one file at the same second: this run's", "a:1@10", "a:5@20", "a:9@20", {}, "a:5@20"},
        {"only the other changed it, with a clock behind", "a:1@10", "a:1@10", "a:9@8", {}, "a:9@8"},
        {"only this run changed it, the other's clock ahead", "a:1@10", "a:5@12", "a:1@10", {}, "a:5@12"},
        {"the other removed it", "a:1@10 b:2@11", "a:1@10 b:2@11", "b:2@11", {}, "b:2@11"},
        {"the other removed it, this run used it since", "a:1@10", "a:4@15", "", {}, "a:4@15"},
        {"this run removed it", "a:1@10 b:2@11", "b:2@11", "a:1@10 b:2@11", {{"a", 50}}, "b:2@11"},
        {"this run removed it, the other used it after", "a:1@10", "", "a:3@60", {{"a", 50}}, "a:3@60"},
        {"this run removed it, the other used it at that second", "a:1@10", "", "a:3@50", {{"a", 50}}, ""},
        {"this run removed it, untouched since though its clock is ahead", "a:1@60", "", "a:1@60", {{"a", 50}}, ""},
        {"unreadable at start: its files join", "?", "c:3@40", "a:1@10 b:2@11", {}, "c:3@40 b:2@11 a:1@10"},
        {"unreadable at start, removed meanwhile: stays out",
         "?",
         "c:3@40",
         "a:1@10 b:2@11",
         {{"a", 35}},
         "c:3@40 b:2@11"},
        {"a file of an older version (no times): older than any use",
         "",
         "a:5@20",
         "b:2@0 a:1@0",
         {},
         "a:5@20 b:2@0"},
        {"a new file on both sides without a base", "", "a:5@20", "a:6@21", {}, "a:6@21"},
    };
    for (const auto& row : rows) {
        const bool known = std::string(row.base) != "?";
        const std::vector<BookmarkEntry> base = known ? Entries(row.base) : std::vector<BookmarkEntry>{};
        EXPECT_EQ(row.written, Text(MergeDataFile(known ? &base : nullptr, Entries(row.ours),
                                                  Entries(row.theirs), row.removed)))
            << row.what;
    }
}

} // namespace
