#include "settings/dlg_config.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "bar/clock_text.h"
#include "resources/resource_ids.h"
#include "settings/int_parse.h"
#include "settings/last_played.h"
#include "settings/settings.h"

namespace {
constexpr const char* kDialogTitle = "Config Morvix";
constexpr const char* kNotAnInteger = "Please enter an integer.";
constexpr const char* kForgetCaption = "Forget remembered positions";
constexpr const char* kNotSaved =
    "The remembered positions could not be saved: the file that keeps them cannot be written (it is "
    "read-only, or Winamp has no settings folder). What you removed stays forgotten until Winamp closes.";
constexpr const char* kForgetQuestion =
    "Forget where you left every file? Each file will play from its beginning next time; the one playing "
    "now is remembered again from where you leave it.";
constexpr const char* kOutOfRange = "Please enter an integer between %d and %d.";
constexpr const char* kFewerFiles =
    "%d remembered file%s beyond the %d most recent will be forgotten. Go on?";
// The arrows move the fast-wind limit within 0..300; typed values are not limited.
constexpr int kSpinMin = 0;
constexpr int kSpinMax = 300;
// The remembered files' columns and their shares of the list's width.
constexpr const char* kTitles[] = {"File", "At", "Last played", "Folder"};
constexpr int kPercents[] = {32, 14, 30, 24};
constexpr int kColumns = 4;
enum Column { kFileColumn, kAtColumn, kPlayedColumn, kFolderColumn };

// The whole text of a control, however long, so a cut cannot turn text that does not read into a number.
std::string WholeText(WindowSystem& windows, HWND edit) {
    const LRESULT length = windows.SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::string text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
    const int copied = windows.GetWindowTextA(edit, &text[0], static_cast<int>(text.size()));
    text.resize(copied > 0 ? std::min(static_cast<std::size_t>(copied), text.size() - 1) : 0);
    return text;
}

char16_t FoldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

template <typename T> int Compare(T a, T b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

// Latin letters without regard to case, everything else by its code unit.
int CompareText(const std::u16string& a, const std::u16string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int order = Compare(FoldCase(a[i]), FoldCase(b[i]));
        if (order != 0) return order;
    }
    return Compare(a.size(), b.size());
}

int CompareColumn(const RememberedFile& a, const RememberedFile& b, int column) {
    switch (column) {
    case kFileColumn:
        return CompareText(a.name, b.name);
    case kAtColumn:
        return Compare(a.position, b.position);
    case kPlayedColumn:
        return Compare(a.lastPlayed, b.lastPlayed); // not known (0) counts as the oldest
    default: {
        const int byFolder = CompareText(a.folder, b.folder);
        return byFolder != 0 ? byFolder : CompareText(a.name, b.name);
    }
    }
}
} // namespace

void DataExchange::Check(int id, int& value) {
    if (m_failed) return;
    const HWND box = m_windows.GetDlgItem(m_dialog, id);
    if (m_saving) {
        value = m_windows.SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    } else {
        const WPARAM state = value == 1 ? BST_CHECKED : BST_UNCHECKED;
        m_windows.SendMessageA(box, BM_SETCHECK, state, 0);
    }
}

void DataExchange::Text(int id, int& value, int min, int max) {
    if (m_failed) return;
    const HWND edit = m_windows.GetDlgItem(m_dialog, id);
    if (!m_saving) {
        // A hand-edited value outside the range shows as the value in use, so an OK that changes
        // nothing goes through.
        const int shown = value < min ? min : value > max ? max : value;
        char text[16];
        std::snprintf(text, sizeof text, "%d", shown);
        m_windows.SetWindowTextA(edit, text);
        return;
    }
    const std::string text = WholeText(m_windows, edit);
    int parsed = 0;
    if (!ParseDialogInt(text.c_str(), &parsed)) {
        FailOnEdit(edit, kNotAnInteger);
        return;
    }
    if (parsed < min || parsed > max) {
        char message[64];
        std::snprintf(message, sizeof message, kOutOfRange, min, max);
        FailOnEdit(edit, message);
        return;
    }
    value = parsed;
}

void DataExchange::FailOnEdit(HWND edit, const char* text) {
    m_failed = true;
    m_windows.MessageBoxA(m_dialog, text, kDialogTitle, MB_OK | MB_ICONEXCLAMATION);
    m_windows.SetFocus(edit);
    const WPARAM selectFrom = 0;
    const LPARAM selectToEnd = -1;
    m_windows.SendMessageA(edit, EM_SETSEL, selectFrom, selectToEnd);
}

bool CModalDialog::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    switch (message) {
    case WM_INITDIALOG:
        m_hWnd = hwnd;
        *result = OnInitDialog();
        return true;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (code != BN_CLICKED || (id != IDOK && id != IDCANCEL)) return false;
        if (id == IDOK) OnOK();
        if (id == IDCANCEL) OnCancel();
        *result = 0;
        return true;
    }
    default:
        return false;
    }
}

BOOL CModalDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CModalDialog::OnOK() {
    if (UpdateData(true)) m_windows.EndDialog(m_hWnd, IDOK);
}

void CModalDialog::OnCancel() {
    m_windows.EndDialog(m_hWnd, IDCANCEL);
}

bool CModalDialog::UpdateData(bool saving) {
    DataExchange exchange(m_windows, m_hWnd, saving);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

CDlgConfig::CDlgConfig(WindowSystem& windows, HWND parent, Settings& settings, CWinampIPC& host,
                       ProfileStore& profile, RememberedFiles* memory)
    : CModalDialog(windows, IDD_CONFIG, parent), m_settings(settings), m_host(host), m_profile(profile),
      m_memory(memory) {}

// The remembered files are taken out at once, as Forget does: the dialog's OK or Cancel decides only
// about the settings.
bool CDlgConfig::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const bool clicked = message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED;
    if (clicked && LOWORD(wParam) == IDC_CFG_REMOVE) {
        RemoveSelected();
    } else if (message == WM_NOTIFY && m_windows.ListDeleteKey(lParam)) {
        RemoveSelected();
    } else if (message == WM_NOTIFY && m_windows.ListColumnClicked(lParam) >= 0) {
        SortBy(m_windows.ListColumnClicked(lParam));
    } else if (clicked && LOWORD(wParam) == IDC_CFG_FORGET) {
        if (m_memory != nullptr && m_windows.MessageBoxA(m_hWnd, kForgetQuestion, kForgetCaption,
                                                         MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (!m_memory->RemoveAll()) NotSaved();
            FillList();
        }
    } else {
        return CModalDialog::OnMessage(hwnd, message, wParam, lParam, result);
    }
    *result = 0;
    return true;
}

void CDlgConfig::FillList() {
    m_files = m_memory != nullptr ? m_memory->List() : std::vector<RememberedFile>();
    m_now = m_windows.ToLocal(m_windows.UtcNow());
    m_order = std::vector<int>(m_files.size());
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = static_cast<int>(i);
    m_sortColumn = -1;
    ShowRows();
}

void CDlgConfig::ShowRows() {
    const HWND list = m_windows.GetDlgItem(m_hWnd, IDC_CFG_LIST);
    m_windows.ListClear(list);
    for (const int index : m_order) {
        const RememberedFile& file = m_files[static_cast<std::size_t>(index)];
        const std::string clock = ClockText(file.position, true);
        const std::u16string cells[kColumns] = {
            file.name, std::u16string(clock.begin(), clock.end()),
            file.lastPlayed != 0 ? LastPlayedText(m_windows.ToLocal(file.lastPlayed), m_now) : u"",
            file.folder};
        m_windows.ListAddRow(list, cells, kColumns);
    }
}

// A second click on the same heading turns the order round; the time of play starts with the latest.
void CDlgConfig::SortBy(int column) {
    m_sortDescending = column == m_sortColumn ? !m_sortDescending : column == kPlayedColumn;
    m_sortColumn = column;
    // A few hundred rows at most: an insertion sort is quick enough, and small.
    for (std::size_t i = 1; i < m_order.size(); ++i)
        for (std::size_t j = i; j > 0 && ShownBefore(m_order[j], m_order[j - 1]); --j)
            std::swap(m_order[j], m_order[j - 1]);
    ShowRows();
}

// Rows alike in the sorted column stay most recent first.
bool CDlgConfig::ShownBefore(int a, int b) const {
    const int order = CompareColumn(m_files[static_cast<std::size_t>(a)],
                                    m_files[static_cast<std::size_t>(b)], m_sortColumn);
    if (order != 0) return m_sortDescending ? order > 0 : order < 0;
    return a < b;
}

void CDlgConfig::RemoveSelected() {
    const HWND list = m_windows.GetDlgItem(m_hWnd, IDC_CFG_LIST);
    const int row = m_windows.ListSelection(list);
    if (m_memory == nullptr || row < 0 || static_cast<std::size_t>(row) >= m_order.size()) return;
    const bool saved =
        m_memory->Remove(m_files[static_cast<std::size_t>(m_order[static_cast<std::size_t>(row)])].key);
    m_order.erase(m_order.begin() + row);
    m_windows.ListDeleteRow(list, row);
    if (!saved) NotSaved();
}

void CDlgConfig::NotSaved() {
    m_windows.MessageBoxA(m_hWnd, kNotSaved, kDialogTitle, MB_OK | MB_ICONEXCLAMATION);
}

void CDlgConfig::DoDataExchange(DataExchange& exchange) {
    exchange.Check(IDC_CFG_BOOKMARK, m_settings.bookmark);
    exchange.Check(IDC_CFG_PAUSEFILE, m_settings.pausefile);
    exchange.Check(IDC_CFG_MOUSEPAUSE, m_settings.mousepause);
    exchange.Check(IDC_CFG_SHOWHOURS, m_settings.showhours);
    exchange.Check(IDC_CFG_CLIPMOUSE, m_settings.clipmouse);
    exchange.Check(IDC_CFG_LISTBUTTONS, m_settings.listbuttons);
    exchange.Text(IDC_CFG_FASTWIND, m_settings.fastwind);
    exchange.Text(IDC_CFG_HIDEDELAY, m_settings.hidedelay, kMinHideDelay, kMaxHideDelay);
    exchange.Text(IDC_CFG_MAXFILES, m_settings.maxfiles, kMinMaxFiles, kMaxMaxFiles);
    exchange.Text(IDC_CFG_MINLENGTH, m_settings.minlength, 0, kMaxMinLength);
    // The INI file gets only a set of values that all read.
    if (exchange.Saving() && !exchange.Failed()) m_settings.Save(m_host, m_profile);
}

BOOL CDlgConfig::OnInitDialog() {
    CModalDialog::OnInitDialog();
    const WPARAM unused = 0;
    const LPARAM range = MAKELPARAM(kSpinMax, kSpinMin);
    m_windows.SendMessageA(m_windows.GetDlgItem(m_hWnd, IDC_CFG_SPIN), UDM_SETRANGE, unused, range);
    m_windows.SendMessageA(m_windows.GetDlgItem(m_hWnd, IDC_CFG_HIDESPIN), UDM_SETRANGE, unused,
                           MAKELPARAM(kMaxHideDelay, kMinHideDelay));
    m_windows.SendMessageA(m_windows.GetDlgItem(m_hWnd, IDC_CFG_MAXSPIN), UDM_SETRANGE, unused,
                           MAKELPARAM(kMaxMaxFiles, kMinMaxFiles));
    m_windows.SendMessageA(m_windows.GetDlgItem(m_hWnd, IDC_CFG_MINSPIN), UDM_SETRANGE, unused,
                           MAKELPARAM(kMaxMinLength, 0));
    m_windows.ListColumns(m_windows.GetDlgItem(m_hWnd, IDC_CFG_LIST), kTitles, kPercents, kColumns);
    FillList();
    return TRUE;
}

// Asked before anything is stored: No leaves the dialog open and the settings as they were.
void CDlgConfig::OnOK() {
    if (FewerFilesAgreed()) CModalDialog::OnOK();
}

bool CDlgConfig::FewerFilesAgreed() {
    const int kept = m_memory != nullptr ? static_cast<int>(m_memory->List().size()) : 0;
    if (kept <= kMinMaxFiles) return true;
    int wanted = 0;
    const std::string text = WholeText(m_windows, m_windows.GetDlgItem(m_hWnd, IDC_CFG_MAXFILES));
    // A number that does not read, or lies outside the range, is the exchange's to refuse.
    if (!ParseDialogInt(text.c_str(), &wanted) || wanted < kMinMaxFiles || wanted >= kept) return true;
    char question[128];
    std::snprintf(question, sizeof question, kFewerFiles, kept - wanted, kept - wanted == 1 ? "" : "s",
                  wanted);
    return m_windows.MessageBoxA(m_hWnd, question, kDialogTitle,
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

namespace {
// The dialog that is running, if any. The host may ask to configure again from inside its modal loop.
const CDlgConfig* s_openConfig = nullptr;

class OpenConfigMark {
public:
    explicit OpenConfigMark(const CDlgConfig& dialog) { s_openConfig = &dialog; }
    OpenConfigMark(const OpenConfigMark&) = delete;
    OpenConfigMark& operator=(const OpenConfigMark&) = delete;
    ~OpenConfigMark() { s_openConfig = nullptr; }
};
} // namespace

void RunConfigDialog(WindowSystem& windows, HWND parent, Settings& settings, CWinampIPC& host,
                     ProfileStore& profile, RememberedFiles* memory) {
    if (s_openConfig != nullptr) {
        const HWND open = s_openConfig->GetSafeHwnd();
        if (open != nullptr) windows.SetForegroundWindow(open);
        return;
    }
    CDlgConfig dialog(windows, parent, settings, host, profile, memory);
    const OpenConfigMark mark(dialog);
    dialog.DoModal();
}
