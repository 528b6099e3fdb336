// A font handle the holder owns: deleted through the window system when dropped or replaced.
#pragma once
#include "platform/window_system.h"

class OwnedFont {
public:
    OwnedFont() = default;
    OwnedFont(WindowSystem& windows, HFONT font) : m_windows(&windows), m_font(font) {}
    OwnedFont(OwnedFont&& other) noexcept : m_windows(other.m_windows), m_font(other.m_font) {
        other.m_font = nullptr;
    }
    OwnedFont& operator=(OwnedFont&& other) noexcept {
        if (this != &other) {
            Reset();
            m_windows = other.m_windows;
            m_font = other.m_font;
            other.m_font = nullptr;
        }
        return *this;
    }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;
    ~OwnedFont() { Reset(); }

    HFONT Get() const { return m_font; }
    explicit operator bool() const { return m_font != nullptr; }
    void Reset() {
        if (m_font != nullptr && m_windows != nullptr) m_windows->DeleteObject(m_font);
        m_font = nullptr;
    }

private:
    WindowSystem* m_windows = nullptr;
    HFONT m_font = nullptr;
};
