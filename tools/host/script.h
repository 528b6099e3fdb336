// Scripted sessions of the stand-in host: a text file of steps, one per line, '#' starts a comment.
//
//   wait MS                       let time pass (messages keep flowing)
//   play | pause | next | prev    the player's own buttons
//   seek MS | volume N            jump within the entry; set the volume 0..255
//   fullscreen on|off             video full screen (the player reports 630 = 1) or in a frame
//   video destroy                 the video window goes, the player still reports full screen
//   move X Y | click X Y | rightclick X Y     the user's mouse, screen coordinates
//   clickbar ID                   mouse click at the centre of the bar's control ID (bar visible)
//   waitbar shown|hidden MS       wait up to MS for the bar to be shown or hidden
//   waitwindow "TITLE" MS         wait up to MS for a visible window with that title
//   closewindow "TITLE" ok|cancel press OK or Cancel in that window
//   waitrequest CODE MS           wait up to MS for a WM_USER request CODE since the host started
//   config                        open the plug-in's configuration (the script goes on meanwhile)
//   screenshot FILE               PNG of the whole screen into the output folder
//   quit                          the host shuts down (plug-in quit, unload) and says how long quit held it
//   restart                       start the host again on the same folder; says how long init held it
//   stop                          the player's Stop button
//   report                        print the current entry, its position and the player's status
//   kill                          end the host's process at once: no plug-in quit, nothing saved
//   fullscreenmonitor N           video full screen on monitor N (1 the primary one, 2 the next)
//   visualisation on|off          a visualisation full screen: 630 answers 1, no video window, 501 answers 0
//   hostversion N                 the version the host answers; below 0x5000 (20480) an old host
//   movebar ID                    mouse move to the centre of the bar's control ID (bar visible)
//   lateannounce MS               from now on a new entry is announced MS later, messages pumped meanwhile
//   pumpinrequests MS             from now on the host pumps its messages for MS inside every request
//   pausednovideo on|off          the host says no video plays (501 answers 0) while the video is paused
//   wheel X Y NOTCHES             the user's mouse wheel at X Y, NOTCHES up (negative: down)
//   slowdisk MS                   from now on each open, look at attributes, read, write, flush and rename
//                                 of the plug-in's own takes MS longer
//   slowopen TEXT MS              from now on the plug-in's open of a path that holds TEXT takes MS, then
//                                 fails with ERROR_BAD_NETPATH (a share that went away)
//   movefile ENTRY FLIP-BYTE|-1 "NEW NAME"   the entry's file moved on disk (one byte changed unless -1)
//   touch NAME                    an empty file NAME in the host's folder (a sign for another player)
//   waitfile NAME MS              wait up to MS for a file NAME in the host's folder
//   removefile ENTRY              in the options (open them with config) select the entry's file, press
//                                 Remove, then OK
//   holddata on|off               the host holds the plug-in's data file open sharing nothing, as another
//                                 program may, or lets it go
//   setting KEY VALUE             the plug-in's INI key KEY set to VALUE (between quit and restart)
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host_session.h"

struct ScriptStep {
    int line = 0;
    std::string verb;
    std::vector<std::string> args; // words; quoted text is one word without its quotes
    std::vector<int> numbers;      // the numeric arguments, checked by the parser
};

// Parses the whole script; on the first bad line returns false with "line N: reason" in *error.
bool ParseScript(const std::string& text, std::vector<ScriptStep>* steps, std::string* error);

// Runs the steps from a thread timer, so they go on inside modal loops (the configuration dialog).
// Failed steps are reported and counted; the run goes on, so later screenshots still come.
class ScriptRunner {
public:
    using Report = std::function<void(const std::string&)>;

    ScriptRunner(HostSession& session, std::vector<ScriptStep> steps, std::string outDir, Report report);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    void Start();
    bool Finished() const { return m_finished; }
    int Failures() const { return m_failures; }
    // The thread timer that runs the steps (0 before Start).
    UINT_PTR Timer() const { return m_timer; }

private:
    struct Pending {
        const ScriptStep* step = nullptr;
        unsigned long deadline = 0;
        std::function<bool()> done; // empty: a plain wait that ends at the deadline
        std::string waitingFor;
    };
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    void Execute(const ScriptStep& step);
    // Each returns false when the step is not of its kind.
    bool PlayerStep(const ScriptStep& step);
    bool MouseStep(const ScriptStep& step);
    bool WaitStep(const ScriptStep& step);
    void HostStep(const ScriptStep& step);
    bool FileStep(const ScriptStep& step);
    void RemoveFile(const ScriptStep& step);
    void WaitUntil(const ScriptStep& step, int ms, std::function<bool()> done, std::string what);
    void Fail(const ScriptStep& step, const std::string& why);

    HostSession& m_session;
    std::vector<ScriptStep> m_steps;
    std::string m_outDir;
    Report m_report;
    std::size_t m_next = 0;
    std::optional<Pending> m_pending;
    UINT_PTR m_timer = 0;
    bool m_busy = false;
    bool m_finished = false;
    int m_failures = 0;
    HANDLE m_heldData = INVALID_HANDLE_VALUE;
};
