// The DLL's own entry point, in place of the C runtime's startup code. The plug-in needs only what that
// code does for a DLL of plain C++: its globals constructed at load and destroyed at unload, in the
// reverse order. The rest of it (TLS callbacks, pseudo-relocations for imported data, the runtime's exit
// tables, about 5 KB of the i686 DLL) serves nothing the plug-in uses: it imports functions only, and
// keeps no thread-local data.
#include <windows.h>

extern "C" {
// Laid out by the linker's script: a -1, the constructors of every object file, a 0.
extern void (*__CTOR_LIST__[])();
}

namespace {
// The destructors of the globals register here as they are constructed (the compiler calls atexit for
// each); a few dozen globals, and more is a build fault, caught at load.
constexpr int kMaxExits = 64;
void (*s_exits[kMaxExits])();
int s_exitCount = 0;
bool s_overflow = false;

void RunConstructors() {
    int count = 1;
    while (__CTOR_LIST__[count] != nullptr)
        ++count;
    // Run from the last to the first, as the runtime does: the linker lists them in reverse.
    for (int i = count - 1; i >= 1; --i)
        __CTOR_LIST__[i]();
}

void RunExits() {
    while (s_exitCount > 0)
        s_exits[--s_exitCount]();
}
} // namespace

extern "C" int atexit(void (*exit)()) {
    if (s_exitCount == kMaxExits) {
        s_overflow = true;
        return -1;
    }
    s_exits[s_exitCount++] = exit;
    return 0;
}

extern "C" BOOL WINAPI DllEntry(HINSTANCE module, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(module);
        RunConstructors();
        // A global whose destructor could not be registered would leak a hook or a window at unload.
        return s_overflow ? FALSE : TRUE;
    }
    if (reason == DLL_PROCESS_DETACH) RunExits();
    return TRUE;
}
