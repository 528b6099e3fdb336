// player_window.exe COMMAND...: runs COMMAND while a top-level window of the player's main window class
// exists, as it does while the player runs, and exits with COMMAND's exit code. The installer's tests
// use it to see that setup and uninstall refuse to touch a running player's plug-ins.
#include <windows.h>

#include <string>

int main() {
    // The command is the rest of this program's own command line, passed on as written.
    const char* line = ::GetCommandLineA();
    const bool quoted = *line == '"';
    for (++line; *line != '\0' && (quoted ? *line != '"' : *line != ' '); ++line) {
    }
    if (quoted && *line == '"') ++line;
    while (*line == ' ')
        ++line;
    std::string command = line;
    if (command.empty()) return 100;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "Winamp v1.x";
    if (!::RegisterClassA(&wc)) return 101;
    HWND window = ::CreateWindowExA(0, wc.lpszClassName, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    if (window == nullptr) return 102;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return 103;
    // A live window answers its messages; pumping meanwhile keeps anything that sends to all windows going.
    while (::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    DWORD code = 104;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::DestroyWindow(window);
    return static_cast<int>(code);
}
