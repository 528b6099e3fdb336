// The configuration dialog (template 2002), modal over the bar, and the small dialog framework under it.
#pragma once
#include <climits>
#include <string>
#include <vector>

#include "bookmarks/remembered_files.h"
#include "platform/profile_store.h"
#include "platform/window_system.h"

class CWinampIPC;
struct Settings;

// One pass of moving values between a dialog's controls and the data behind them. Saving stops at the
// first control whose text does not read; the user has been told and the control has the focus.
class DataExchange {
public:
    DataExchange(WindowSystem& windows, HWND dialog, bool saving)
        : m_windows(windows), m_dialog(dialog), m_saving(saving) {}

    bool Saving() const { return m_saving; }
    bool Failed() const { return m_failed; }

    // A check box: ticked is 1, clear is 0. Only 1 shows ticked, since only 1 counts as on.
    void Check(int id, int& value);
    // An edit box holding a signed 32-bit integer, saved only within min..max.
    void Text(int id, int& value, int min = INT_MIN, int max = INT_MAX);

private:
    void FailOnEdit(HWND edit, const char* text);

    WindowSystem& m_windows;
    HWND m_dialog;
    bool m_saving;
    bool m_failed = false;
};

// A modal dialog from one of the plug-in's templates. The controls are filled from the data when it
// opens; OK takes them back and closes only when all of them read; Cancel closes and touches nothing.
class CModalDialog : public DialogHandler {
public:
    CModalDialog(WindowSystem& windows, int templateId, HWND parent)
        : m_windows(windows), m_templateId(templateId), m_parent(parent) {}

    INT_PTR DoModal() { return m_windows.RunModalDialog(m_templateId, m_parent, this); }
    // The dialog's window while it runs; null before it is made.
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    virtual void DoDataExchange(DataExchange& exchange) = 0;
    // Returns what WM_INITDIALOG returns: nonzero leaves the focus to the dialog manager.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // True when every control was exchanged.
    bool UpdateData(bool saving);

    WindowSystem& m_windows;
    HWND m_hWnd = nullptr;

private:
    int m_templateId;
    HWND m_parent;
};

// Edits the live settings: a change is in effect as soon as OK stores it, and reaches the INI file only
// when the whole dialog reads.
class CDlgConfig : public CModalDialog {
public:
    // memory: the remembered files the dialog lists and takes out ("Remove", "Forget remembered positions").
    CDlgConfig(WindowSystem& windows, HWND parent, Settings& settings, CWinampIPC& host,
               ProfileStore& profile, RememberedFiles* memory = nullptr);
    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void DoDataExchange(DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    Settings& m_settings;
    CWinampIPC& m_host;
    ProfileStore& m_profile;
    RememberedFiles* m_memory;
    // The files most recent first, as the memory listed them, and now on the person's clock.
    std::vector<RememberedFile> m_files;
    LocalMoment m_now;
    // The list's row i shows m_files[m_order[i]].
    std::vector<int> m_order;
    // The column the rows are sorted by, -1 for most recent first.
    int m_sortColumn = -1;
    bool m_sortDescending = false;

    void FillList();
    void ShowRows();
    void SortBy(int column);
    bool ShownBefore(int a, int b) const;
    void RemoveSelected();
    // Tells the person that the data file did not take a removal.
    void NotSaved();
    // False when the person does not want a lower number of files to forget the ones beyond it.
    bool FewerFilesAgreed();
};

// Runs the dialog for the call only; on OK the settings are stored and written to the INI file.
// While it runs, a second call brings it to the front instead of opening another one over the same settings.
void RunConfigDialog(WindowSystem& windows, HWND parent, Settings& settings, CWinampIPC& host,
                     ProfileStore& profile, RememberedFiles* memory = nullptr);
