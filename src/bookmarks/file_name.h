// The name the memory knows a file by. A name the ANSI code page represents exactly is its ANSI bytes, as
// the host's ANSI request gives it and as every data file has always held it. Any other name is a zero
// byte followed by its UTF-8 bytes: no ANSI name starts with a zero byte, so the two kinds never meet.
#pragma once
#include <string>

namespace file_name {
// The in-band mark that starts a wide name's key.
constexpr char kWideMark = '\0';

inline bool IsWide(const std::string& name) {
    return !name.empty() && name[0] == kWideMark;
}
// The wide name's key: the mark, then UTF-8 (a lone surrogate is encoded on its own, so distinct names
// stay distinct).
std::string FromWide(const std::u16string& wide);
// A wide name's key back as UTF-16 (the mark left out); what FromWide made comes back as it was.
std::u16string ToWide(const std::string& key);
// True for a name that is a path of a local or shared file, whose contents can be read.
bool IsFilePath(const std::string& name);
} // namespace file_name
