#include "window_probe.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/resource_ids.h"

namespace probe {
namespace {
struct Search {
    DWORD process;
    bool (*match)(HWND, const Search&);
    const std::string* title;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process != search->process || !search->match(hwnd, *search)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindTopLevel(bool (*match)(HWND, const Search&), const std::string* title, bool visibleOnly) {
    Search search{::GetCurrentProcessId(), match, title, visibleOnly, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
} // namespace

HWND FindBar() {
    return FindTopLevel([](HWND hwnd, const Search&) { return ::GetDlgItem(hwnd, IDC_SEEK) != nullptr; },
                        nullptr, false);
}

HWND FindWindowByTitle(const std::string& title, bool visibleOnly) {
    return FindTopLevel(
        [](HWND hwnd, const Search& s) {
            return (!s.visibleOnly || ::IsWindowVisible(hwnd)) && Text(hwnd) == *s.title;
        },
        &title, visibleOnly);
}

HWND FindOptions() {
    return FindTopLevel([](HWND hwnd, const Search&) { return ::GetDlgItem(hwnd, IDC_CFG_LIST) != nullptr; },
                        nullptr, false);
}

std::vector<std::wstring> OptionsFiles(HWND options) {
    const HWND list = options ? ::GetDlgItem(options, IDC_CFG_LIST) : nullptr;
    std::vector<std::wstring> files;
    const int count = list ? static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    for (int row = 0; row < count; ++row) {
        // File, At, Last played, Folder.
        std::wstring cells[4];
        for (int cell = 0; cell < 4; cell += 3) {
            wchar_t buffer[MAX_PATH + 1] = L"";
            LVITEMW item = {};
            item.iSubItem = cell;
            item.pszText = buffer;
            item.cchTextMax = MAX_PATH + 1;
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            cells[cell] = buffer;
        }
        files.push_back(cells[3] + L"\\" + cells[0]);
    }
    return files;
}

void SelectOptionsRow(HWND options, int row) {
    const HWND list = ::GetDlgItem(options, IDC_CFG_LIST);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const WPARAM everyRow = static_cast<WPARAM>(-1);
    ::SendMessageW(list, LVM_SETITEMSTATE, everyRow, reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

std::string DescribeOptions(HWND options) {
    if (!options) return "the options are not open";
    std::string text = "the options list";
    for (const std::wstring& file : OptionsFiles(options)) {
        char narrow[2 * MAX_PATH] = "";
        ::WideCharToMultiByte(CP_UTF8, 0, file.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
        text += std::string(" \"") + narrow + "\"";
    }
    return text;
}

std::string Text(HWND hwnd) {
    char text[512] = "";
    if (hwnd) ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

SIZE TextExtent(HWND hwnd, int* textHeight) {
    const std::string text = Text(hwnd);
    SIZE size{0, 0};
    HDC dc = ::GetDC(hwnd);
    if (dc == nullptr) return size;
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics{};
    if (textHeight != nullptr && ::GetTextMetricsA(dc, &metrics)) *textHeight = metrics.tmHeight;
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd, dc);
    return size;
}

RECT WindowRect(HWND hwnd) {
    RECT rc = {};
    if (hwnd) ::GetWindowRect(hwnd, &rc);
    return rc;
}

Slider ReadSlider(HWND control) {
    Slider s;
    if (!control) return s;
    s.exists = true;
    s.pos = static_cast<int>(::SendMessageA(control, TBM_GETPOS, 0, 0));
    s.min = static_cast<int>(::SendMessageA(control, TBM_GETRANGEMIN, 0, 0));
    s.max = static_cast<int>(::SendMessageA(control, TBM_GETRANGEMAX, 0, 0));
    s.selStart = static_cast<int>(::SendMessageA(control, TBM_GETSELSTART, 0, 0));
    s.selEnd = static_cast<int>(::SendMessageA(control, TBM_GETSELEND, 0, 0));
    return s;
}

std::string DescribeBar() {
    HWND bar = FindBar();
    if (!bar) return "bar: none (no top-level window of this process holds control 2013)\n";
    const RECT rc = WindowRect(bar);
    char line[256];
    std::snprintf(line, sizeof line, "bar: %s, rect (%ld,%ld)-(%ld,%ld), clock \"%s\"\n",
                  ::IsWindowVisible(bar) ? "visible" : "hidden", rc.left, rc.top, rc.right, rc.bottom,
                  Text(::GetDlgItem(bar, IDC_TIME)).c_str());
    std::string out = line;
    const struct {
        int id;
        const char* name;
    } sliders[] = {{IDC_SEEK, "seek"}, {IDC_SHUTTLE, "shuttle"}, {IDC_VOLUME, "volume"}};
    for (const auto& slider : sliders) {
        const Slider s = ReadSlider(::GetDlgItem(bar, slider.id));
        if (!s.exists) {
            std::snprintf(line, sizeof line, "  %s slider: missing\n", slider.name);
        } else {
            std::snprintf(line, sizeof line, "  %s slider: pos %d, range %d..%d, selection %d..%d\n",
                          slider.name, s.pos, s.min, s.max, s.selStart, s.selEnd);
        }
        out += line;
    }
    return out;
}
} // namespace probe
