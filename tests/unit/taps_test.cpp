#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/taps.h"

namespace {

struct Journal {
    std::vector<std::string> entries;
};

struct StoreSpy {
    Journal& journal;
    void OnHostNotify(LPARAM lParam, WPARAM wParam) {
        journal.entries.push_back("notify " + std::to_string(lParam) + " " + std::to_string(wParam));
    }
};

struct BarSpy {
    Journal& journal;
    void SyncVolume() { journal.entries.push_back("sync"); }
    void OnPlaybackChanged() { journal.entries.push_back("playback"); }
    bool OnMouseEvent(UINT message, const MOUSEHOOKSTRUCT* mouse, bool taken) {
        journal.entries.push_back("mouse " + std::to_string(message) + " " + std::to_string(mouse->pt.x) +
                                  (taken ? " taken" : " peeked"));
        return false;
    }
};

std::vector<std::string> HostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Journal journal;
    StoreSpy store{journal};
    BarSpy bar{journal};
    ObserveHostMessage(store, bar, message, wParam, lParam);
    return journal.entries;
}

TEST(Taps, HostNotificationsReachTheStoreFirstAndVolumeChangesTheBar) {
    using V = std::vector<std::string>;
    EXPECT_EQ(HostMessage(WM_USER, 1, 603), (V{"notify 603 1", "sync"}));
    EXPECT_EQ(HostMessage(WM_USER, 2, 603), (V{"notify 603 2", "playback"}));
    EXPECT_EQ(HostMessage(WM_USER, 5, 603), (V{"notify 603 5", "playback"}));
    EXPECT_EQ(HostMessage(WM_USER, 1, 122), V{"notify 122 1"});
    EXPECT_EQ(HostMessage(WM_COMMAND, 1, 603), V{});
}

TEST(Taps, MouseHookCodesZeroAndThreeReachTheBar) {
    Journal journal;
    BarSpy bar{journal};
    MOUSEHOOKSTRUCT mouse{};
    mouse.pt = POINT{42, 7};
    const LPARAM lParam = reinterpret_cast<LPARAM>(&mouse);
    ObserveMouse(bar, 0, WM_MOUSEMOVE, lParam);
    ObserveMouse(bar, 3, WM_RBUTTONUP, lParam);
    ObserveMouse(bar, -1, WM_MOUSEMOVE, lParam);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"mouse 512 42 taken", "mouse 517 42 peeked"}));
}

} // namespace
