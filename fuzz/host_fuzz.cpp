// A host that answers every request with whatever the fuzzer's bytes say (positions, lengths, statuses,
// volumes, null, short or long unterminated texts), driven through notifications, ticks, clicks, slider
// moves and mouse messages chosen by the same bytes. The bar and the position memory must stay defined:
// sliders inside their ranges, no jump to a negative position, no bar shown while the host is not full
// screen after a mouse message, and the cursor clip given back whenever the bar is hidden.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "bar/dlg_buttons.h"
#include "bookmarks/bookmark_store.h"
#include "fake_bar_windows.h"
#include "fuzz_input.h"
#include "host/taps.h"
#include "host/winamp_ipc.h"
#include "latin_code_page.h"
#include "inline_background.h"
#include "memory_file_store.h"
#include "memory_profile_store.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"

namespace {

class FuzzHost : public HostLink {
public:
    explicit FuzzHost(FuzzInput& in) : m_in(in) {}

    int lastFullScreen = 0;

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER && lParam == ipc::kJumpToTime) Require(static_cast<int>(wParam) >= 0);
        const bool text =
            message == WM_USER && (lParam == ipc::kGetPlaylistFile || lParam == ipc::kGetIniFile ||
                                   lParam == ipc::kGetIniDirectory);
        if (text) return TextAnswer();
        if (message == WM_USER && lParam == ipc::kGetPlaylistFileW) return WideAnswer();
        const LRESULT answer = static_cast<LRESULT>(m_in.Int());
        if (message == WM_USER && lParam == ipc::kIsFullScreen) lastFullScreen = static_cast<int>(answer);
        return answer;
    }

private:
    // Null, a terminated text, or exactly kMaxText or more bytes with no terminator at all.
    LRESULT TextAnswer() {
        const std::uint8_t kind = m_in.Byte() % 4;
        if (kind == 0) return 0;
        std::string text = kind == 3 ? std::string(ipc::kMaxText + m_in.Byte(), 'x') : m_in.Text(64);
        const bool terminated = text.size() < ipc::kMaxText;
        m_texts.push_back(std::make_unique<char[]>(text.size() + (terminated ? 1 : 0)));
        char* buffer = m_texts.back().get();
        std::memcpy(buffer, text.data(), text.size());
        if (terminated) buffer[text.size()] = '\0';
        return reinterpret_cast<LRESULT>(buffer);
    }

    // Any answer below 64 KiB (a host without the request answers 1), or a wide text that the code page
    // may or may not represent.
    LRESULT WideAnswer() {
        if (m_in.Byte() % 3 == 0) return static_cast<LRESULT>(static_cast<std::uint16_t>(m_in.Int()));
        const std::string bytes = m_in.Text(64);
        m_wides.push_back(std::u16string());
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            m_wides.back() += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                                    static_cast<unsigned char>(bytes[i + 1]));
        return reinterpret_cast<LRESULT>(m_wides.back().c_str());
    }

    FuzzInput& m_in;
    std::vector<std::unique_ptr<char[]>> m_texts; // the host's buffers live for the whole run
    std::deque<std::u16string> m_wides;
};

// The bar's windows, checking every slider value the bar sets against the slider's range.
class CheckedWindows : public FakeBarWindows {
public:
    LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TBM_SETPOS || message == TBM_SETSELSTART || message == TBM_SETSELEND) {
            const FakeWindow& w = W(hwnd);
            const int value = static_cast<int>(lParam);
            Require(value >= w.rangeMin && value <= w.rangeMax);
        }
        return FakeBarWindows::SendMessageA(hwnd, message, wParam, lParam);
    }
};

const int kButtons[] = {IDC_SKIP_BACK30, IDC_SKIP_BACK10, IDC_SKIP_BACK5, IDC_SKIP_FWD5, IDC_SKIP_FWD10,
                        IDC_SKIP_FWD30,  IDC_PLAYPAUSE,   IDC_RESTORE,    IDC_EXIT,      IDCANCEL};
const UINT kMouseMessages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_RBUTTONDOWN};
const WPARAM kNotifications[] = {ipc::kNotifyVolume, ipc::kNotifyStatus, ipc::kNotifyInfo, 3};

struct Rig {
    explicit Rig(FuzzInput& in) : host(in), ipc(host) {}
    FuzzHost host;
    CWinampIPC ipc;
    Settings settings;
    CheckedWindows windows;
    MemoryFileStore files;
    InlineBackground background{files};
    MemoryProfileStore profile;
    LatinCodePage codePage;
    CDlgButtons bar{ipc, settings, windows, profile};
    CBookmarkStore store{ipc, settings, background, windows, codePage, nullptr};
    HWND video = nullptr;
    const RECT userClip{0, 0, 800, 600};
};

void Step(Rig& rig, FuzzInput& in) {
    switch (in.Byte() % 10) {
    case 0: {
        const WPARAM what = kNotifications[in.Byte() % 4];
        ObserveHostMessage(rig.store, rig.bar, WM_USER, what, ipc::kNotify);
        break;
    }
    case 1:
        rig.windows.Dispatch(WM_TIMER, rig.bar.Timer(), 0);
        break;
    case 2: {
        const int id = kButtons[in.Byte() % (sizeof kButtons / sizeof kButtons[0])];
        rig.windows.Dispatch(WM_COMMAND, MAKELPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(rig.windows.Item(id)));
        break;
    }
    case 3: {
        // The extended structure, as the hook gets it: a wheel message carries its delta there.
        MOUSEHOOKSTRUCTEX mouse{};
        mouse.pt = POINT{in.Int() % 1000, in.Int() % 1000};
        mouse.mouseData = static_cast<DWORD>(in.Int());
        const UINT message = in.Byte() % 6 == 5 ? WM_MOUSEWHEEL : kMouseMessages[in.Byte() % 5];
        ObserveMouse(rig.bar, 0, message, reinterpret_cast<LPARAM>(&mouse));
        if (rig.host.lastFullScreen != 1) Require(!rig.windows.IsWindowVisible(rig.windows.bar()));
        break;
    }
    case 4: {
        const int ids[] = {IDC_SEEK, IDC_SHUTTLE, IDC_VOLUME};
        const HWND slider = rig.windows.Item(ids[in.Byte() % 3]);
        FakeWindow& w = rig.windows.W(slider); // the user drags the thumb: a trackbar stays in its range
        w.pos = std::clamp(in.Int(), w.rangeMin, w.rangeMax);
        const UINT scroll = in.Byte() % 2 ? WM_VSCROLL : WM_HSCROLL;
        rig.windows.Dispatch(scroll, 5, reinterpret_cast<LPARAM>(slider));
        break;
    }
    case 5: {
        NMHDR header{rig.windows.Item(IDC_SHUTTLE), IDC_SHUTTLE, NM_RELEASEDCAPTURE};
        rig.windows.Dispatch(WM_NOTIFY, IDC_SHUTTLE, reinterpret_cast<LPARAM>(&header));
        break;
    }
    case 6:
        rig.windows.Dispatch(WM_CLOSE, 0, 0);
        break;
    case 7:
        if (rig.video != nullptr) {
            rig.windows.RemoveTopLevel(rig.video);
            rig.video = nullptr;
        } else {
            rig.video = rig.windows.AddTopLevel("Winamp Video");
        }
        break;
    case 8:
        rig.store.OnClock(static_cast<DWORD>(in.Int()));
        break;
    default:
        rig.store.Shutdown();
        rig.store.Open();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Rig rig(in);
    for (int i = 0; i < settings_ini::kKeyCount; ++i)
        settings_ini::Field(rig.settings, i) = in.Byte() % 3;
    rig.settings.fastwind = in.Int();
    rig.windows.clip = rig.userClip;
    rig.video = rig.windows.AddTopLevel("Winamp Video");
    rig.bar.Create(nullptr);
    rig.store.Open();
    for (int steps = 0; steps < 200 && !in.Empty(); ++steps) {
        Step(rig, in);
        if (!rig.windows.IsWindowVisible(rig.windows.bar()))
            Require(RectText(rig.windows.clip) == RectText(rig.userClip));
    }
    rig.store.Shutdown();
    return 0;
}
