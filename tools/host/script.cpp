#include "script.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "host/winamp_ipc.h"
#include "mouse_input.h"
#include "resources/resource_ids.h"
#include "screenshot.h"
#include "window_probe.h"

namespace {
ScriptRunner* s_running = nullptr; // the timer callback has no context of its own
constexpr UINT kTickMs = 15;
constexpr int kInputDeliveryMs = 1000;
constexpr int kHostChangeMs = 10000;

// Splits a line into words; "quoted text" is one word. False on an unterminated quote.
bool Words(const std::string& line, std::vector<std::string>* words) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
        } else if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string::npos) return false;
            words->push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r')
                ++end;
            words->push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

bool Number(const std::string& word, int* value) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < -1000000000L || v > 1000000000L) return false;
    *value = static_cast<int>(v);
    return true;
}

struct Grammar {
    const char* verb;
    const char* shape; // one letter per argument: n number, w word, t text; "" none
    const char* usage;
    const char* words; // allowed values of the w argument, '|'-separated
};

const Grammar kGrammar[] = {
    {"wait", "n", "wait MS", nullptr},
    {"play", "", "play", nullptr},
    {"pause", "", "pause", nullptr},
    {"next", "", "next", nullptr},
    {"prev", "", "prev", nullptr},
    {"seek", "n", "seek MS", nullptr},
    {"volume", "n", "volume 0..255", nullptr},
    {"fullscreen", "w", "fullscreen on|off", "on|off"},
    {"video", "w", "video destroy", "destroy"},
    {"move", "nn", "move X Y", nullptr},
    {"click", "nn", "click X Y", nullptr},
    {"rightclick", "nn", "rightclick X Y", nullptr},
    {"clickbar", "n", "clickbar CONTROL-ID", nullptr},
    {"waitbar", "wn", "waitbar shown|hidden MS", "shown|hidden"},
    {"waitwindow", "tn", "waitwindow \"TITLE\" MS", nullptr},
    {"closewindow", "tw", "closewindow \"TITLE\" ok|cancel", "ok|cancel"},
    {"waitrequest", "nn", "waitrequest CODE MS", nullptr},
    {"config", "", "config", nullptr},
    {"screenshot", "t", "screenshot FILE", nullptr},
    {"quit", "", "quit", nullptr},
    {"restart", "", "restart", nullptr},
    {"stop", "", "stop", nullptr},
    {"report", "", "report", nullptr},
    {"kill", "", "kill", nullptr},
    {"fullscreenmonitor", "n", "fullscreenmonitor N", nullptr},
    {"visualisation", "w", "visualisation on|off", "on|off"},
    {"hostversion", "n", "hostversion N", nullptr},
    {"movebar", "n", "movebar CONTROL-ID", nullptr},
    {"lateannounce", "n", "lateannounce MS", nullptr},
    {"pumpinrequests", "n", "pumpinrequests MS", nullptr},
    {"pausednovideo", "w", "pausednovideo on|off", "on|off"},
    {"wheel", "nnn", "wheel X Y NOTCHES", nullptr},
    {"slowdisk", "n", "slowdisk MS", nullptr},
    {"slowopen", "tn", "slowopen TEXT MS", nullptr},
    {"movefile", "nnt", "movefile ENTRY FLIP-BYTE|-1 \"NEW NAME\"", nullptr},
    {"touch", "t", "touch NAME", nullptr},
    {"waitfile", "tn", "waitfile NAME MS", nullptr},
    {"removefile", "n", "removefile ENTRY", nullptr},
    {"holddata", "w", "holddata on|off", "on|off"},
    {"setting", "tn", "setting KEY VALUE", nullptr},
};

bool Allowed(const char* words, const std::string& word) {
    std::string list = std::string("|") + words + "|";
    return list.find("|" + word + "|") != std::string::npos;
}

bool CheckStep(const Grammar& g, ScriptStep* step, std::string* why) {
    const std::string shape = g.shape;
    if (step->args.size() != shape.size()) {
        *why = "'" + step->verb + "' takes " + std::to_string(shape.size()) + " argument(s): " + g.usage;
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const std::string& arg = step->args[i];
        if (shape[i] == 'n') {
            int value = 0;
            if (!Number(arg, &value)) {
                *why = "'" + arg + "' is not a number; usage: " + g.usage;
                return false;
            }
            step->numbers.push_back(value);
        } else if (shape[i] == 'w' && !Allowed(g.words, arg)) {
            *why = "'" + arg + "' is not one of " + g.words + "; usage: " + g.usage;
            return false;
        } else if (shape[i] == 't' && arg.empty()) {
            *why = "empty text; usage: " + std::string(g.usage);
            return false;
        }
    }
    return true;
}

// A WM_USER request with this code reached the host since it last started.
bool RequestSinceStart(const RequestLog& log, LPARAM code) {
    const auto& entries = log.Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->IsUser(code)) return true;
        if (it->IsNote() && it->note.rfind("host start", 0) == 0) return false;
    }
    return false;
}

// The cursor is there and this thread has taken the input from its queue, so that the plug-in's hook has
// seen it: a move sent while the previous one still waits would be merged with it.
bool CursorAt(int x, int y) {
    POINT pt;
    return ::GetCursorPos(&pt) && pt.x == x && pt.y == y && HIWORD(::GetQueueStatus(QS_MOUSE)) == 0;
}
} // namespace

bool ParseScript(const std::string& text, std::vector<ScriptStep>* steps, std::string* error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos && line.find('"') > hash) line.resize(hash);
        std::vector<std::string> words;
        if (!Words(line, &words)) {
            *error = "line " + std::to_string(number) + ": unterminated quote";
            return false;
        }
        if (words.empty()) continue;
        ScriptStep step;
        step.line = number;
        step.verb = words[0];
        step.args.assign(words.begin() + 1, words.end());
        const Grammar* grammar = nullptr;
        for (const Grammar& g : kGrammar)
            if (step.verb == g.verb) grammar = &g;
        std::string why;
        if (!grammar) {
            why = "unknown step '" + step.verb + "'";
        } else if (CheckStep(*grammar, &step, &why)) {
            steps->push_back(std::move(step));
            continue;
        }
        *error = "line " + std::to_string(number) + ": " + why;
        return false;
    }
    return true;
}

ScriptRunner::ScriptRunner(HostSession& session, std::vector<ScriptStep> steps, std::string outDir,
                           Report report)
    : m_session(session), m_steps(std::move(steps)), m_outDir(std::move(outDir)),
      m_report(std::move(report)) {}

ScriptRunner::~ScriptRunner() {
    if (m_heldData != INVALID_HANDLE_VALUE) ::CloseHandle(m_heldData);
    if (m_timer) ::KillTimer(nullptr, m_timer);
    if (s_running == this) s_running = nullptr;
}

void ScriptRunner::Start() {
    s_running = this;
    m_timer = ::SetTimer(nullptr, 0, kTickMs, OnTimer);
}

void CALLBACK ScriptRunner::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (s_running) s_running->Tick();
}

void ScriptRunner::Tick() {
    // The timer also fires inside modal loops that a step opened; one step at a time.
    if (m_busy || m_finished) return;
    m_busy = true;
    while (!m_finished) {
        if (m_pending) {
            if (m_pending->done && m_pending->done()) {
                m_pending.reset();
                continue;
            }
            if (static_cast<long>(::GetTickCount() - m_pending->deadline) < 0) break;
            if (m_pending->done) {
                const bool aboutBar = m_pending->step->verb == "waitbar" ||
                                      m_pending->step->verb == "clickbar" ||
                                      m_pending->step->verb == "movebar";
                Fail(*m_pending->step, "gave up waiting for " + m_pending->waitingFor +
                                           (aboutBar ? "; " + probe::DescribeBar() : ""));
            }
            m_pending.reset();
            continue;
        }
        if (m_next >= m_steps.size()) {
            m_finished = true;
            ::PostQuitMessage(m_failures ? 1 : 0);
            break;
        }
        const ScriptStep& step = m_steps[m_next++];
        m_report("line " + std::to_string(step.line) + ": " + step.verb +
                 (step.args.empty() ? "" : " " + [&] {
                     std::string joined;
                     for (const std::string& a : step.args)
                         joined += (joined.empty() ? "" : " ") + a;
                     return joined;
                 }()));
        Execute(step);
    }
    m_busy = false;
}

void ScriptRunner::WaitUntil(const ScriptStep& step, int ms, std::function<bool()> done, std::string what) {
    m_pending = Pending{&step, ::GetTickCount() + static_cast<unsigned long>(ms < 0 ? 0 : ms),
                        std::move(done), std::move(what)};
}

void ScriptRunner::Fail(const ScriptStep& step, const std::string& why) {
    ++m_failures;
    m_report("line " + std::to_string(step.line) + ": FAILED: " + why);
}

void ScriptRunner::Execute(const ScriptStep& step) {
    if (step.verb == "kill") {
        // As a crash ends the player: the plug-in gets no quit and the loop no chance to run again.
        m_report("killed");
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }
    if (FileStep(step)) return;
    const bool needsHost =
        step.verb != "wait" && step.verb != "restart" && step.verb != "screenshot" && step.verb != "quit";
    if (needsHost && !m_session.Running()) return Fail(step, "the host is not running");
    if (!PlayerStep(step) && !MouseStep(step) && !WaitStep(step)) HostStep(step);
}

bool ScriptRunner::PlayerStep(const ScriptStep& step) {
    const std::string& verb = step.verb;
    SimPlayer& player = m_session.Player();
    if (verb == "play") {
        player.Play();
    } else if (verb == "pause") {
        player.TogglePause();
    } else if (verb == "next") {
        player.Next();
    } else if (verb == "prev") {
        player.Previous();
    } else if (verb == "seek") {
        if (player.JumpTo(step.numbers[0]) < 0) Fail(step, "nothing is playing");
    } else if (verb == "volume") {
        player.SetVolume(step.numbers[0]);
    } else if (verb == "stop") {
        player.Stop();
    } else if (verb == "report") {
        const int status = player.Status();
        m_report("report: entry " + std::to_string(player.ListPos()) + " at " +
                 std::to_string(player.PositionMs()) + " ms, " +
                 (status == SimPlayer::kPlaying  ? "playing"
                  : status == SimPlayer::kPaused ? "paused"
                                                 : "stopped") +
                 "; the plug-in held the host's thread at most " + std::to_string(m_session.LongestHold()) + " ms");
    } else if (verb == "fullscreen") {
        m_session.SetFullScreen(step.args[0] == "on");
    } else if (verb == "video") {
        m_session.DestroyVideoKeepingFullScreen();
    } else if (verb == "fullscreenmonitor") {
        RECT area;
        if (!MonitorRect(step.numbers[0] - 1, &area)) Fail(step, "there is no monitor " + step.args[0]);
        m_session.SetFullScreen(true, step.numbers[0] - 1);
    } else if (verb == "visualisation") {
        m_session.SetVisualisationFullScreen(step.args[0] == "on");
    } else if (verb == "hostversion") {
        m_session.SetVersion(step.numbers[0]);
    } else if (verb == "lateannounce") {
        m_session.SetAnnounceDelay(step.numbers[0]);
    } else if (verb == "pumpinrequests") {
        m_session.SetPumpInRequests(step.numbers[0]);
    } else if (verb == "slowdisk") {
        m_session.SetSlowDisk(step.numbers[0]);
    } else if (verb == "slowopen") {
        m_session.SetLostShare(step.args[0], step.numbers[0]);
    } else if (verb == "movefile") {
        if (!m_session.MoveEntry(step.numbers[0], step.args[2], step.numbers[1]))
            Fail(step, "could not move the file of entry " + step.args[0] + " to " + step.args[2]);
    } else if (verb == "pausednovideo") {
        m_session.SetNoVideoWhilePaused(step.args[0] == "on");
    } else {
        return false;
    }
    return true;
}

bool ScriptRunner::MouseStep(const ScriptStep& step) {
    const std::string& verb = step.verb;
    int x = 0, y = 0;
    bool sent = false;
    if (verb == "move" || verb == "click" || verb == "rightclick" || verb == "wheel") {
        x = step.numbers[0];
        y = step.numbers[1];
        sent = verb == "move"    ? mouse::MoveTo(x, y)
               : verb == "click" ? mouse::Click(x, y)
               : verb == "wheel" ? mouse::Wheel(x, y, step.numbers[2])
                                 : mouse::Click(x, y, mouse::Button::Right);
    } else if (verb == "clickbar" || verb == "movebar") {
        HWND bar = probe::FindBar();
        HWND control = bar ? ::GetDlgItem(bar, step.numbers[0]) : nullptr;
        if (!bar || !::IsWindowVisible(bar)) {
            Fail(step, "the bar is not shown");
            return true;
        }
        if (!control) {
            Fail(step, "the bar has no control " + step.args[0]);
            return true;
        }
        const RECT rc = probe::WindowRect(control);
        x = (rc.left + rc.right) / 2;
        y = (rc.top + rc.bottom) / 2;
        sent = verb == "movebar" ? mouse::MoveTo(x, y) : mouse::Click(x, y);
    } else {
        return false;
    }
    if (!sent) {
        Fail(step, "SendInput refused the input");
        return true;
    }
    WaitUntil(
        step, kInputDeliveryMs, [x, y] { return CursorAt(x, y); }, "the cursor to arrive");
    return true;
}

bool ScriptRunner::WaitStep(const ScriptStep& step) {
    const std::string& verb = step.verb;
    const std::vector<int>& n = step.numbers;
    if (verb == "wait") {
        WaitUntil(step, n[0], {}, "");
    } else if (verb == "waitbar") {
        const bool shown = step.args[0] == "shown";
        WaitUntil(
            step, n[0],
            [shown] {
                HWND bar = probe::FindBar();
                return bar && (::IsWindowVisible(bar) != 0) == shown;
            },
            std::string("the bar to be ") + (shown ? "shown" : "hidden"));
    } else if (verb == "waitwindow") {
        const std::string title = step.args[0];
        WaitUntil(
            step, n[0], [title] { return probe::FindWindowByTitle(title) != nullptr; },
            "a window titled \"" + title + "\"");
    } else if (verb == "closewindow") {
        const std::string title = step.args[0];
        HWND window = probe::FindWindowByTitle(title);
        if (!window) {
            Fail(step, "no window titled \"" + title + "\"");
            return true;
        }
        const int id = step.args[1] == "ok" ? IDOK : IDCANCEL;
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
        WaitUntil(
            step, kInputDeliveryMs * 3, [title] { return probe::FindWindowByTitle(title) == nullptr; },
            "\"" + title + "\" to close");
    } else if (verb == "waitrequest") {
        const LPARAM code = n[0];
        RequestLog& log = m_session.Log();
        WaitUntil(
            step, n[1], [&log, code] { return RequestSinceStart(log, code); },
            "request " + std::to_string(code) + " to reach the host");
    } else {
        return false;
    }
    return true;
}

void ScriptRunner::HostStep(const ScriptStep& step) {
    const std::string& verb = step.verb;
    if (verb == "config") {
        m_session.PostConfigure();
    } else if (verb == "screenshot") {
        std::string error;
        const std::string path = m_outDir + "\\" + step.args[0];
        if (SaveScreenshotPng(path, &error)) {
            m_report("  wrote " + path);
        } else {
            Fail(step, error);
        }
    } else if (verb == "quit") {
        m_session.RequestShutdown();
        WaitUntil(
            step, kHostChangeMs,
            [this] {
                if (m_session.Running()) return false;
                m_report("quit: the plug-in's quit held the host's thread " +
                         std::to_string(m_session.LastQuitMs()) + " ms");
                return true;
            },
            "the host to shut down");
    } else if (verb == "restart") {
        const int runs = m_session.Runs();
        m_session.RequestRestart();
        WaitUntil(
            step, kHostChangeMs,
            [this, runs] {
                if (!m_session.Running() || m_session.Runs() <= runs) return false;
                m_report("restart: the plug-in's init held the host's thread " +
                         std::to_string(m_session.LastInitMs()) + " ms");
                return true;
            },
            "the host to start again");
    } else if (verb == "removefile") {
        RemoveFile(step);
    }
}

// Steps about files, which need no running host.
bool ScriptRunner::FileStep(const ScriptStep& step) {
    const std::string& verb = step.verb;
    const std::string path = m_session.Folder() + "\\" + (step.args.empty() ? "" : step.args[0]);
    if (verb == "touch") {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) Fail(step, "cannot make " + path);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    } else if (verb == "waitfile") {
        WaitUntil(
            step, step.numbers[0],
            [path] { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
            "the file " + path);
    } else if (verb == "holddata") {
        if (m_heldData != INVALID_HANDLE_VALUE) ::CloseHandle(m_heldData);
        m_heldData = INVALID_HANDLE_VALUE;
        if (step.args[0] == "off") return true;
        const std::string data = m_session.IniDirectory() + "\\plugins\\gen_morvix.dat";
        m_heldData = ::CreateFileA(data.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (m_heldData == INVALID_HANDLE_VALUE)
            Fail(step, "cannot hold " + data + ", error " + std::to_string(::GetLastError()));
    } else if (verb == "setting") {
        // The plug-in's own INI section, as a person edits it between two runs (the plug-in writes it at quit).
        const std::string value = std::to_string(step.numbers[0]);
        if (!::WritePrivateProfileStringA("gen_morvix", step.args[0].c_str(), value.c_str(),
                                          m_session.IniFile().c_str()))
            Fail(step, "cannot write " + m_session.IniFile());
    } else {
        return false;
    }
    return true;
}

// Waits for the options to list the entry's file, selects its row and presses Remove; once the row has
// gone, presses OK and waits for the options to close.
void ScriptRunner::RemoveFile(const ScriptStep& step) {
    const wchar_t* name = m_session.Player().EntryWideName(step.numbers[0]);
    if (!name) return Fail(step, "there is no entry " + step.args[0]);
    struct Progress {
        bool removed = false;
        HWND closing = nullptr;
    };
    auto progress = std::make_shared<Progress>();
    const std::wstring wanted = name;
    const std::string what = "the options to list entry " + step.args[0] + "'s file, take it out and close";
    WaitUntil(
        step, kHostChangeMs,
        [this, wanted, progress, what] {
            if (progress->closing) return !::IsWindow(progress->closing);
            const HWND options = probe::FindOptions();
            const std::vector<std::wstring> rows = probe::OptionsFiles(options);
            int row = -1;
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (rows[i] == wanted) row = static_cast<int>(i);
            m_pending->waitingFor = what + "; " + probe::DescribeOptions(options);
            if (!progress->removed && row >= 0) {
                probe::SelectOptionsRow(options, row);
                ::SendMessageA(options, WM_COMMAND, MAKEWPARAM(IDC_CFG_REMOVE, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(options, IDC_CFG_REMOVE)));
                progress->removed = true;
            } else if (progress->removed && row < 0) {
                ::PostMessageA(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(options, IDOK)));
                progress->closing = options;
            }
            return false;
        },
        what);
}
