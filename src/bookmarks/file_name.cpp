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
    const char* p = name.c_str() + (IsWide(name) ? 1 : 0);
    const auto slash = [](char c) { return c == '\\' || c == '/'; };
    const auto drive = [&slash](const char* d) {
        return ((*d >= 'A' && *d <= 'Z') || (*d >= 'a' && *d <= 'z')) && d[1] == ':' && slash(d[2]);
    };
    if (!slash(p[0]) || !slash(p[1])) return drive(p);
    // "\\.\" and "\\?\" name devices and pipes as well as files: opening one may block or disturb it.
    // Only the long form of a drive or share path is a file's.
    if ((p[2] == '.' || p[2] == '?') && slash(p[3])) {
        if (p[2] == '.') return false;
        p += 4;
        if (drive(p)) return true;
        return (p[0] | 0x20) == 'u' && (p[1] | 0x20) == 'n' && (p[2] | 0x20) == 'c' && slash(p[3]) &&
               p[4] != '\0' && !slash(p[4]);
    }
    return p[2] != '\0' && !slash(p[2]);
}

} // namespace file_name
