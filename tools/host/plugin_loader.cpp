#include "plugin_loader.h"

#include <cstring>

namespace {
// A slow disk (a network share, a sleeping USB disk) under the plug-in: each open, look at a file's
// attributes, read, write, flush and rename of its own takes this much longer, through its import table,
// wherever it is called from.
DWORD s_slowDiskMs = 0;
// A share that went away: an open of a path that holds this text waits this long, then fails as the
// network's open does when it times out.
std::string s_lostShare;
DWORD s_lostShareMs = 0;

bool OnLostShare(const std::string& path) {
    return !s_lostShare.empty() && path.find(s_lostShare) != std::string::npos;
}

std::string Utf8(LPCWSTR wide) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? static_cast<std::size_t>(bytes) : 0, '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], bytes, nullptr, nullptr);
    return text;
}

HANDLE LostShareOpen() {
    ::Sleep(s_lostShareMs);
    ::SetLastError(ERROR_BAD_NETPATH);
    return INVALID_HANDLE_VALUE;
}

HANDLE WINAPI SlowCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE model) {
    if (name && OnLostShare(name)) return LostShareOpen();
    ::Sleep(s_slowDiskMs);
    return ::CreateFileA(name, access, share, security, disposition, flags, model);
}
HANDLE WINAPI SlowCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE model) {
    if (name && OnLostShare(Utf8(name))) return LostShareOpen();
    ::Sleep(s_slowDiskMs);
    return ::CreateFileW(name, access, share, security, disposition, flags, model);
}
DWORD WINAPI SlowGetFileAttributesA(LPCSTR name) {
    ::Sleep(s_slowDiskMs);
    return ::GetFileAttributesA(name);
}
BOOL WINAPI SlowReadFile(HANDLE file, LPVOID bytes, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) {
    ::Sleep(s_slowDiskMs);
    return ::ReadFile(file, bytes, size, done, overlapped);
}
BOOL WINAPI SlowWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) {
    ::Sleep(s_slowDiskMs);
    return ::WriteFile(file, bytes, size, done, overlapped);
}
BOOL WINAPI SlowFlushFileBuffers(HANDLE file) {
    ::Sleep(s_slowDiskMs);
    return ::FlushFileBuffers(file);
}
BOOL WINAPI SlowMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    ::Sleep(s_slowDiskMs);
    return ::MoveFileExA(from, to, flags);
}

void* SlowerOf(const char* name) {
    const struct {
        const char* name;
        void* slow;
    } slower[] = {
        {"CreateFileA", reinterpret_cast<void*>(SlowCreateFileA)},
        {"CreateFileW", reinterpret_cast<void*>(SlowCreateFileW)},
        {"GetFileAttributesA", reinterpret_cast<void*>(SlowGetFileAttributesA)},
        {"ReadFile", reinterpret_cast<void*>(SlowReadFile)},
        {"WriteFile", reinterpret_cast<void*>(SlowWriteFile)},
        {"FlushFileBuffers", reinterpret_cast<void*>(SlowFlushFileBuffers)},
        {"MoveFileExA", reinterpret_cast<void*>(SlowMoveFileExA)},
    };
    for (const auto& s : slower)
        if (std::strcmp(name, s.name) == 0) return s.slow;
    return nullptr;
}

void SlowDownDisk(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk
                                                                                          : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name =
                reinterpret_cast<const char*>(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
            void* slow = SlowerOf(name);
            if (!slow) continue;
            DWORD was = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &was);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(slow);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, was, &was);
        }
    }
}

bool Slowed() {
    return s_slowDiskMs != 0 || !s_lostShare.empty();
}
} // namespace

void PluginLoader::SetSlowDisk(int ms) {
    s_slowDiskMs = static_cast<DWORD>(ms < 0 ? 0 : ms);
    if (!Slowed()) return;
    for (const LoadedPlugin& plugin : m_plugins)
        SlowDownDisk(plugin.module);
}

void PluginLoader::SetLostShare(const std::string& text, int ms) {
    s_lostShare = text;
    s_lostShareMs = static_cast<DWORD>(ms < 0 ? 0 : ms);
    for (const LoadedPlugin& plugin : m_plugins)
        SlowDownDisk(plugin.module);
}

namespace {
using ExportFn = GeneralPurposePluginRecord* (*)();

bool InsideModule(LONG_PTR address, HMODULE module) {
    if (address == 0) return false;
    MEMORY_BASIC_INFORMATION info = {};
    return ::VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info) &&
           info.AllocationBase == reinterpret_cast<void*>(module);
}

bool IsDialog(HWND hwnd) {
    char cls[16] = "";
    ::GetClassNameA(hwnd, cls, sizeof cls);
    return std::string(cls) == "#32770";
}

bool RunsCodeOf(HWND hwnd, HMODULE module) {
    return InsideModule(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC), module) ||
           (IsDialog(hwnd) && InsideModule(::GetWindowLongPtrA(hwnd, DWLP_DLGPROC), module));
}

struct WindowSearch {
    HMODULE module;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process == ::GetCurrentProcessId() && RunsCodeOf(hwnd, search->module)) search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK Neutralise(HWND hwnd, LPARAM) {
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::DefWindowProcA));
    return TRUE;
}

std::string Describe(HWND hwnd) {
    char cls[64] = "", title[128] = "";
    ::GetClassNameA(hwnd, cls, sizeof cls);
    ::GetWindowTextA(hwnd, title, sizeof title);
    return std::string("class \"") + cls + "\" title \"" + title + "\"";
}
} // namespace

int PluginLoader::LoadAll(const std::string& folder, HWND mainWindow) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\gen_*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        m_log.Note("no gen_*.dll in " + folder);
        return 0;
    }
    std::vector<std::string> paths;
    do {
        paths.push_back(folder + "\\" + found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);

    int count = 0;
    m_lastInitUs = 0;
    for (const std::string& path : paths) {
        HMODULE module = ::LoadLibraryA(path.c_str());
        if (!module) {
            m_log.Note("LoadLibrary failed for " + path + ", error " + std::to_string(::GetLastError()));
            continue;
        }
        auto get = reinterpret_cast<ExportFn>(
            reinterpret_cast<void*>(::GetProcAddress(module, "winampGetGeneralPurposePlugin")));
        GeneralPurposePluginRecord* record = get ? get() : nullptr;
        if (!record || record->version != kGeneralPurposeRecordVersion || !record->init) {
            m_log.Note("not a general-purpose plug-in: " + path);
            ::FreeLibrary(module);
            continue;
        }
        if (Slowed()) SlowDownDisk(module);
        record->hwndParent = mainWindow;
        record->hDllInstance = module;
        m_plugins.push_back(LoadedPlugin{path, module, record, false});
        m_log.Note(std::string("loaded ") + path + " \"" + (record->description ? record->description : "") +
                   "\"; init");
        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
        const int result = record->init();
        ::QueryPerformanceCounter(&end);
        const double ticks = static_cast<double>(end.QuadPart - start.QuadPart);
        m_lastInitUs += ticks * 1e6 / static_cast<double>(frequency.QuadPart);
        m_plugins.back().initialised = true;
        m_log.Note("init returned " + std::to_string(result));
        ++count;
    }
    return count;
}

void PluginLoader::ConfigAll() {
    for (LoadedPlugin& plugin : m_plugins) {
        if (!plugin.initialised || !plugin.record->config) continue;
        m_log.Note("config " + plugin.path);
        plugin.record->config();
        m_log.Note("config returned");
    }
}

void PluginLoader::QuitAll() {
    for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) {
        if (!it->initialised) continue;
        it->initialised = false;
        m_log.Note("quit " + it->path);
        if (it->record->quit) it->record->quit();
    }
}

void PluginLoader::FreeAll() {
    for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) {
        // A window whose procedure lives in the DLL must be gone once the DLL is; one that outlives it
        // would crash the host on its next message, so it is logged and taken down safely instead.
        WindowSearch search{it->module, {}};
        ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
        m_log.Note("FreeLibrary " + it->path);
        ::FreeLibrary(it->module);
        for (HWND hwnd : search.found) {
            if (!::IsWindow(hwnd)) continue;
            m_log.Note("left behind after unload: window " + Describe(hwnd) + "; the host destroys it");
            ::EnumChildWindows(hwnd, Neutralise, 0);
            if (IsDialog(hwnd)) ::SetWindowLongPtrA(hwnd, DWLP_DLGPROC, 0);
            Neutralise(hwnd, 0);
            ::DestroyWindow(hwnd);
        }
    }
    m_plugins.clear();
}
