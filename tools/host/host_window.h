// The host's main window. Its procedure answers the player's window-message interface from the
// simulated player and logs every request. The plug-in subclasses this window, so what the log shows
// is what came through the plug-in's chain.
#pragma once
#include <functional>
#include <string>

#include "request_log.h"
#include "sim_player.h"

class HostSession;

struct HostWindowLinks {
    HostSession* session = nullptr; // the host's facts and its unkind switches
    SimPlayer* player = nullptr;
    RequestLog* log = nullptr;
    const std::string* iniFile = nullptr;
    const std::string* iniDirectory = nullptr;
    bool wideNames = true; // false: a host that lacks the wide file-name request (answers 1)
    std::function<bool()> reportsFullScreen;
    std::function<void()> requestQuit;      // deferred: the caller may be inside the plug-in
    std::function<void()> requestConfigure; // posted, so a modal dialog never runs inside a request
};

class HostWindow {
public:
    static constexpr UINT kConfigureMessage = WM_APP + 1;

    explicit HostWindow(HostWindowLinks links) : m_links(std::move(links)) {}
    ~HostWindow() { Destroy(); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool Create(bool visible);
    void Destroy();
    HWND Hwnd() const { return m_hwnd; }

    // Sends the main window the notification the real player sends after such a change.
    void Notify(SimPlayer::Change change);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnUser(WPARAM wParam, LPARAM code);
    void OnCommand(WPARAM wParam);
    void OnPaint();

    HostWindowLinks m_links;
    HWND m_hwnd = nullptr;
};
