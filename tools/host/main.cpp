// morvix_host.exe: the stand-in player. Loads the plug-ins of FOLDER\plugins and plays a playlist,
// either for a person at the keyboard or through a script that writes screenshots.
//
//   morvix_host.exe [--folder F] [--entry SECONDS NAME]... [--no-wide] [--keys-to-focus] [--script FILE --out
//   DIR]
//
// In a NAME, {U+XXXX} stands for that UTF-16 code unit, so names outside the ANSI code page can be given
// on an ANSI command line. --no-wide plays a host that lacks the wide file-name request; --keys-to-focus a
// host whose shortcuts work only in the window that has the keyboard focus.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host_session.h"
#include "script.h"

namespace {
struct CommandLine {
    std::string folder;
    std::string script;
    std::string out; // empty: no files written
    std::vector<PlaylistEntry> playlist;
    bool wideNames = true;
    bool keysToFocus = false; // the shortcuts work only in the window with the keyboard focus
    std::string error;
};

// The entry for NAME: with {U+XXXX} in it, the name is wide and its ANSI form is the player's to make.
PlaylistEntry Entry(const std::string& name, int seconds) {
    PlaylistEntry entry{std::string(), seconds > 0 ? seconds : 60, std::wstring()};
    bool wide = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned unit = 0;
        if (name.compare(i, 3, "{U+") == 0 && i + 7 < name.size() && name[i + 7] == '}' &&
            std::sscanf(name.c_str() + i + 3, "%4x", &unit) == 1) {
            entry.wideName.push_back(static_cast<wchar_t>(unit));
            wide = true;
            i += 7;
        } else {
            entry.wideName.push_back(static_cast<wchar_t>(static_cast<unsigned char>(name[i])));
        }
    }
    if (!wide) {
        entry.wideName.clear();
        entry.name = name;
    }
    return entry;
}

CommandLine Parse(int argc, char** argv) {
    CommandLine cl;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](int count) {
            if (i + count >= argc) cl.error = arg + " needs " + std::to_string(count) + " value(s)";
            return i + count < argc;
        };
        if (arg == "--folder" && value(1)) {
            cl.folder = argv[++i];
        } else if (arg == "--script" && value(1)) {
            cl.script = argv[++i];
        } else if (arg == "--out" && value(1)) {
            cl.out = argv[++i];
        } else if (arg == "--entry" && value(2)) {
            cl.playlist.push_back(Entry(argv[i + 2], std::atoi(argv[i + 1])));
            i += 2;
        } else if (arg == "--no-wide") {
            cl.wideNames = false;
        } else if (arg == "--keys-to-focus") {
            cl.keysToFocus = true;
        } else if (cl.error.empty()) {
            cl.error = "unknown argument " + arg;
        }
    }
    if (cl.folder.empty()) {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        cl.folder = std::string(temp) + "morvix-host";
    }
    if (cl.playlist.empty()) cl.playlist = DemoPlaylist();
    return cl;
}

// Output goes to the console the host was started from and to run.txt in the output folder.
class Reporter {
public:
    explicit Reporter(const std::string& path) {
        if (!path.empty()) m_file.open(path);
    }
    void operator()(const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (m_file) m_file << line << "\n" << std::flush;
    }

private:
    std::ofstream m_file;
};

int MessageLoop(HostSession& session, bool interactive, UINT_PTR scriptTimer = 0) {
    MSG msg;
    int code = 0;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (interactive && !session.KeysToFocusOnly() && msg.message == WM_KEYDOWN &&
            session.HandleKey(msg.wParam))
            continue;
        ::TranslateMessage(&msg);
        // A thread timer other than the script's is a plug-in's: it holds the host's thread while it runs.
        const bool pluginTimer = msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam != scriptTimer;
        const DWORD start = ::GetTickCount();
        ::DispatchMessageA(&msg);
        if (pluginTimer) session.NoteHold(::GetTickCount() - start);
        session.ServicePending();
        if (interactive && !session.Running()) ::PostQuitMessage(0);
    }
    if (msg.message == WM_QUIT) code = static_cast<int>(msg.wParam);
    return code;
}

bool ReadText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}
} // namespace

int main(int argc, char** argv) {
    const CommandLine cl = Parse(argc, argv);
    if (!cl.out.empty()) ::CreateDirectoryA(cl.out.c_str(), nullptr);
    Reporter report(cl.out.empty() ? std::string() : cl.out + "\\run.txt");
    if (!cl.error.empty()) {
        report("morvix_host: " + cl.error);
        report("usage: morvix_host.exe [--folder F] [--entry SECONDS NAME]... [--no-wide] [--keys-to-focus] "
               "[--script FILE "
               "--out DIR]");
        return 2;
    }

    std::vector<ScriptStep> steps;
    if (!cl.script.empty()) {
        std::string text, error;
        if (!ReadText(cl.script, &text)) {
            report("morvix_host: cannot read script " + cl.script);
            return 2;
        }
        if (!ParseScript(text, &steps, &error)) {
            report("morvix_host: " + cl.script + ": " + error);
            return 2;
        }
    }

    HostOptions options;
    options.folder = cl.folder;
    options.playlist = cl.playlist;
    options.wideNames = cl.wideNames;
    HostSession session(options);
    session.SetKeysToFocusOnly(cl.keysToFocus);
    if (!session.Start()) {
        report("morvix_host: the host's windows could not be created");
        return 1;
    }
    report("host running on " + session.Folder() + " with " +
           std::to_string(session.Plugins().Plugins().size()) + " plug-in(s)");

    int code = 0;
    if (steps.empty()) {
        session.Player().Play();
        code = MessageLoop(session, true);
    } else {
        ScriptRunner runner(session, std::move(steps), cl.out.empty() ? "." : cl.out,
                            [&report](const std::string& line) { report(line); });
        runner.Start();
        code = MessageLoop(session, false, runner.Timer());
        if (!runner.Finished()) {
            report("the script did not finish");
            code = 1;
        }
        report(runner.Failures() ? std::to_string(runner.Failures()) + " step(s) failed"
                                 : "all steps passed");
    }
    session.Shutdown();

    if (cl.out.empty()) return code;
    const std::string logPath = cl.out + "\\host_log.txt";
    std::ofstream(logPath)
        << "What reached the host's own window procedure, in order, with its answers.\n"
           "The plug-in reacts to a notification (603) before passing it on, so the requests\n"
           "it makes in reaction are listed before the notification itself.\n\n"
        << session.Log().Format();
    report("request log: " + logPath);
    return code;
}
