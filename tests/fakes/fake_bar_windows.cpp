#include "fake_bar_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resources/resource_ids.h"

namespace {
const char* const kTrackbar = "msctls_trackbar32";

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}
} // namespace

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The template's items with their dialog-unit rectangles taken as pixels.
FakeBarWindows::FakeBarWindows()
    : children{{IDC_SKIP_FWD30, "Button", {370, 24, 440, 38}}, {IDC_SHUTTLE, kTrackbar, {7, 38, 439, 59}},
               {IDC_TIME, "Static", {565, 24, 666, 59}},       {IDC_SKIP_FWD10, "Button", {300, 24, 370, 38}},
               {IDC_SKIP_FWD5, "Button", {230, 24, 300, 38}},  {IDC_SKIP_BACK5, "Button", {147, 24, 217, 38}},
               {IDC_SKIP_BACK10, "Button", {77, 24, 147, 38}}, {IDC_SKIP_BACK30, "Button", {7, 24, 77, 38}},
               {IDC_VOLUME, kTrackbar, {451, 21, 475, 59}},    {IDC_PLAYPAUSE, "Button", {485, 24, 555, 38}},
               {IDC_EXIT, "Button", {505, 45, 555, 59}},       {IDC_SEEK, kTrackbar, {1, 7, 671, 24}},
               {IDC_RESTORE, "Button", {485, 45, 502, 59}},    {IDC_PREVIOUS, "Button", {395, 45, 416, 59}},
               {IDC_NEXT, "Button", {418, 45, 439, 59}}} {}

HWND FakeBarWindows::NewHandle() {
    return reinterpret_cast<HWND>(m_nextHandle++);
}

HWND FakeBarWindows::CreateDialogFromTemplate(int, HWND, DialogHandler* handler) {
    m_bar = NewHandle();
    FakeWindow& bar = m_windows[m_bar];
    bar.className = "#32770";
    bar.rect = barRect;
    m_topLevel.insert(m_topLevel.begin(), m_bar);
    for (const ChildSpec& child : children) {
        const HWND h = NewHandle();
        FakeWindow& w = m_windows[h];
        w.parent = m_bar;
        w.id = child.id;
        w.className = child.className;
        w.rect = child.rect;
        w.visible = true;
        m_children.push_back(h);
    }
    m_handler = handler;
    LRESULT result = 0;
    handler->OnMessage(m_bar, WM_INITDIALOG, 0, 0, &result);
    return m_bar;
}

HWND FakeBarWindows::Item(int id) {
    return GetDlgItem(m_bar, id);
}

HWND FakeBarWindows::GetDlgItem(HWND dialog, int id) {
    for (HWND h : m_children)
        if (m_windows[h].parent == dialog && m_windows[h].id == id) return h;
    return nullptr;
}

HWND FakeBarWindows::AddTopLevel(const std::string& className) {
    const HWND h = NewHandle();
    m_windows[h].className = className;
    m_windows[h].visible = true;
    m_topLevel.push_back(h);
    return h;
}

void FakeBarWindows::RemoveTopLevel(HWND hwnd) {
    m_topLevel.erase(std::remove(m_topLevel.begin(), m_topLevel.end(), hwnd), m_topLevel.end());
    m_windows.erase(hwnd);
}

bool FakeBarWindows::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    LRESULT ignored = 0;
    return m_handler->OnMessage(m_bar, message, wParam, lParam, result ? result : &ignored);
}

std::string FakeBarWindows::Name(HWND hwnd) const {
    if (hwnd == nullptr) return "null";
    if (hwnd == HWND_TOPMOST) return "TOPMOST";
    if (hwnd == m_bar) return "bar";
    const auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) return "?";
    if (it->second.parent != nullptr) return "#" + std::to_string(it->second.id);
    return it->second.className;
}

LRESULT FakeBarWindows::SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) return 0;
    FakeWindow& w = it->second;
    if (message == WM_SETFONT) {
        w.font = reinterpret_cast<HFONT>(wParam);
        w.fontRedraw = lParam;
        return 0;
    }
    if (message == WM_CLOSE) {
        calls.push_back("WM_CLOSE(" + Name(hwnd) + ")");
        if (w.parent == nullptr && hwnd != m_bar) RemoveTopLevel(hwnd);
        return 0;
    }
    return Trackbar(w, message, wParam, lParam);
}

LRESULT FakeBarWindows::Trackbar(FakeWindow& w, UINT message, WPARAM wParam, LPARAM lParam) {
    const int value = static_cast<int>(lParam);
    switch (message) {
    case TBM_GETPOS:
        return w.pos;
    case TBM_SETPOS:
        w.pos = std::min(std::max(value, w.rangeMin), w.rangeMax);
        return 0;
    case TBM_SETRANGEMIN:
        w.rangeMin = value;
        return 0;
    case TBM_SETRANGEMAX:
        w.rangeMax = value;
        return 0;
    case TBM_GETRANGEMIN:
        return w.rangeMin;
    case TBM_GETRANGEMAX:
        return w.rangeMax;
    case TBM_SETTICFREQ:
        w.ticFreq = static_cast<int>(wParam);
        return 0;
    case TBM_SETSELSTART:
        w.selStart = value;
        return 0;
    case TBM_SETSELEND:
        w.selEnd = value;
        return 0;
    case TBM_GETSELSTART:
        return w.selStart;
    case TBM_GETSELEND:
        return w.selEnd;
    default:
        return 0;
    }
}

BOOL FakeBarWindows::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    calls.push_back("SetWindowPos(" + Name(hwnd) + "," + Name(insertAfter) + "," + std::to_string(x) + "," +
                    std::to_string(y) + "," + std::to_string(cx) + "," + std::to_string(cy) + "," +
                    Hex(flags) + ")");
    const auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) return FALSE;
    RECT& r = it->second.rect;
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    if (!(flags & SWP_NOMOVE)) {
        const LONG w = r.right - r.left, h = r.bottom - r.top;
        r = RECT{x, y, x + w, y + h};
    }
    if (flags & SWP_SHOWWINDOW) it->second.visible = true;
    if ((flags & SWP_SHOWWINDOW) && !(flags & SWP_NOACTIVATE)) foreground = hwnd;
    if (flags & SWP_HIDEWINDOW) it->second.visible = false;
    return TRUE;
}

RECT FakeBarWindows::ScreenRect(HWND hwnd) {
    RECT r = m_windows.at(hwnd).rect;
    const HWND parent = m_windows.at(hwnd).parent;
    if (parent != nullptr) {
        const RECT p = ScreenRect(parent);
        r = RECT{r.left + p.left, r.top + p.top, r.right + p.left, r.bottom + p.top};
    }
    return r;
}

BOOL FakeBarWindows::GetWindowRect(HWND hwnd, RECT* rect) {
    if (m_windows.count(hwnd) == 0) return FALSE;
    *rect = ScreenRect(hwnd);
    return TRUE;
}

BOOL FakeBarWindows::ScreenToClientRect(HWND hwnd, RECT* rect) {
    if (m_windows.count(hwnd) == 0) return FALSE;
    const RECT origin = ScreenRect(hwnd);
    *rect = RECT{rect->left - origin.left, rect->top - origin.top, rect->right - origin.left,
                 rect->bottom - origin.top};
    return TRUE;
}

BOOL FakeBarWindows::IsWindowVisible(HWND hwnd) {
    const auto it = m_windows.find(hwnd);
    return it != m_windows.end() && it->second.visible;
}

const std::vector<HWND>& FakeBarWindows::Siblings(HWND hwnd) const {
    const auto it = m_windows.find(hwnd);
    return it != m_windows.end() && it->second.parent != nullptr ? m_children : m_topLevel;
}

HWND FakeBarWindows::GetWindow(HWND hwnd, UINT command) {
    if (m_windows.count(hwnd) == 0) return nullptr;
    if (command == GW_CHILD) {
        for (HWND h : m_children)
            if (m_windows[h].parent == hwnd) return h;
        return nullptr;
    }
    const std::vector<HWND>& list = Siblings(hwnd);
    if (command == GW_HWNDFIRST) return list.empty() ? nullptr : list.front();
    if (command != GW_HWNDNEXT) return nullptr;
    const auto it = std::find(list.begin(), list.end(), hwnd);
    return it == list.end() || it + 1 == list.end() ? nullptr : *(it + 1);
}

int FakeBarWindows::GetClassNameA(HWND hwnd, char* buffer, int size) {
    const auto it = m_windows.find(hwnd);
    if (size <= 0) return 0;
    const std::string name = it == m_windows.end() ? std::string() : it->second.className;
    const int n = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

BOOL FakeBarWindows::SetWindowTextA(HWND hwnd, const char* text) {
    const auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) return FALSE;
    it->second.text = text;
    return TRUE;
}

BOOL FakeBarWindows::RedrawWindow(HWND hwnd, UINT flags) {
    calls.push_back("RedrawWindow(" + Name(hwnd) + "," + Hex(flags) + ")");
    return TRUE;
}

UINT_PTR FakeBarWindows::SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    calls.push_back("SetTimer(" + Name(hwnd) + "," + std::to_string(id) + "," + std::to_string(elapse) + ")");
    const UINT_PTR answer = timerAnswer != 0 ? timerAnswer : id;
    if (answer != static_cast<UINT_PTR>(-1)) m_timers.push_back(answer);
    return answer == static_cast<UINT_PTR>(-1) ? 0 : answer;
}

BOOL FakeBarWindows::KillTimer(HWND hwnd, UINT_PTR id) {
    calls.push_back("KillTimer(" + Name(hwnd) + "," + std::to_string(id) + ")");
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), id), m_timers.end());
    return TRUE;
}

int FakeBarWindows::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    calls.push_back("MessageBox(" + Name(owner) + ")");
    ++messageBoxes;
    lastBoxText = text;
    lastBoxCaption = caption;
    lastBoxType = type;
    if (onMessageBox) onMessageBox();
    return IDOK;
}

BOOL FakeBarWindows::SetForegroundWindow(HWND hwnd) {
    calls.push_back("SetForegroundWindow(" + Name(hwnd) + ")");
    foreground = hwnd;
    return TRUE;
}

BOOL FakeBarWindows::SetFocus(HWND hwnd) {
    calls.push_back("SetFocus(" + Name(hwnd) + ")");
    focus = hwnd;
    return TRUE;
}

BOOL FakeBarWindows::PostMessageA(HWND hwnd, UINT message, WPARAM, LPARAM) {
    calls.push_back("PostMessage(" + Name(hwnd) + "," + Hex(message) + ")");
    return TRUE;
}

BOOL FakeBarWindows::GetClipCursor(RECT* rect) {
    *rect = clip;
    return TRUE;
}

BOOL FakeBarWindows::ClipCursor(const RECT* rect) {
    clip = rect != nullptr ? *rect : RECT{0, 0, screenWidth, screenHeight};
    calls.push_back("ClipCursor(" + (rect != nullptr ? RectText(*rect) : std::string("null")) + ")");
    return TRUE;
}

int FakeBarWindows::GetSystemMetrics(int index) {
    if (index == SM_CXFULLSCREEN) return screenWidth;
    if (index == SM_CYFULLSCREEN) return screenHeight;
    return 0;
}

HFONT FakeBarWindows::CreateFontA(int height, int width, int escapement, int orientation, int weight,
                                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                                  DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                                  DWORD pitchAndFamily, const char* face) {
    fonts.push_back(FontRequest{height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face});
    return reinterpret_cast<HFONT>(0xF000 + fonts.size());
}

BOOL FakeBarWindows::DeleteObject(HGDIOBJ object) {
    deleted.push_back(object);
    return TRUE;
}
