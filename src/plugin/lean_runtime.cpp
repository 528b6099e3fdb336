// The few pieces of the C++ runtime the plug-in needs, defined here so that the linker takes them from
// this file and not from the static runtime, whose copies bring its exception machinery, demangler and
// locale-aware formatting into the DLL (about 200 KB of a host plug-in that is otherwise a few tens).
//
// The DLL is built without exceptions, so nothing can unwind out of it into the host. The library's error
// paths below cannot be reached by the plug-in's bounded data (host texts are cut at 4 KiB, the data
// file at 16 MiB); running out of memory can. Neither can be unwound without exceptions, and carrying
// on with a half-made container would write a damaged data file, so both end the process at once with a
// message that names the plug-in.
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <new>
#include <windows.h>

namespace {

[[noreturn]] void Fatal(const char* what) {
    ::FatalAppExitA(0, what);
    ::ExitProcess(3); // FatalAppExit does not return; this tells the compiler so.
}

void* Allocate(std::size_t size) {
    return ::HeapAlloc(::GetProcessHeap(), 0, size == 0 ? 1 : size);
}

void Release(void* block) {
    if (block != nullptr) ::HeapFree(::GetProcessHeap(), 0, block);
}

} // namespace

void* operator new(std::size_t size) {
    void* block = Allocate(size);
    if (block == nullptr) Fatal("Morvix (gen_morvix.dll): out of memory");
    return block;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}

// Where the standard library would throw.
namespace std {
void __throw_bad_alloc() {
    Fatal("Morvix (gen_morvix.dll): out of memory");
}
void __throw_bad_array_new_length() {
    Fatal("Morvix (gen_morvix.dll): out of memory");
}
void __throw_length_error(const char*) {
    Fatal("Morvix (gen_morvix.dll): text or list too long");
}
void __throw_logic_error(const char*) {
    Fatal("Morvix (gen_morvix.dll): internal error");
}
void __throw_out_of_range_fmt(const char*, ...) {
    Fatal("Morvix (gen_morvix.dll): internal error");
}
} // namespace std

// std::snprintf in this toolchain formats through the runtime's own printf, which carries floating-point
// and wide-character conversion the plug-in never uses; it only formats integers, so the system C
// library's formatter serves. The contract is C99's: always terminated, returns the length needed.
extern "C" int __mingw_vsnprintf(char* buffer, std::size_t size, const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int needed = ::_vscprintf(format, measure);
    va_end(measure);
    if (size > 0) {
        ::_vsnprintf(buffer, size, format, args);
        buffer[size - 1] = '\0';
    }
    return needed;
}
