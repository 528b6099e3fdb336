// Seam: the host's ANSI code page (WideCharToMultiByte / MultiByteToWideChar with CP_ACP).
#pragma once
#include <string>

class CodePage {
public:
    virtual ~CodePage() = default;
    // The text in the ANSI code page; false when that code page cannot represent it exactly (a character
    // it lacks, or one it would only approximate).
    virtual bool ToAnsi(const std::u16string& wide, std::string& ansi) = 0;
    // ANSI text as UTF-16 (what the code page lacks a character for comes out as the system makes it).
    virtual std::u16string ToWide(const std::string& ansi) = 0;
};
