// Ownership of GDI objects and of what is selected into a device context, as scope objects.
#pragma once
#include <utility>

#include "platform/canvas.h"
#include "platform/window_system.h"

// An owned pen or brush: deleted through the window system that made it, when replaced and at the end of
// its life. Move-only, so a handle has exactly one owner; an empty object (no handle) deletes nothing.
class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept
        : m_windows(std::exchange(other.m_windows, nullptr)),
          m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) {
            DeleteObject();
            m_windows = std::exchange(other.m_windows, nullptr);
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    HGDIOBJ GetSafeHandle() const { return m_handle; }

    void DeleteObject() {
        if (m_handle != nullptr) m_windows->DeleteObject(m_handle);
        m_handle = nullptr;
        m_windows = nullptr;
    }

protected:
    void Attach(WindowSystem& windows, HGDIOBJ handle) {
        DeleteObject();
        if (handle == nullptr) return;
        m_windows = &windows;
        m_handle = handle;
    }

private:
    WindowSystem* m_windows = nullptr;
    HGDIOBJ m_handle = nullptr;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(WindowSystem& windows, int style, int width, COLORREF colour) {
        CreatePen(windows, style, width, colour);
    }
    void CreatePen(WindowSystem& windows, int style, int width, COLORREF colour) {
        Attach(windows, windows.CreatePen(style, width, colour));
    }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    CBrush(WindowSystem& windows, COLORREF colour) { CreateSolidBrush(windows, colour); }
    void CreateSolidBrush(WindowSystem& windows, COLORREF colour) {
        Attach(windows, windows.CreateSolidBrush(colour));
    }
    HBRUSH GetSafeHandle() const { return static_cast<HBRUSH>(CGdiObject::GetSafeHandle()); }
};

// One selection slot (the pen or the brush) of a device context: remembers what was selected before the
// first successful selection and puts it back at the end of the scope. A failed selection (no handle)
// leaves the context as it was, as the platform does.
class CSelectedObject {
public:
    explicit CSelectedObject(Canvas& dc) : m_dc(dc) {}
    ~CSelectedObject() {
        if (m_previous != nullptr) m_dc.SelectObject(m_previous);
    }
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;

    void Select(const CGdiObject& object) {
        const HGDIOBJ before = m_dc.SelectObject(object.GetSafeHandle());
        if (m_previous == nullptr) m_previous = before;
    }

private:
    Canvas& m_dc;
    HGDIOBJ m_previous = nullptr;
};

// SaveDC now, RestoreDC of that state at the end of the scope.
class CSavedDC {
public:
    explicit CSavedDC(Canvas& dc) : m_dc(dc), m_saved(dc.SaveDC()) {}
    ~CSavedDC() {
        if (m_saved != 0) m_dc.RestoreDC(m_saved);
    }
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;

private:
    Canvas& m_dc;
    int m_saved;
};
