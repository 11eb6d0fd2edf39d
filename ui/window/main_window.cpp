#include "ui/window/main_window.h"

#include "coindata/files/coin_stat_files.h"
#include "coindata/files/config_file.h"
#include "coindata/files/reference_book_file.h"
#include "coindata/records/coin_set.h"
#include "coindata/records/config_state.h"
#include "coindata/records/device_coin_table.h"
#include "commands/acceptor_commands.h"
#include "link/com_thread.h"
#include "link/command_mailbox.h"
#include "link/front_end.h"
#include "link/log_queue.h"
#include "link/port_settings.h"
#include "ui/result_fields.h"
#include "ui/window/coin_list_view.h"
#include "ui/window/dialog_text.h"
#include "ui/window/program_icon.h"
#include "ui/window/resource.h"
#include "ui/window/thread_messages.h"

#include "product_version.h"

#include <cstdio>

namespace {

constexpr UINT_PTR kTimerId = IDC_STATUS_LINE;
constexpr UINT kTimerMs = 100;
// Closing waits this long for a run to end, and then closes all the same.
constexpr DWORD kExitWaitStepMs = 500;
constexpr int kExitWaitSteps = 20;

constexpr int kVersionMajor = DUCAT_VERSION_MAJOR;
constexpr int kVersionMinor = DUCAT_VERSION_MINOR;
constexpr int kVersionBuild = DUCAT_VERSION_BUILD;
// The build date comes from the compiler, "Nov 13 2018" style. Eleven
// blanks before, ten between "]" and the maker, whose name stands
// in quotation marks.
constexpr const char* kTitleFormat =
    "           Ducat Console - version %0d.%02d.%02d [ %s ]          \"KORVELAN\"";

void CentreOnDesktop(HWND window) {
    RECT frame{};
    RECT desktop{};
    GetWindowRect(window, &frame);
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = desktop.left + (desktop.right - desktop.left - width) / 2;
    const int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

StatusTime TimeOfDay() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return StatusTime{local.wHour, local.wMinute, local.wSecond, local.wMilliseconds};
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

} // namespace

HWND MainWindow::Create() { return CreateModeless(instance_, IDD_MAIN_WINDOW, nullptr); }

void MainWindow::Initialise() {
    const HWND window = Handle();
    CentreOnDesktop(window);
    ShowProgramIcon(window, instance_);
    currentDirectory_ = CurrentDirectory();

    InitCoinSet();
    ReadConfig();
    SetWindowStartWords();
    ReadReferenceBook();
    LogQueueInit();
    RegisterAcceptorCommands();
    RouteThreadCallsTo(window);

    SetTimer(window, kTimerId, kTimerMs, nullptr);
    SetTitle();
    ScanComPorts();
    ChooseStartupPort();
    LoadDataFiles();

    const HWND list = Item(IDC_DEVICE_COIN_LIST);
    SetUpCoinListView(list);
    RefreshCoinList();

    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED), 0);
    EnableWindow(Item(IDC_EDIT_SELECTED_COIN), FALSE);
}

void MainWindow::LoadDataFiles() {
    SendMessageA(Item(IDC_BEST_COIN), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.ForOthers()), TRUE);
    LoadCurrentCoinFiles();
    ReadCommandFields();
}

void MainWindow::SetTitle() {
    char title[256];
    std::snprintf(title, sizeof title, kTitleFormat, kVersionMajor, kVersionMinor, kVersionBuild, __DATE__);
    SetWindowTextA(Handle(), title);
}

// The timer shows what the run watch's look brought.
void MainWindow::OnTimer() {
    std::string last;
    const RunLook look = watch_.Look(StatusLineKeeper(last));
    if (look.lines > 0) SetItemText(Handle(), IDC_STATUS_LINE, last);
    if (look.runOver) CurrentFrontEnd().EnableCommandControls(true);
    if (!look.results.empty()) ShowResult(look.results.back());
}

// Only the last line stays visible, so only it is shown; the history keeps them all.
RunWatch::LineHandler MainWindow::StatusLineKeeper(std::string& last) {
    const StatusTime now = TimeOfDay();
    return [this, now, &last](const char* line) {
        statusHistory_.Add(now, line);
        last = line;
    };
}

void MainWindow::DrainStatusLines() {
    std::string last;
    if (RunWatch::DrainLines(StatusLineKeeper(last)) > 0) SetItemText(Handle(), IDC_STATUS_LINE, last);
}

void MainWindow::ShowStatusHistory() { statusHistoryDialog_.Open(instance_, Handle(), statusHistory_.Text()); }

void MainWindow::ShowResult(const PublishedCoinResult& shown) {
    const ResultFields fields = FormatResultFields(shown.result, shown.counter);
    const HFONT font = fields.largeBestCoin ? fonts_.ForAccepted() : fonts_.ForOthers();
    SendMessageA(Item(IDC_BEST_COIN), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    const HWND window = Handle();
    SetItemText(window, IDC_BEST_COIN, fields.bestCoin);
    SetItemText(window, IDC_NEXT_COIN, fields.nextCoin);
    SetItemText(window, IDC_BEST_ERRORS, fields.bestErrors);
    SetItemText(window, IDC_NEXT_ERRORS, fields.nextErrors);
    SetItemText(window, IDC_RESULT_BUFFER, fields.buffer);
}

void MainWindow::Destroy() {
    const HWND window = Handle();
    KillTimer(window, kTimerId);
    // From here the service thread has no window to reach.
    RouteThreadCallsTo(nullptr);
    watch_.Stop();
    for (int step = 0; step < kExitWaitSteps && RunExists(); ++step) Sleep(kExitWaitStepMs);
    LogQueueDestroy();
    WriteReferenceBook();
    PostQuitMessage(0);
}

INT_PTR MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise();
        return TRUE;
    case WM_TIMER:
        if (wParam == kTimerId) OnTimer();
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_INITMENUPOPUP:
        OnMenuOpening(reinterpret_cast<HMENU>(wParam));
        return TRUE;
    case WM_NOTIFY:
        OnListNotification(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE; // every list notification keeps its default answer
    case WM_IDENTITY_LINE_NEW:
        SetItemText(Handle(), IDC_IDENTITY_LINE, TakeIdentityLine());
        return TRUE;
    case WM_DEVICE_COIN_LIST_CHANGED:
        AcknowledgeCoinListChange();
        RefreshCoinList();
        return TRUE;
    case WM_DESTROY:
        Destroy();
        return TRUE;
    default:
        return FALSE;
    }
}
