// A simulated host player behind the host link: answers the host protocol from plain fields and logs
// every request with its answer, so tests can compare whole request sequences.
#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/host_link.h"

struct HostRequest {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
    bool operator==(const HostRequest& o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam && answer == o.answer;
    }
};
std::ostream& operator<<(std::ostream& out, const HostRequest& r);

// Shorthands for expected sequences: User(wParam, code, answer), Command(id).
HostRequest User(WPARAM wParam, LPARAM code, LRESULT answer = 0);
HostRequest Command(WPARAM id);

class FakeHost : public HostLink {
public:
    int status = 1;          // 0 stopped, 1 playing, 3 paused
    int position = 0;        // ms, -1 when nothing plays
    int lengthSeconds = 180; // negative: no length
    int volume = 200;
    int listPos = 0;
    bool fullScreen = true;
    int version = 0x5091; // 0x5000 and above: 5.0 and later
    int videoPlaying = 2; // more than 1: video plays; 0: none; 1: an old host
    std::vector<std::string> playlist{"C:\\Video\\a.avi"};
    std::string iniFile = "C:\\Player\\winamp.ini";
    std::string iniDirectory = "C:\\Player";
    bool answerNullTexts = false;
    const char* rawText = nullptr; // when set, every text request answers this pointer as it is
    // Names as UTF-16 by entry index (the wide request); an entry without one has its playlist name with
    // each byte widened. wideAnswer, when not 0, is answered to the wide request as it is (1: a host
    // that lacks the request).
    std::vector<std::u16string> widePlaylist;
    LRESULT wideAnswer = 0;

    std::vector<HostRequest> log;
    // Called after each request is answered (re-entrancy tests send nested messages from here).
    std::function<void(const HostRequest&)> onRequest;

    HWND window = nullptr; // the main window
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND Window() override { return window; }
    void ClearLog() { log.clear(); }

private:
    LRESULT Answer(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WideName(WPARAM index);
    std::string m_text; // the host's buffer behind a returned text pointer
    std::u16string m_wide;
};
