#include "settings/settings.h"

#include <climits>
#include <cstdio>

#include "host/winamp_ipc.h"

namespace settings_ini {
const char* const kKeys[kKeyCount] = {"bookmark",  "pausefile", "fastwind",  "mousepause", "showhours",
                                      "clipmouse", "remaining", "hidedelay", "maxfiles",   "minlength",
                                      "listbuttons"};

int& Field(Settings& s, int index) {
    int* const fields[kKeyCount] = {&s.bookmark,  &s.pausefile, &s.fastwind,  &s.mousepause, &s.showhours,
                                    &s.clipmouse, &s.remaining, &s.hidedelay, &s.maxfiles,   &s.minlength,
                                    &s.listbuttons};
    return *fields[index];
}

int Field(const Settings& s, int index) {
    return Field(const_cast<Settings&>(s), index);
}
} // namespace settings_ini

void Settings::SetDefaults() {
    bookmark = 1;
    pausefile = 1;
    fastwind = 30;
    mousepause = 1;
    showhours = 1;
    clipmouse = 0;
    remaining = 0;
    hidedelay = 2;
    maxfiles = 30;
    minlength = 0;
    listbuttons = 0;
}

int HideDelaySeconds(const Settings& s) {
    return s.hidedelay < kMinHideDelay   ? kMinHideDelay
           : s.hidedelay > kMaxHideDelay ? kMaxHideDelay
                                         : s.hidedelay;
}

namespace {
int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}
} // namespace

int MaxFiles(const Settings& s) {
    return Clamp(s.maxfiles, kMinMaxFiles, kMaxMaxFiles);
}

int MinLengthMinutes(const Settings& s) {
    return Clamp(s.minlength, 0, kMaxMinLength);
}

int ParseIniInt(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

void Settings::Load(CWinampIPC& host, ProfileStore& profile) {
    const std::string path = host.GetIniFile();
    // The profile functions would look for an empty name in the Windows directory: no file, no reading.
    if (path.empty()) return;
    for (int i = 0; i < settings_ini::kKeyCount; ++i) {
        char buffer[256] = {};
        const DWORD copied = profile.GetString(settings_ini::kSection, settings_ini::kKeys[i], "", buffer,
                                               sizeof buffer, path.c_str());
        if (copied == 0) continue;
        buffer[sizeof buffer - 1] = '\0';
        settings_ini::Field(*this, i) = ParseIniInt(buffer);
    }
}

void Settings::Save(CWinampIPC& host, ProfileStore& profile) const {
    SaveKeys(host, profile, 0, settings_ini::kKeyCount);
}

void Settings::SaveKey(CWinampIPC& host, ProfileStore& profile, int index) const {
    SaveKeys(host, profile, index, index + 1);
}

void Settings::SaveKeys(CWinampIPC& host, ProfileStore& profile, int first, int end) const {
    const std::string path = host.GetIniFile();
    if (path.empty()) return;
    for (int i = first; i < end; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%i", settings_ini::Field(*this, i));
        profile.WriteString(settings_ini::kSection, settings_ini::kKeys[i], text, path.c_str());
    }
}
