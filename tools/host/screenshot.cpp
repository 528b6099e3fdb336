#include "screenshot.h"

#include <vector>

#include "platform/win_types.h"
#include <objbase.h>
#include <wincodec.h>

namespace {
template <typename T> struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

struct ScreenPixels {
    int width = 0, height = 0, stride = 0;
    std::vector<BYTE> bgr; // 24-bit rows, top-down
};

struct Copy {
    HDC memory, screen;
    POINT origin;
    bool ok;
};

// One monitor's pixels into place; the desktop between monitors stays black.
BOOL CALLBACK CopyMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    auto* copy = reinterpret_cast<Copy*>(data);
    copy->ok = ::BitBlt(copy->memory, rect->left - copy->origin.x, rect->top - copy->origin.y,
                        rect->right - rect->left, rect->bottom - rect->top, copy->screen, rect->left,
                        rect->top, SRCCOPY) != 0 &&
               copy->ok;
    return TRUE;
}

bool Capture(ScreenPixels* out) {
    // The whole desktop, every monitor on it.
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    out->width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    out->height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    out->stride = (out->width * 3 + 3) & ~3;
    out->bgr.assign(static_cast<std::size_t>(out->stride) * out->height, 0);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, out->width, out->height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::PatBlt(memory, 0, 0, out->width, out->height, BLACKNESS);
    Copy copy{memory, screen, {left, top}, true};
    ::EnumDisplayMonitors(nullptr, nullptr, CopyMonitor, reinterpret_cast<LPARAM>(&copy));
    bool ok = copy.ok;
    ::SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = out->width;
    info.bmiHeader.biHeight = -out->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    ok = ok && ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(out->height), out->bgr.data(), &info,
                           DIB_RGB_COLORS) == out->height;
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ok;
}

bool Fail(std::string* error, const char* what, HRESULT hr) {
    char text[96];
    wsprintfA(text, "%s failed (0x%08lx)", what, static_cast<unsigned long>(hr));
    if (error) *error = text;
    return false;
}

bool Encode(const ScreenPixels& pixels, const std::string& path, std::string* error) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return Fail(error, "creating the imaging factory", hr);
    ComPtr<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(&stream))) return Fail(error, "CreateStream", hr);
    std::wstring widePath(path.size() + 1, L'\0');
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &widePath[0], static_cast<int>(widePath.size()));
    widePath.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    if (FAILED(hr = stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)))
        return Fail(error, ("opening " + path).c_str(), hr);
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)))
        return Fail(error, "creating the PNG encoder", hr);
    if (FAILED(hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache)))
        return Fail(error, "encoder init", hr);
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(hr = encoder->CreateNewFrame(&frame, nullptr))) return Fail(error, "CreateNewFrame", hr);
    if (FAILED(hr = frame->Initialize(nullptr))) return Fail(error, "frame init", hr);
    if (FAILED(hr = frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height))))
        return Fail(error, "SetSize", hr);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return Fail(error, "SetPixelFormat 24bppBGR", hr);
    if (FAILED(hr = frame->WritePixels(static_cast<UINT>(pixels.height), static_cast<UINT>(pixels.stride),
                                       static_cast<UINT>(pixels.bgr.size()),
                                       const_cast<BYTE*>(pixels.bgr.data()))))
        return Fail(error, "WritePixels", hr);
    if (FAILED(hr = frame->Commit())) return Fail(error, "frame commit", hr);
    if (FAILED(hr = encoder->Commit())) return Fail(error, "encoder commit", hr);
    return true;
}
} // namespace

bool SaveScreenshotPng(const std::string& path, std::string* error) {
    ScreenPixels pixels;
    if (!Capture(&pixels)) {
        if (error) *error = "reading the screen failed";
        return false;
    }
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool ok = Encode(pixels, path, error);
    if (SUCCEEDED(init)) ::CoUninitialize();
    return ok;
}
