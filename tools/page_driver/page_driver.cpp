// page_driver.exe SCRIPT COMMAND...: works the windows COMMAND shows the way a person does, one step
// per line of SCRIPT, then exits with COMMAND's exit code. The installer's tests use it to go through
// the pages of setup and uninstall, and to see that both refuse to touch a running player's plug-ins.
// Steps:
//   start           start COMMAND (the steps before it set the scene)
//   expect TEXT     wait for a window whose title, or the text of one of its controls, contains TEXT
//   click TEXT      press the visible, enabled button labelled TEXT (its & marks left out)
//   type TEXT       put TEXT into the visible edit field
//   player open     show a window of the player's main window class, as the running player has
//   player close    take that window away again
//   gone TEXT       wait until no visible window's title contains TEXT
// Every step waits at most 60 s (the 32-bit programs run emulated on a loaded machine). A step that
// times out prints the windows it saw, and the driver ends COMMAND and exits 90.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStepDeadlineMs = 60000;

std::string TextOf(HWND window) {
    char text[1024] = "";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          2000, &length);
    text[sizeof text - 1] = '\0';
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WithoutAmpersands(std::string text) {
    std::string out;
    for (const char c : text)
        if (c != '&') out += c;
    return out;
}

// The visible top-level windows of other processes, and each one's visible controls.
struct Seen {
    HWND window;
    std::vector<HWND> controls;
};

BOOL CALLBACK AddTopLevel(HWND window, LPARAM seen) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() && ::IsWindowVisible(window))
        reinterpret_cast<std::vector<Seen>*>(seen)->push_back({window, {}});
    return TRUE;
}

BOOL CALLBACK AddControl(HWND control, LPARAM controls) {
    if (::IsWindowVisible(control)) reinterpret_cast<std::vector<HWND>*>(controls)->push_back(control);
    return TRUE;
}

std::vector<Seen> VisibleWindows() {
    std::vector<Seen> seen;
    ::EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&seen));
    for (Seen& s : seen)
        ::EnumChildWindows(s.window, AddControl, reinterpret_cast<LPARAM>(&s.controls));
    return seen;
}

void PrintWindows() {
    for (const Seen& s : VisibleWindows()) {
        std::printf("  window [%s] \"%s\"\n", ClassOf(s.window).c_str(), TextOf(s.window).c_str());
        for (HWND control : s.controls)
            std::printf("    %s [%s] \"%s\"\n", ::IsWindowEnabled(control) ? "control" : "disabled",
                        ClassOf(control).c_str(), TextOf(control).c_str());
    }
}

// One step's search: returns true once it has done its part.
bool Expect(const std::string& text) {
    for (const Seen& s : VisibleWindows()) {
        if (TextOf(s.window).find(text) != std::string::npos) return true;
        for (HWND control : s.controls)
            if (TextOf(control).find(text) != std::string::npos) return true;
    }
    return false;
}

HWND FindControl(const std::string& windowClass, const std::string& label) {
    for (const Seen& s : VisibleWindows())
        for (HWND control : s.controls)
            if (::IsWindowEnabled(control) && ClassOf(control) == windowClass &&
                (label.empty() || WithoutAmpersands(TextOf(control)) == label))
                return control;
    return nullptr;
}

// What a click on a push button sends to the dialog that holds it.
bool Click(const std::string& label) {
    HWND button = FindControl("Button", label);
    if (button == nullptr) return false;
    const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED);
    return ::PostMessageA(::GetParent(button), WM_COMMAND, command, reinterpret_cast<LPARAM>(button)) != 0;
}

bool Type(const std::string& text) {
    HWND edit = FindControl("Edit", "");
    if (edit == nullptr) return false;
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000,
                          &result);
    return TextOf(edit) == text;
}

bool Gone(const std::string& title) {
    for (const Seen& s : VisibleWindows())
        if (TextOf(s.window).find(title) != std::string::npos) return false;
    return true;
}

HWND g_player = nullptr;

bool Player(const std::string& what) {
    if (what == "close") {
        if (g_player != nullptr) ::DestroyWindow(g_player);
        g_player = nullptr;
        return true;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "Winamp v1.x";
    ::RegisterClassA(&wc);
    g_player = ::CreateWindowExA(0, wc.lpszClassName, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    return g_player != nullptr;
}

// Answers this process's own messages while waiting: programs that send to every window need it.
void Pump(DWORD ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

bool RunStep(const std::string& verb, const std::string& argument) {
    if (verb == "expect") return Expect(argument);
    if (verb == "click") return Click(argument);
    if (verb == "type") return Type(argument);
    if (verb == "player") return Player(argument);
    if (verb == "gone") return Gone(argument);
    std::printf("page_driver: unknown step \"%s\"\n", verb.c_str());
    return false;
}

bool WaitForStep(const std::string& verb, const std::string& argument) {
    const DWORD start = ::GetTickCount();
    while (!RunStep(verb, argument)) {
        if (::GetTickCount() - start > kStepDeadlineMs) return false;
        Pump(200);
    }
    return true;
}

// The command is the rest of this program's command line after the script's name, as written.
std::string CommandAfterTwoWords() {
    const char* line = ::GetCommandLineA();
    for (int word = 0; word < 2; ++word) {
        while (*line == ' ')
            ++line;
        const bool quoted = *line == '"';
        for (++line; *line != '\0' && (quoted ? *line != '"' : *line != ' '); ++line) {
        }
        if (quoted && *line == '"') ++line;
    }
    while (*line == ' ')
        ++line;
    return line;
}

} // namespace

int main(int argc, char** argv) {
    std::string command = CommandAfterTwoWords();
    if (argc < 3 || command.empty()) return 100;
    std::ifstream script(argv[1]);
    if (!script) return 101;

    PROCESS_INFORMATION process = {};
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
        std::printf("page_driver: %s\n", line.c_str());
        std::fflush(stdout);
        if (verb == "start") {
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process))
                return 102;
        } else if (!WaitForStep(verb, argument)) {
            std::printf("page_driver: step %d (%s) not done within %lu s; the windows then:\n", number,
                        line.c_str(), kStepDeadlineMs / 1000);
            PrintWindows();
            std::fflush(stdout);
            if (process.hProcess != nullptr) ::TerminateProcess(process.hProcess, 1);
            return 90;
        }
    }
    if (process.hProcess == nullptr) return 103;
    const DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && ::GetTickCount() - start < kStepDeadlineMs)
        Pump(200);
    DWORD code = 104;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code == STILL_ACTIVE ? 104 : static_cast<int>(code);
}
