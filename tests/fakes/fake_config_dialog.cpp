#include "fake_config_dialog.h"

#include <algorithm>
#include <cstring>

std::ostream& operator<<(std::ostream& out, const DialogCall& c) {
    out << "{" << c.what << " id=" << c.id << " w=" << c.wParam << " l=" << c.lParam;
    if (!c.text.empty()) out << " \"" << c.text << "\"";
    return out << "}";
}

int FakeConfigDialog::IdOf(HWND hwnd) {
    const LONG_PTR raw = reinterpret_cast<LONG_PTR>(hwnd);
    return raw >= 0x10000 ? static_cast<int>(raw - 0x10000) : 0;
}

INT_PTR FakeConfigDialog::RunModalDialog(int id, HWND owner, DialogHandler* handler) {
    ++runs;
    templateId = id;
    parent = owner;
    m_handler = handler;
    m_ended = false;
    endResult = 0;
    handler->OnMessage(DialogHandle(), WM_INITDIALOG, 0, 0, &initResult);
    if (user && !m_ended) user(*this);
    m_handler = nullptr;
    return endResult;
}

void FakeConfigDialog::Click(int id) {
    if (!Open()) return;
    LRESULT result = 0;
    const WPARAM command = static_cast<WPARAM>(MAKELPARAM(id, BN_CLICKED));
    const LPARAM control = reinterpret_cast<LPARAM>(ControlHandle(id));
    const bool handled = m_handler->OnMessage(DialogHandle(), WM_COMMAND, command, control, &result);
    if (!handled && (id == IDOK || id == IDCANCEL)) EndDialog(DialogHandle(), id);
}

BOOL FakeConfigDialog::EndDialog(HWND dialog, INT_PTR result) {
    log.push_back({"end", IdOf(dialog), static_cast<long long>(result), 0, ""});
    if (dialog != DialogHandle()) return FALSE;
    m_ended = true;
    endResult = result;
    return TRUE;
}

HWND FakeConfigDialog::GetDlgItem(HWND dialog, int id) {
    return dialog == DialogHandle() ? ControlHandle(id) : nullptr;
}

LRESULT FakeConfigDialog::SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const int id = IdOf(hwnd);
    const long long w = static_cast<long long>(wParam);
    switch (message) {
    case BM_SETCHECK:
        log.push_back({"check", id, w, lParam, ""});
        checks[id] = static_cast<int>(wParam);
        return 0;
    case BM_GETCHECK:
        log.push_back({"getcheck", id, w, lParam, ""});
        return checks[id];
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(texts[id].size());
    case EM_SETSEL:
        log.push_back({"setsel", id, w, lParam, ""});
        return 0;
    case UDM_SETRANGE:
        log.push_back({"setrange", id, w, lParam, ""});
        return 0;
    default:
        log.push_back({"message " + std::to_string(message), id, w, lParam, ""});
        return 0;
    }
}

BOOL FakeConfigDialog::SetWindowTextA(HWND hwnd, const char* text) {
    const int id = IdOf(hwnd);
    log.push_back({"settext", id, 0, 0, text ? text : ""});
    texts[id] = text ? text : "";
    return TRUE;
}

int FakeConfigDialog::GetWindowTextA(HWND hwnd, char* buffer, int size) {
    const int id = IdOf(hwnd);
    log.push_back({"gettext", id, 0, 0, ""});
    if (size <= 0) return 0;
    const std::string& text = texts[id];
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

BOOL FakeConfigDialog::SetFocus(HWND hwnd) {
    log.push_back({"focus", IdOf(hwnd), 0, 0, ""});
    return TRUE;
}

BOOL FakeConfigDialog::SetForegroundWindow(HWND hwnd) {
    log.push_back({"front", hwnd == DialogHandle() ? 0 : -1, 0, 0, ""});
    return TRUE;
}

int FakeConfigDialog::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    log.push_back({"msgbox", owner == DialogHandle() ? 0 : -1, static_cast<long long>(type), 0,
                   std::string(caption ? caption : "") + ": " + (text ? text : "")});
    return messageBoxAnswer;
}

std::vector<DialogCall> FakeConfigDialog::Calls(const std::vector<std::string>& kinds) const {
    std::vector<DialogCall> out;
    for (const DialogCall& c : log)
        if (std::find(kinds.begin(), kinds.end(), c.what) != kinds.end()) out.push_back(c);
    return out;
}
