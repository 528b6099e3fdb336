#include "platform/win32/win32_seams.h"

// Converted without any flags, then read back: a character the code page lacks comes back as its default
// character, one it only approximates (a best fit) as another one, so only an exact name reads back equal.
bool Win32CodePage::ToAnsi(const std::u16string& wide, std::string& ansi) {
    const auto* text = reinterpret_cast<const wchar_t*>(wide.data());
    const int units = static_cast<int>(wide.size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (units == 0 || bytes <= 0) return false;
    ansi.assign(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, units, &ansi[0], bytes, nullptr, nullptr);
    std::wstring back(static_cast<std::size_t>(units) + 1, L'\0');
    const int read = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, &back[0], units + 1);
    return read == units &&
           back.compare(0, static_cast<std::size_t>(units), text, static_cast<std::size_t>(units)) == 0;
}

std::u16string Win32CodePage::ToWide(const std::string& ansi) {
    const int size = static_cast<int>(ansi.size());
    const int units = size == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::u16string wide(units > 0 ? static_cast<std::size_t>(units) : 0, u'\0');
    if (units > 0)
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(&wide[0]), units);
    return wide;
}
