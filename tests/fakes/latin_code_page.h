// The ANSI code page of a Western system as far as the tests need it: the first 256 code points, a byte each.
#pragma once
#include "platform/code_page.h"

class LatinCodePage : public CodePage {
public:
    bool ToAnsi(const std::u16string& wide, std::string& ansi) override {
        ansi.clear();
        for (char16_t c : wide) {
            if (c == 0 || c > 0xFF) return false;
            ansi += static_cast<char>(c);
        }
        return !wide.empty();
    }
};
