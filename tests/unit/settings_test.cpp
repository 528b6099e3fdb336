// Loading and saving the options through the host's INI file.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "fake_host.h"
#include "host/winamp_ipc.h"
#include "memory_profile_store.h"
#include "settings/settings.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    FakeHost host;
    CWinampIPC ipc{host};
    MemoryProfileStore ini;
    Settings settings;
    const std::string path = "C:\\Player\\winamp.ini";

    void Put(const char* key, const std::string& value) { ini.Set(path, "gen_morvix", key, value); }
    void ExpectFields(int bookmark, int pausefile, int fastwind, int mousepause, int showhours,
                      int clipmouse) {
        EXPECT_EQ(settings.bookmark, bookmark);
        EXPECT_EQ(settings.pausefile, pausefile);
        EXPECT_EQ(settings.fastwind, fastwind);
        EXPECT_EQ(settings.mousepause, mousepause);
        EXPECT_EQ(settings.showhours, showhours);
        EXPECT_EQ(settings.clipmouse, clipmouse);
    }
};

TEST_F(SettingsTest, MissingFileOrKeysKeepTheDefaults) {
    settings.Load(ipc, ini);
    ExpectFields(1, 1, 30, 1, 1, 0);
    EXPECT_EQ(settings.remaining, 0);
    EXPECT_EQ(settings.hidedelay, 2);
    EXPECT_EQ(host.log.front(), User(0, 334)) << "the INI path is asked of the host";
}

TEST_F(SettingsTest, TheHideDelayIsUsedWithinOneToSixtySeconds) {
    const std::pair<const char*, int> rows[] = {
        {"5", 5}, {"0", 1}, {"-7", 1}, {"61", 60}, {"99999999999", 60}, {"x", 1}};
    for (const auto& [text, used] : rows) {
        Put("hidedelay", text);
        settings.Load(ipc, ini);
        EXPECT_EQ(HideDelaySeconds(settings), used) << text;
    }
}

TEST_F(SettingsTest, NoIniPathFromTheHostKeepsTheDefaultsAndTouchesNoFile) {
    // The profile functions resolve an empty name somewhere of their own; the plug-in must not go there.
    ini.Set("", "gen_morvix", "fastwind", "45");
    host.iniFile = "";
    for (const bool nullAnswer : {false, true}) {
        host.answerNullTexts = nullAnswer;
        Settings loaded;
        loaded.Load(ipc, ini);
        EXPECT_EQ(loaded.fastwind, 30) << "null answer " << nullAnswer;
        loaded.Save(ipc, ini);
        EXPECT_EQ(ini.WriteCount(), 0u) << "null answer " << nullAnswer;
    }
}

TEST_F(SettingsTest, OnlyThePresentKeysChange) {
    Put("fastwind", "45");
    settings.Load(ipc, ini);
    ExpectFields(1, 1, 45, 1, 1, 0);
}

TEST_F(SettingsTest, EmptyValueKeepsTheFieldAndTextReadsAsAtoiDoes) {
    settings.bookmark = 7;
    Put("bookmark", "");
    Put("showhours", "yes");
    Put("mousepause", "2");
    Put("clipmouse", "1x");
    Put("fastwind", "-5");
    Put("pausefile", "  +12abc");
    settings.Load(ipc, ini);
    ExpectFields(7, 12, -5, 2, 0, 1);
    EXPECT_FALSE(IsOn(settings.mousepause)) << "2 is stored but counts as off";
    EXPECT_TRUE(IsOn(settings.clipmouse));
}

TEST_F(SettingsTest, LongValuesAreCutAt255CharactersBeforeParsing) {
    // 250 zeros then digits: the cut keeps "0…0" and the first five digits of 1234567.
    Put("fastwind", std::string(250, '0') + "1234567");
    settings.Load(ipc, ini);
    EXPECT_EQ(settings.fastwind, 12345);
}

TEST_F(SettingsTest, NumbersBeyond32BitsSaturateInsteadOfWrapping) {
    EXPECT_EQ(ParseIniInt("99999999999"), 2147483647);
    EXPECT_EQ(ParseIniInt("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseIniInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseIniInt("1000"), 1000);
    EXPECT_EQ(ParseIniInt("-"), 0);
}

TEST_F(SettingsTest, SaveWritesAllKeysInOrderAsPlainDecimals) {
    settings.fastwind = -5;
    settings.Save(ipc, ini);
    const char* keys[] = {"bookmark",  "pausefile", "fastwind",  "mousepause", "showhours",
                          "clipmouse", "remaining", "hidedelay", "maxfiles",   "minlength", "listbuttons"};
    const char* values[] = {"1", "1", "-5", "1", "1", "0", "0", "2", "30", "0", "0"};
    ASSERT_EQ(ini.WriteCount(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(ini.writes[i].path, path);
        EXPECT_EQ(ini.writes[i].section, std::string("gen_morvix"));
        EXPECT_EQ(ini.writes[i].key, std::string(keys[i]));
        EXPECT_EQ(ini.writes[i].value, std::string(values[i]));
    }
    Settings reloaded;
    reloaded.fastwind = 0;
    reloaded.Load(ipc, ini);
    EXPECT_EQ(reloaded.fastwind, -5);
}

} // namespace
