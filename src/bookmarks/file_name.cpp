#include "bookmarks/file_name.h"

namespace file_name {

std::string FromWide(const std::u16string& wide) {
    std::string key(1, kWideMark);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        const bool pair =
            c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        if (c < 0x80) {
            key += static_cast<char>(c);
            continue;
        }
        static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
        const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        key += static_cast<char>(kLead[tail] | (c >> (6 * tail)));
        for (int k = tail - 1; k >= 0; --k)
            key += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return key;
}

std::u16string ToWide(const std::string& key) {
    std::u16string wide;
    for (std::size_t i = IsWide(key) ? 1 : 0; i < key.size();) {
        const unsigned char lead = static_cast<unsigned char>(key[i++]);
        const int tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = tail == 0 ? lead : lead & (0x3F >> tail);
        for (int k = 0; k < tail && i < key.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(key[i++]) & 0x3F);
        if (c >= 0x10000) {
            wide += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            c = 0xDC00 + ((c - 0x10000) & 0x3FF);
        }
        wide += static_cast<char16_t>(c);
    }
    return wide;
}

// A drive path ("C:\\..."), or a share's ("\\\\server\\..."); a URL ("http://...") is neither.
bool IsFilePath(const std::string& name) {
    const std::size_t at = IsWide(name) ? 1 : 0;
    if (name.size() < at + 3) return false;
    const auto slash = [&name](std::size_t i) {
        return i < name.size() && (name[i] == '\\' || name[i] == '/');
    };
    const auto drive = [&name, &slash](std::size_t i) {
        const char a = i < name.size() ? name[i] : '\0';
        return ((a >= 'A' && a <= 'Z') || (a >= 'a' && a <= 'z')) && i + 1 < name.size() &&
               name[i + 1] == ':' && slash(i + 2);
    };
    if (!slash(at) || !slash(at + 1)) return drive(at);
    // "\\.\" and "\\?\" name devices and pipes as well as files: opening one may block or disturb it.
    // Only the long form of a drive or share path is a file's.
    const char c = name[at + 2];
    if ((c == '.' || c == '?') && slash(at + 3)) {
        if (c == '.') return false;
        if (drive(at + 4)) return true;
        std::string unc = name.substr(at + 4, 3);
        for (char& ch : unc)
            ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
        return unc == "UNC" && slash(at + 7) && at + 8 < name.size() && !slash(at + 8);
    }
    return !slash(at + 2);
}

} // namespace file_name
