// The plug-in's six options, stored in the host's INI file, section "gen_morvix".
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

    Settings() { SetDefaults(); }
    void SetDefaults();
    void Load(CWinampIPC& host, ProfileStore& profile);
    void Save(CWinampIPC& host, ProfileStore& profile) const;
};

// A switch counts as on only when it holds exactly 1.
inline bool IsOn(int value) {
    return value == 1;
}

namespace settings_ini {
constexpr const char* kSection = "gen_morvix";
constexpr int kKeyCount = 6;
extern const char* const kKeys[kKeyCount];
// The field of s behind kKeys[index].
int& Field(Settings& s, int index);
int Field(const Settings& s, int index);
} // namespace settings_ini

// atoi's reading of an INI value: leading blanks, an optional sign, digits up to the first other
// character; 0 when there are none. Values beyond 32 bits saturate instead of wrapping.
int ParseIniInt(const char* text);
