// The in-memory INI store stands in for GetPrivateProfileStringA in every settings test, so its reading
// rules must match the platform's where the plug-in relies on them.
#include <gtest/gtest.h>

#include <string>

#include "memory_profile_store.h"

namespace {

const char* const kPath = "C:\\Player\\winamp.ini";

std::string Read(MemoryProfileStore& ini, const char* section, const char* key, const char* fallback,
                 DWORD size, DWORD* count) {
    std::string buffer(size + 4, '#');
    *count = ini.GetString(section, key, fallback, &buffer[0], size, kPath);
    return buffer.substr(0, *count + 2);
}

TEST(MemoryProfileStore, CutsAValueToTheBufferAndCountsTheCharactersCopied) {
    MemoryProfileStore ini;
    ini.Set(kPath, "gen_morvix", "fastwind", std::string(300, '7'));
    DWORD count = 0;
    const std::string got = Read(ini, "gen_morvix", "fastwind", "", 256, &count);
    EXPECT_EQ(255u, count);
    EXPECT_EQ(std::string(255, '7') + '\0', got.substr(0, 256));

    ini.Set(kPath, "gen_morvix", "bookmark", "1");
    EXPECT_EQ(std::string("1\0#", 3), Read(ini, "gen_morvix", "bookmark", "", 256, &count));
    EXPECT_EQ(1u, count);
    EXPECT_EQ(0u, ini.GetString("gen_morvix", "bookmark", "", nullptr, 0, kPath));
}

TEST(MemoryProfileStore, AMissingOrEmptyKeyGivesTheDefaultWithoutTrailingBlanks) {
    MemoryProfileStore ini;
    ini.Set(kPath, "gen_morvix", "bookmark", "");
    DWORD count = 0;
    EXPECT_EQ(std::string("\0#", 2), Read(ini, "gen_morvix", "bookmark", "", 256, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(std::string("dflt\0#", 6), Read(ini, "gen_morvix", "pausefile", "dflt  ", 256, &count));
    EXPECT_EQ(4u, count);
    std::string buffer(8, '#');
    EXPECT_EQ(2u, ini.GetString("gen_morvix", "x", "ab", &buffer[0], 8, "C:\\other.ini"));
}

TEST(MemoryProfileStore, NamesIgnoreCaseAndValuesLoseSurroundingBlanksAndQuotes) {
    MemoryProfileStore ini;
    ini.Set(kPath, "Gen_Morvix", "ShowHours", "  \"12 \"  ");
    DWORD count = 0;
    EXPECT_EQ(std::string("12 \0#", 5), Read(ini, "gen_morvix", "showhours", "", 256, &count));
    EXPECT_EQ(3u, count);
    ini.Set(kPath, "gen_morvix", "clipmouse", "'1x");
    EXPECT_EQ(std::string("'1x\0#", 5), Read(ini, "GEN_MORVIX", "CLIPMOUSE", "", 256, &count));
}

TEST(MemoryProfileStore, ListsSectionsAndKeysEndingInTwoTerminatorsEvenWhenCut) {
    MemoryProfileStore ini;
    ini.Set(kPath, "a", "one", "1");
    ini.Set(kPath, "a", "two", "2");
    ini.Set(kPath, "b", "three", "3");
    DWORD count = 0;
    EXPECT_EQ(std::string("one\0two\0\0#", 10), Read(ini, "a", nullptr, "", 64, &count));
    EXPECT_EQ(8u, count);
    EXPECT_EQ(std::string("a\0b\0\0#", 6), Read(ini, nullptr, nullptr, "", 64, &count));
    EXPECT_EQ(std::string("one\0t\0\0", 7), Read(ini, "a", nullptr, "", 7, &count));
    EXPECT_EQ(5u, count);
}

TEST(MemoryProfileStore, CountsEveryWriteAndDeletesByNullValueOrKey) {
    MemoryProfileStore ini;
    EXPECT_TRUE(ini.WriteString("gen_morvix", "bookmark", "1", kPath));
    EXPECT_TRUE(ini.WriteString("gen_morvix", "BOOKMARK", "0", kPath));
    EXPECT_EQ("0", ini.Value(kPath, "gen_morvix", "bookmark").value_or("<missing>"));
    EXPECT_TRUE(ini.WriteString("gen_morvix", "bookmark", nullptr, kPath));
    EXPECT_FALSE(ini.Value(kPath, "gen_morvix", "bookmark").has_value());
    ini.WriteString("gen_morvix", "fastwind", "30", kPath);
    EXPECT_TRUE(ini.WriteString("gen_morvix", nullptr, nullptr, kPath));
    EXPECT_FALSE(ini.Value(kPath, "gen_morvix", "fastwind").has_value());
    EXPECT_FALSE(ini.WriteString(nullptr, "k", "v", kPath));
    EXPECT_EQ(6u, ini.WriteCount());
    EXPECT_FALSE(ini.writes[2].value.has_value());
    ini.Set(kPath, "s", "k", "v");
    EXPECT_EQ(6u, ini.WriteCount());
}

} // namespace
