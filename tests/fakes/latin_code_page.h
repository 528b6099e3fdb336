// The ANSI code page of a Western system as far as the tests need it: the first 256 code points, a byte each.
#pragma once
#include "platform/code_page.h"

// bytesPerChar 2 stands for a double-byte code page's longer ANSI names.
class LatinCodePage : public CodePage {
public:
    int bytesPerChar = 1;
    bool ToAnsi(const std::u16string& wide, std::string& ansi) override {
        ansi.clear();
        for (char16_t c : wide) {
            if (c == 0 || c > 0xFF) return false;
            ansi.append(static_cast<std::size_t>(bytesPerChar), static_cast<char>(c));
        }
        return !wide.empty();
    }
    std::u16string ToWide(const std::string& ansi) override {
        std::u16string wide;
        for (char c : ansi)
            wide += static_cast<char16_t>(static_cast<unsigned char>(c));
        return wide;
    }
};
