#include "platform/win32/win32_seams.h"

#include <cstdint>
#include <cstring>

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ThisModule() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

namespace {

bool ReturnsResultDirectly(UINT message) {
    return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

// One procedure for every dialog of the plug-in: the handler rides in DWLP_USER from WM_INITDIALOG on.
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogHandler* handler;
    if (message == WM_INITDIALOG) {
        handler = reinterpret_cast<DialogHandler*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(handler));
    } else {
        handler = reinterpret_cast<DialogHandler*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (handler == nullptr) return FALSE;

    LRESULT result = 0;
    const bool handled = handler->OnMessage(hwnd, message, wParam, lParam, &result);
    if (!handled) {
        // The framework's defaults for OK and Cancel: end the dialog (a modeless one is hidden).
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            ::EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace

HWND Win32WindowSystem::CreateDialogFromTemplate(int templateId, HWND parent, DialogHandler* handler) {
    return ::CreateDialogParamA(ThisModule(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
                                reinterpret_cast<LPARAM>(handler));
}

INT_PTR Win32WindowSystem::RunModalDialog(int templateId, HWND parent, DialogHandler* handler) {
    return ::DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
                             reinterpret_cast<LPARAM>(handler));
}

int Win32WindowSystem::GetDpiForWindow(HWND hwnd) {
    // Windows 10 1607 and later; looked up, so that older systems still load the plug-in.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    // Asked each time (a show, the bar's creation): a function-local static would bring in the runtime's
    // guarded initialisation.
    const auto perWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (perWindow != nullptr) {
        const UINT dpi = perWindow(hwnd);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

SIZE Win32WindowSystem::GetTextExtent(HWND hwnd, const char* text) {
    SIZE size{0, 0};
    HDC dc = ::GetDC(hwnd);
    if (dc == nullptr) return size;
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(hwnd, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    if (!::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size)) size = SIZE{0, 0};
    if (old != nullptr) ::SelectObject(dc, old);
    ::ReleaseDC(hwnd, dc);
    return size;
}

void Win32WindowSystem::ListColumns(HWND list, const char* const* titles, const int* percents, int count) {
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client = {};
    ::GetClientRect(list, &client);
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(titles[i]);
        column.cx = percents[i] * (client.right - client.left) / 100;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(count - 1), LVSCW_AUTOSIZE_USEHEADER);
}

void Win32WindowSystem::ListAddRow(HWND list, const std::u16string* cells, int count) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(cells[0].c_str()));
    const LRESULT row = ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (item.iSubItem = 1; row >= 0 && item.iSubItem < count; ++item.iSubItem) {
        item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(cells[item.iSubItem].c_str()));
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

void Win32WindowSystem::ListDeleteRow(HWND list, int row) {
    ::SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (rows == 0) return;
    LVITEMW state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row < rows ? row : rows - 1),
                   reinterpret_cast<LPARAM>(&state));
}

namespace {
// FILETIME counts 100 ns from 1601-01-01.
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSeconds1601To1970 = 11644473600;

std::int64_t SecondsOf(const FILETIME& time) {
    const std::uint64_t ticks = static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSeconds1601To1970;
}

std::u16string Text(const wchar_t* text, int written) {
    return written > 1 ? std::u16string(reinterpret_cast<const char16_t*>(text), written - 1) : u"";
}
} // namespace

std::int64_t Win32WindowSystem::UtcNow() {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    return SecondsOf(now);
}

LocalMoment Win32WindowSystem::ToLocal(std::int64_t utcSeconds) {
    LocalMoment moment;
    // FILETIME holds 1601 to about 30828; a stored time outside shows nothing.
    if (utcSeconds < -kSeconds1601To1970 || utcSeconds > 900000000000 - kSeconds1601To1970) return moment;
    const std::uint64_t ticks = static_cast<std::uint64_t>(utcSeconds + kSeconds1601To1970) * kTicksPerSecond;
    const FILETIME utc = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal, local;
    FILETIME localTime;
    if (!::FileTimeToSystemTime(&utc, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local) ||
        !::SystemTimeToFileTime(&local, &localTime))
        return moment;
    moment.localSeconds = SecondsOf(localTime);
    wchar_t text[80];
    moment.date =
        Text(text, ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, text, 80));
    moment.time =
        Text(text, ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, text, 80));
    return moment;
}
