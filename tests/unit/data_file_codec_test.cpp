#include "bookmarks/data_file_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Little-endian builder for hand-made files.
struct FileBytes {
    Bytes bytes;
    FileBytes& Int(int v) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<unsigned char>(unsigned(v) >> shift));
        return *this;
    }
    FileBytes& Raw(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    FileBytes& Entry(const std::string& name, int position) {
        return Int(1).Int(int(name.size())).Raw(name).Int(position);
    }
    FileBytes& OldEntry(const std::string& name, int position) {
        return Int(int(name.size())).Raw(name).Int(position);
    }
};

std::vector<std::string> Names(const std::vector<BookmarkEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.fileName);
    return names;
}

std::vector<int> Stamps(const std::vector<BookmarkEntry>& entries) {
    std::vector<int> stamps;
    for (const auto& e : entries)
        stamps.push_back(e.stamp);
    return stamps;
}

const Bytes kWorkedCurrent = {0x1f, 0, 0, 0,    1,    0,    0,    0,    1,    0,    0, 0, 5,
                              0,    0, 0, 0x61, 0x2e, 0x6d, 0x70, 0x33, 0x48, 0xee, 0, 0};
const Bytes kWorkedOlder = {1, 0, 0, 0, 5, 0, 0, 0, 0x61, 0x2e, 0x6d, 0x70, 0x33, 0x48, 0xee, 0, 0};

TEST(DataFileCodec, WorkedExampleIsWrittenByteForByte) {
    const std::vector<BookmarkEntry> list{{"a.mp3", 61000, 7}};
    EXPECT_EQ(kWorkedCurrent, EncodeDataFile(list));
}

TEST(DataFileCodec, WorkedExampleReadsInBothLayouts) {
    for (const Bytes& bytes : {kWorkedCurrent, kWorkedOlder}) {
        const DecodedDataFile file = DecodeDataFile(bytes);
        ASSERT_EQ(1u, file.entries.size());
        EXPECT_EQ("a.mp3", file.entries[0].fileName);
        EXPECT_EQ(61000, file.entries[0].position);
        EXPECT_EQ(0, file.entries[0].stamp);
        EXPECT_EQ(0, file.useCounter);
    }
}

TEST(DataFileCodec, EmptyListIsVersionAndCountZero) {
    EXPECT_EQ((FileBytes{}.Int(31).Int(0).bytes), EncodeDataFile(std::vector<BookmarkEntry>{}));
    const DecodedDataFile file = DecodeDataFile(FileBytes{}.Int(31).Int(0).bytes);
    EXPECT_TRUE(file.entries.empty());
    EXPECT_EQ(-1, file.useCounter); // so the next stamp handed out is 0
}

TEST(DataFileCodec, WritesTheThirtyMostRecentOfFortyFiveHighestFirst) {
    std::vector<BookmarkEntry> list;
    for (int i = 0; i < 45; ++i) {
        const int stamp = (i * 17) % 45; // a permutation of 0..44, not in list order
        list.push_back({"f" + std::to_string(stamp), stamp * 10, stamp});
    }
    const Bytes bytes = EncodeDataFile(list);
    FileBytes want;
    want.Int(31).Int(30);
    for (int stamp = 44; stamp >= 15; --stamp)
        want.Entry("f" + std::to_string(stamp), stamp * 10);
    EXPECT_EQ(want.bytes, bytes); // nothing follows the thirtieth entry
}

TEST(DataFileCodec, ThreeEntriesAreWrittenHighestStampFirst) {
    const std::vector<BookmarkEntry> list{{"x", 1, 5}, {"y", 2, 9}, {"z", 3, -1}};
    EXPECT_EQ((FileBytes{}.Int(31).Int(3).Entry("y", 2).Entry("x", 1).Entry("z", 3).bytes),
              EncodeDataFile(list));
}

TEST(DataFileCodec, CurrentLayoutStampsFollowFileOrderDownward) {
    const DecodedDataFile file =
        DecodeDataFile(FileBytes{}.Int(31).Int(3).Entry("a", 1).Entry("b", 2).Entry("c", 3).bytes);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Names(file.entries));
    EXPECT_EQ((std::vector<int>{2, 1, 0}), Stamps(file.entries));
    EXPECT_EQ(2, file.useCounter);
}

TEST(DataFileCodec, AnyFirstWordAboveThirtyMeansCurrentLayout) {
    for (int version : {31, 32, 1000, INT_MAX}) {
        const DecodedDataFile file = DecodeDataFile(FileBytes{}.Int(version).Int(1).Entry("v", 5).bytes);
        ASSERT_EQ(1u, file.entries.size()) << "version " << version;
        EXPECT_EQ("v", file.entries[0].fileName);
        EXPECT_EQ(5, file.entries[0].position);
    }
}

TEST(DataFileCodec, OlderLayoutStampsFollowFileOrderUpward) {
    const DecodedDataFile file =
        DecodeDataFile(FileBytes{}.Int(2).OldEntry("first", 10).OldEntry("second", -20).bytes);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), Names(file.entries));
    EXPECT_EQ((std::vector<int>{0, 1}), Stamps(file.entries));
    EXPECT_EQ(-20, file.entries[1].position);
    EXPECT_EQ(1, file.useCounter);
}

TEST(DataFileCodec, NameEndsAtAnEmbeddedZeroByte) {
    const std::string stored("ab\0cd", 5);
    const DecodedDataFile file =
        DecodeDataFile(FileBytes{}.Int(31).Int(2).Entry(stored, 7).Entry("next", 8).bytes);
    ASSERT_EQ(2u, file.entries.size());
    EXPECT_EQ("ab", file.entries[0].fileName);
    EXPECT_EQ(7, file.entries[0].position);
    EXPECT_EQ("next", file.entries[1].fileName); // the whole stored length was skipped
}

TEST(DataFileCodec, NamesKeepTheirExactBytes) {
    const std::string name = "D:\\\xe4\xf6\xfc.avi";
    const std::vector<BookmarkEntry> list{{name, 1, 0}, {"d:\\A.avi", 2, 1}};
    const DecodedDataFile file = DecodeDataFile(EncodeDataFile(list));
    EXPECT_EQ((std::vector<std::string>{"d:\\A.avi", name}), Names(file.entries));
}

// When each was last played and its length ride in a block after the entries, where older readers stop; a
// block that does not fit the entries is ignored, and the entries are read all the same.
TEST(DataFileCodec, SavingWhatWasLoadedWritesTheSameFile) {
    for (bool times : {false, true}) {
        std::vector<BookmarkEntry> list;
        for (int i = 0; i < 30; ++i) {
            list.push_back({"file" + std::to_string(i), i * 1000 - 3, (i * 7) % 30});
            if (times && i % 3 != 0) list.back().lastPlayed = 5000000000ll + i;
            if (times && i % 2 != 0) list.back().lengthMs = 180000 + i;
        }
        const Bytes first = EncodeDataFile(list);
        const DecodedDataFile read = DecodeDataFile(first);
        EXPECT_EQ(first, EncodeDataFile(read.entries));
        ASSERT_EQ(30u, read.entries.size());
        EXPECT_EQ(times ? 5000000000ll + 17 : 0, read.entries[0].lastPlayed) << "the most recent, file17";
        EXPECT_EQ(times ? 180017 : 0, read.entries[0].lengthMs);
        Bytes damaged = first;
        if (times) damaged[damaged.size() - 30 * 12 - 4] = 31; // the block's count
        for (const BookmarkEntry& e : DecodeDataFile(damaged).entries)
            EXPECT_EQ(0, e.lastPlayed + e.lengthMs) << times << " " << e.fileName;
    }
}

// A file cut after every possible byte yields exactly the entries wholly before the cut, stamped as if
// the file had held only those.
TEST(DataFileCodec, CutFileYieldsTheWholeEntriesBeforeTheCut) {
    for (bool current : {true, false}) {
        FileBytes f;
        std::vector<std::size_t> ends; // offset just past each entry
        if (current) {
            f.Int(31).Int(3);
            for (const char* n : {"one", "two", "three"})
                ends.push_back(f.Entry(n, 1).bytes.size());
        } else {
            f.Int(3);
            for (const char* n : {"one", "two", "three"})
                ends.push_back(f.OldEntry(n, 1).bytes.size());
        }
        for (std::size_t cut = 0; cut <= f.bytes.size(); ++cut) {
            const DecodedDataFile file = DecodeDataFile(f.bytes.data(), cut);
            const auto whole = static_cast<std::size_t>(
                std::count_if(ends.begin(), ends.end(), [&](std::size_t e) { return e <= cut; }));
            ASSERT_EQ(whole, file.entries.size())
                << (current ? "current" : "older") << " layout cut at " << cut;
            EXPECT_EQ(int(whole) - 1, file.useCounter);
            for (std::size_t i = 0; i < whole; ++i)
                EXPECT_EQ(current ? int(whole - 1 - i) : int(i), file.entries[i].stamp) << "cut at " << cut;
        }
    }
}

TEST(DataFileCodec, DamagedCountsAndLengthsYieldOnlyWhatIsThere) {
    struct Case {
        const char* what;
        Bytes bytes;
        std::vector<std::string> names;
    } cases[] = {
        {"negative count", FileBytes{}.Int(31).Int(-5).Entry("a", 1).bytes, {}},
        {"huge count", FileBytes{}.Int(31).Int(INT_MAX).Entry("a", 1).Entry("b", 2).bytes, {"a", "b"}},
        {"count beyond the data", FileBytes{}.Int(31).Int(30).Entry("a", 1).bytes, {"a"}},
        {"older layout, negative count", FileBytes{}.Int(-1).OldEntry("a", 1).bytes, {}},
        {"negative name length",
         FileBytes{}.Int(31).Int(2).Entry("a", 1).Int(1).Int(-4).Raw("bbbb").Int(2).bytes,
         {"a"}},
        {"huge name length",
         FileBytes{}.Int(31).Int(2).Entry("a", 1).Int(1).Int(INT_MAX).Raw("b").Int(2).bytes,
         {"a"}},
        {"trailing garbage", FileBytes{}.Int(31).Int(1).Entry("a", 1).Raw("garbage!").bytes, {"a"}},
        {"older layout, trailing garbage", FileBytes{}.Int(1).OldEntry("a", 1).Int(99).bytes, {"a"}},
        {"empty file", Bytes{}, {}},
        {"cut in the first word", Bytes{31, 0}, {}},
        {"a name longer than the host can hand over",
         FileBytes{}
             .Int(31)
             .Int(3)
             .Entry("a", 1)
             .Entry(std::string(4097, 'x'), 2)
             .Entry(std::string(4096, 'y'), 3)
             .bytes,
         {"a", std::string(4096, 'y')}},
        {"a wide name longer than 12,288 bytes of UTF-8",
         FileBytes{}
             .Int(31)
             .Int(3)
             .Entry("a", 1)
             .Int(2)
             .Int(12289)
             .Raw(std::string(12289, 'x'))
             .Int(2)
             .Int(2)
             .Int(12288)
             .Raw(std::string(12288, 'y'))
             .Int(3)
             .bytes,
         {"a", std::string(1, '\0') + std::string(12288, 'y')}},
    };
    for (const Case& c : cases) {
        const DecodedDataFile file = DecodeDataFile(c.bytes);
        EXPECT_EQ(c.names, Names(file.entries)) << c.what;
        EXPECT_EQ(int(c.names.size()) - 1, file.useCounter) << c.what;
    }
}

TEST(DataFileCodec, AWideNameIsUtf8WithTagTwoAndAReaderThatIgnoresTheTagKeepsTheOtherEntries) {
    const std::string utf8 = "C:\\\xE6\x97\xA5.mkv";
    const std::vector<BookmarkEntry> list{
        {"a.avi", 1000, 3}, {std::string(1, '\0') + utf8, 2000, 2}, {"b.avi", 3000, 1}};
    const Bytes written = EncodeDataFile(list);
    EXPECT_EQ((FileBytes{}
                   .Int(31)
                   .Int(3)
                   .Entry("a.avi", 1000)
                   .Int(2)
                   .Int(10)
                   .Raw(utf8)
                   .Int(2000)
                   .Entry("b.avi", 3000)
                   .bytes),
              written);
    EXPECT_EQ(Names(list), Names(DecodeDataFile(written).entries));
    // 1.0.0 reads every tag as 1: the wide entry is one more name that matches no file of the host's.
    Bytes older = written;
    older[8 + 17] = 1;
    const DecodedDataFile read = DecodeDataFile(older);
    EXPECT_EQ((std::vector<std::string>{"a.avi", utf8, "b.avi"}), Names(read.entries));
    EXPECT_EQ(1000, read.entries[0].position);
    EXPECT_EQ(3000, read.entries[2].position);
}

TEST(DataFileCodec, AFileOfManyTinyEntriesYieldsOnlyTheFirstThousand) {
    const int written = 1500;
    FileBytes huge;
    huge.Int(31).Int(written);
    for (int i = 0; i < written; ++i)
        huge.Entry(std::to_string(i), i);
    const DecodedDataFile file = DecodeDataFile(huge.bytes);
    ASSERT_EQ(1000u, file.entries.size());
    EXPECT_EQ("999", file.entries.back().fileName);
    EXPECT_EQ(0, file.entries.back().stamp) << "the last entry read is the least recent";
    EXPECT_EQ(999, file.useCounter);
}

} // namespace

// An identity rides after a zero byte inside the name field: a reader that ends a name at its first zero
// byte (1.0.0, 1.1.0) reads the name alone, and a name too long for the field's limit goes without one.
TEST(DataFileCodec, AnIdentityFollowsTheNameAfterAZeroByteWhereTheFieldHasRoomForIt) {
    const FileIdentity identity{0x0102030405060708ull, 0x1112131415161718ull};
    const std::string utf8 = "C:\\\xE6\x97\xA5.mkv", longest(4096 - 17, 'n'), tooLong(4096 - 16, 'x');
    const std::vector<BookmarkEntry> list{{"a.avi", 1000, 4, identity},
                                          {std::string(1, '\0') + utf8, 2000, 3, identity},
                                          {longest, 3000, 2, identity},
                                          {tooLong, 4000, 1, identity}};
    const Bytes written = EncodeDataFile(list);
    const Bytes field = {0, 8, 7, 6, 5, 4, 3, 2, 1, 0x18, 0x17, 0x16, 0x15, 0x14, 0x13, 0x12, 0x11};
    EXPECT_EQ((FileBytes{}.Int(31).Int(4).Int(1).Int(5 + 17).Raw("a.avi").bytes),
              Bytes(written.begin(), written.begin() + 21));
    EXPECT_EQ(field, Bytes(written.begin() + 21, written.begin() + 38));
    const DecodedDataFile read = DecodeDataFile(written);
    ASSERT_EQ(4u, read.entries.size());
    EXPECT_EQ(Names(list), Names(read.entries));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i].position, read.entries[i].position);
        EXPECT_EQ(i < 3 ? identity : FileIdentity{}, read.entries[i].identity) << i;
    }
    EXPECT_EQ(written, EncodeDataFile(read.entries));
}
