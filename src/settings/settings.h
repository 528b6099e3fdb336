// The plug-in's options, stored in the host's INI file, section "gen_morvix".
#pragma once
#include "platform/profile_store.h"

class CWinampIPC;

struct Settings {
    int bookmark;
    int pausefile;
    int fastwind;
    int mousepause;
    int showhours;
    int clipmouse;
    int remaining; // the clock shows the time left instead of the position
    int hidedelay; // seconds the bar stays after the mouse rests outside it
    int maxfiles;  // how many files the data file keeps, the most recently used
    int minlength; // minutes: a file the host reports shorter is not remembered; 0 remembers every file
    int listbuttons; // the bar's previous and next buttons

    Settings() { SetDefaults(); }
    void SetDefaults();
    void Load(CWinampIPC& host, ProfileStore& profile);
    void Save(CWinampIPC& host, ProfileStore& profile) const;
    // Writes the one key behind settings_ini::kKeys[index].
    void SaveKey(CWinampIPC& host, ProfileStore& profile, int index) const;

private:
    void SaveKeys(CWinampIPC& host, ProfileStore& profile, int first, int end) const;
};

// The hide delay as used: within kMinHideDelay..kMaxHideDelay seconds, whatever the INI file holds.
constexpr int kMinHideDelay = 1;
constexpr int kMaxHideDelay = 60;
int HideDelaySeconds(const Settings& s);
// The number of files kept, within kMinMaxFiles..kMaxMaxFiles, and the shortest length remembered, within
// 0..kMaxMinLength minutes, whatever the INI file holds.
constexpr int kMinMaxFiles = 30;
constexpr int kMaxMaxFiles = 1000;
constexpr int kMaxMinLength = 600;
int MaxFiles(const Settings& s);
int MinLengthMinutes(const Settings& s);

// A switch counts as on only when it holds exactly 1.
inline bool IsOn(int value) {
    return value == 1;
}

namespace settings_ini {
constexpr const char* kSection = "gen_morvix";
constexpr int kKeyCount = 11;
constexpr int kRemainingKey = 6;
extern const char* const kKeys[kKeyCount];
// The field of s behind kKeys[index].
int& Field(Settings& s, int index);
int Field(const Settings& s, int index);
} // namespace settings_ini

// atoi's reading of an INI value: leading blanks, an optional sign, digits up to the first other
// character; 0 when there are none. Values beyond 32 bits saturate instead of wrapping.
int ParseIniInt(const char* text);
