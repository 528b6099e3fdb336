// A fake dialog behind the window system: keeps each control's check state and text by id, logs the
// calls a dialog makes, and plays the user through a script while RunModalDialog runs.
#pragma once
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "null_window_system.h"

struct DialogCall {
    std::string what; // "check", "getcheck", "settext", "gettext", "setsel", "setrange", "focus", "front",
                      // "msgbox", "end"
    int id;           // control id; 0 for the dialog itself
    long long wParam;
    long long lParam;
    std::string text;
    bool operator==(const DialogCall& o) const {
        return what == o.what && id == o.id && wParam == o.wParam && lParam == o.lParam && text == o.text;
    }
};
std::ostream& operator<<(std::ostream& out, const DialogCall& c);

class FakeConfigDialog : public NullWindowSystem {
public:
    static HWND DialogHandle() { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1000)); }
    static HWND ControlHandle(int id) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x10000 + id)); }

    std::map<int, int> checks;        // BM_GETCHECK answers by control id
    std::map<int, std::string> texts; // window texts by control id
    std::vector<DialogCall> log;

    // What RunModalDialog saw, and how often it ran.
    int runs = 0;
    int templateId = 0;
    HWND parent = nullptr;
    // The user's part, called after WM_INITDIALOG while the dialog runs.
    std::function<void(FakeConfigDialog&)> user;
    // The user's answer to a message box.
    int messageBoxAnswer = IDOK;

    bool Open() const { return m_handler != nullptr && !m_ended; }
    INT_PTR endResult = 0;
    LRESULT initResult = 0;

    // User actions. Click falls back to the framework's default for OK and Cancel when the handler
    // leaves the click unhandled.
    void Click(int id);
    void Tick(int id, bool ticked) { checks[id] = ticked ? BST_CHECKED : BST_UNCHECKED; }
    void Type(int id, const std::string& text) { texts[id] = text; }
    // The log restricted to the given kinds of call, in order.
    std::vector<DialogCall> Calls(const std::vector<std::string>& kinds) const;
    void ClearLog() { log.clear(); }

    INT_PTR RunModalDialog(int templateId, HWND parent, DialogHandler* handler) override;
    BOOL EndDialog(HWND dialog, INT_PTR result) override;
    HWND GetDlgItem(HWND dialog, int id) override;
    LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL SetWindowTextA(HWND hwnd, const char* text) override;
    int GetWindowTextA(HWND hwnd, char* buffer, int size) override;
    BOOL SetFocus(HWND hwnd) override;
    BOOL SetForegroundWindow(HWND hwnd) override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override;

private:
    static int IdOf(HWND hwnd);
    DialogHandler* m_handler = nullptr;
    bool m_ended = false;
};
