// The bar's three trackbars without the bar: a hidden dialog made from an in-memory template with the
// items, styles and dialog units of template 2001's sliders, stretched across the screen as the bar
// stretches its children, ranged as the bar ranges them. Each trackbar's NM_CUSTOMDRAW goes to a handler.
#pragma once
#include "platform/win_types.h"

#include <functional>
#include <vector>

class BarSliders {
public:
    // Ids of their own, so that nothing looking for the plug-in's bar (items 2002, 2010, 2013) finds this
    // one.
    static constexpr int kShuttle = 3002;
    static constexpr int kVolume = 3010;
    static constexpr int kSeek = 3013;

    // Returns true with *result set to answer the notification; false leaves it to the dialog's defaults.
    using CustomDraw = std::function<bool(int id, const NMCUSTOMDRAW& draw, LRESULT* result)>;

    explicit BarSliders(CustomDraw handler) : m_handler(std::move(handler)) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        const std::vector<WORD> dialog = Template();
        m_dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr,
                                                &BarSliders::Proc, reinterpret_cast<LPARAM>(this));
        if (m_dialog == nullptr) return;
        Stretch();
        Range(kShuttle, -100, 100, 20);
        Range(kVolume, 0, 255, 25);
        Range(kSeek, 0, 1000, 0);
    }
    ~BarSliders() {
        if (m_dialog != nullptr) ::DestroyWindow(m_dialog);
    }
    BarSliders(const BarSliders&) = delete;
    BarSliders& operator=(const BarSliders&) = delete;

    HWND Dialog() const { return m_dialog; }
    HWND Slider(int id) const { return ::GetDlgItem(m_dialog, id); }

private:
    static std::vector<WORD> Template() {
        std::vector<WORD> t;
        const auto dword = [&](DWORD v) {
            t.push_back(LOWORD(v));
            t.push_back(HIWORD(v));
        };
        const auto text = [&](const wchar_t* s) {
            do
                t.push_back(static_cast<WORD>(*s));
            while (*s++);
        };
        dword(WS_POPUP | DS_SETFONT | DS_FIXEDSYS);
        dword(WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
        t.push_back(3);
        for (const short v : {0, 0, 673, 66})
            t.push_back(static_cast<WORD>(v));
        t.push_back(0); // no menu
        t.push_back(0); // the dialog class
        text(L"");
        t.push_back(8);
        text(L"MS Shell Dlg");
        struct Item {
            WORD id;
            DWORD style;
            short x, y, cx, cy;
        };
        for (const Item& item : {Item{kShuttle, TBS_AUTOTICKS | TBS_TOP, 7, 38, 432, 21},
                                 Item{kVolume, TBS_AUTOTICKS | TBS_VERT | TBS_LEFT, 451, 21, 24, 38},
                                 Item{kSeek, TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE, 1, 7, 670, 17}}) {
            if (t.size() % 2) t.push_back(0); // items start on a DWORD boundary
            dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | item.style);
            dword(0);
            for (const short v : {item.x, item.y, item.cx, item.cy})
                t.push_back(static_cast<WORD>(v));
            t.push_back(item.id);
            text(TRACKBAR_CLASSW);
            text(L"");
            t.push_back(0);
        }
        return t;
    }

    void Stretch() {
        RECT bar;
        ::GetWindowRect(m_dialog, &bar);
        const float k = static_cast<float>(::GetSystemMetrics(SM_CXFULLSCREEN)) / (bar.right - bar.left);
        for (HWND child = ::GetWindow(m_dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT rc;
            ::GetWindowRect(child, &rc);
            ::MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&rc), 2);
            ::SetWindowPos(child, nullptr, static_cast<int>(rc.left * k), rc.top,
                           static_cast<int>((rc.right - rc.left) * k), rc.bottom - rc.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void Range(int id, int minimum, int maximum, int ticks) {
        const HWND slider = Slider(id);
        ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, minimum);
        ::SendMessageW(slider, TBM_SETRANGEMAX, TRUE, maximum);
        if (ticks) ::SendMessageW(slider, TBM_SETTICFREQ, static_cast<WPARAM>(ticks), 0);
    }

    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return FALSE; // no focus: a focused trackbar draws a focus frame over its parts
        }
        auto* self = reinterpret_cast<BarSliders*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        if (message != WM_NOTIFY || self == nullptr || !self->m_handler) return FALSE;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != NM_CUSTOMDRAW) return FALSE;
        LRESULT result = 0;
        if (!self->m_handler(static_cast<int>(header->idFrom), *reinterpret_cast<const NMCUSTOMDRAW*>(lParam),
                             &result))
            return FALSE;
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        return TRUE;
    }

    CustomDraw m_handler;
    HWND m_dialog = nullptr;
};
