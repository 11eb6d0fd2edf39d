// The main window's opening, its data exchange, timers and the core's hooks.
#include "demo/window/main_dialog.h"

#include "demo/core/settings.h"
#include "demo/driver/reset_question.h"
#include "demo/window/coin_rows.h"
#include "demo/window/resource.h"
#include "demo/window/timers.h"

#include <array>
#include <utility>

namespace {
// The escrow sum in a large face.
constexpr char kLargeFontFace[] = "Arial";
constexpr int kLargeFontHeight = 20;
constexpr int kLargeFontWeight = 700;

struct OutletControls {
    int full;   // 0 for the rejects, which cannot be overridden
    int total;
    int active;
    int idle;
};
// Index 0 is the reject outlet, 1..5 the sorter outlets.
constexpr std::array<OutletControls, kFlashPictures> kOutlets = {{
    {0, IDC_REJECT_TOTAL, IDC_REJECT_ACTIVE, IDC_REJECT_IDLE},
    {IDC_OUTLET1_FULL, IDC_OUTLET1_TOTAL, IDC_OUTLET1_ACTIVE, IDC_OUTLET1_IDLE},
    {IDC_OUTLET2_FULL, IDC_OUTLET2_TOTAL, IDC_OUTLET2_ACTIVE, IDC_OUTLET2_IDLE},
    {IDC_OUTLET3_FULL, IDC_OUTLET3_TOTAL, IDC_OUTLET3_ACTIVE, IDC_OUTLET3_IDLE},
    {IDC_OUTLET4_FULL, IDC_OUTLET4_TOTAL, IDC_OUTLET4_ACTIVE, IDC_OUTLET4_IDLE},
    {IDC_OUTLET5_FULL, IDC_OUTLET5_TOTAL, IDC_OUTLET5_ACTIVE, IDC_OUTLET5_IDLE},
}};

// The indicators stand on the device picture's white, which also wipes
// their last text; the marks, whose text never changes, stand on the
// picture itself and let it show through.
constexpr std::array<int, 2> kOnPictureWhite = {IDC_INDICATOR_LEFT, IDC_INDICATOR_RIGHT};
constexpr std::array<int, 2> kOnPictureClear = {IDC_COIN_PRESENT, IDC_TRASH_OPEN};
constexpr COLORREF kPictureWhite = RGB(255, 255, 255);

constexpr std::array<int, 4> kEscrowControls = {IDC_ESCROW_GROUP, IDC_ESCROW, IDC_ESCROW_RETURN, IDC_ESCROW_ACCEPT};
constexpr std::array<int, 6> kLimitControls = {IDC_LIMIT_GROUP, IDC_LIMIT_LABEL,    IDC_ACCEPT_LIMIT,
                                               IDC_SET_LIMIT,   IDC_RESIDUAL_LABEL, IDC_RESIDUAL};
} // namespace

CDemoDlg::CDemoDlg(CCctDriver::TraceHook trace)
    : CDialogBase(IDD_POLLBENCH_DIALOG, nullptr), core_(std::move(trace)) {}

CDemoDlg::~CDemoDlg() {
    if (largeFont_ != nullptr) DeleteObject(largeFont_);
}

BOOL CDemoDlg::OnInitDialog() {
    AddSystemMenuEntries();
    SetIcons();
    CreateLargeFont();
    ConnectHooks();
    Refresh();
    core_.StartPolling();
    return TRUE;
}

void CDemoDlg::AddSystemMenuEntries() {
    const HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) return;
    char about[64] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, ID_OPTIONS, "Options...");
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
}

void CDemoDlg::SetIcons() {
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_POLLBENCH));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
}

void CDemoDlg::CreateLargeFont() {
    largeFont_ = CreateFontA(kLargeFontHeight, 0, 0, 0, kLargeFontWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                               kLargeFontFace);
    SendDlgItemMessageA(window, IDC_ESCROW, WM_SETFONT, reinterpret_cast<WPARAM>(largeFont_), TRUE);
}

void CDemoDlg::ConnectHooks() {
    DemoHooks& hooks = core_.hooks;
    hooks.repaintStatus = [this] { RepaintStatus(); };
    hooks.refresh = [this] { Refresh(); };
    hooks.showControls = [this] { ShowControls(); };
    hooks.showActivity = [this] { ShowActivity(); };
    hooks.flashOutlets = [this](uint8_t bits) {
        ShowOutletPictures(bits);
        SetTimer(window, ID_TIMER_FLASH, kOutletFlashMs, nullptr);
    };
    hooks.setPollTimer = [this](uint32_t ms) { SetPollTimer(ms); };
    // Owned by the window, which it disables while it is open: no inhibit
    // click can reach the device in the middle of the suspended poll.
    core_.driver.askReinitialize = [this] {
        return MessageBoxA(window, kResetQuestionText, kPollbenchCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
}

void CDemoDlg::DoDataExchange(CDataExchange& dx) {
    DemoModel& m = core_;
    for (size_t k = 0; k < kShownOutlets; ++k) dx.Unsigned(kOutlets[k + 1].total, m.outletTotal[k]);
    dx.Unsigned(IDC_REJECT_TOTAL, m.rejectTotal);
    for (size_t k = 0; k < kShownOutlets; ++k) dx.Check(kOutlets[k + 1].full, m.outletFull[k]);
    dx.Text(IDC_INDICATOR_LEFT, m.indicatorLeft);
    dx.Text(IDC_INDICATOR_RIGHT, m.indicatorRight);
    dx.Byte(IDC_DEFAULT_PATH, m.defaultPath);
    dx.Text(IDC_ESCROW, m.escrowText);
    dx.Text(IDC_CREDIT, m.creditText);
    dx.Unsigned(IDC_ACCEPT_LIMIT, m.acceptLimit);
    dx.Unsigned(IDC_RESIDUAL, m.residual);
    for (int p = 1; p <= kCoinPositions; ++p) {
        const size_t i = static_cast<size_t>(p - 1);
        dx.Text(CoinRowControl(p, IDC_ROW_COIN_ID), m.coinId[i]);
        dx.Text(CoinRowControl(p, IDC_ROW_SORT), m.sortText[i]);
        dx.Unsigned(CoinRowControl(p, IDC_ROW_COUNT), m.count[i]);
        dx.Check(CoinRowControl(p, IDC_ROW_INHIBIT), m.inhibit[i]);
    }
    dx.Check(IDC_MASTER_INHIBIT, m.masterInhibit);
    // Shown by the window, never typed: the status box and the error line.
    if (!dx.Taking()) {
        dx.Text(IDC_STATUS, m.status);
        dx.Text(IDC_ERROR_LINE, m.errorLine);
    }
}

void CDemoDlg::RepaintStatus() {
    SetDlgItemTextA(window, IDC_STATUS, core_.status.c_str());
    UpdateWindow(Item(IDC_STATUS));
}

void CDemoDlg::ShowControls() {
    const ControlVisibility& v = core_.visible;
    Show(IDC_MASTER_INHIBIT, v.masterInhibit);
    Show(IDC_TRASH_CYCLE, v.trashCycle);
    for (int id : kEscrowControls) Show(id, v.escrow);
    Show(IDC_MOTOR_RETURN, v.motorReturn);
    for (int id : kLimitControls) Show(id, v.acceptLimit);
    Show(IDC_COIN_PRESENT, v.coinPresent);
    Show(IDC_TRASH_OPEN, v.trashOpen);
    SetDlgItemTextA(window, IDC_ESCROW, core_.escrowText.c_str());
}

void CDemoDlg::ShowActivity() {
    SetDlgItemTextA(window, IDC_INDICATOR_LEFT, core_.indicatorLeft.c_str());
    SetDlgItemTextA(window, IDC_INDICATOR_RIGHT, core_.indicatorRight.c_str());
}

void CDemoDlg::ShowOutletPictures(uint8_t activeBits) {
    for (size_t i = 0; i < kOutlets.size(); ++i) {
        const bool active = (activeBits & (1u << i)) != 0;
        Show(kOutlets[i].active, active);
        Show(kOutlets[i].idle, !active);
    }
}

void CDemoDlg::SetPollTimer(uint32_t ms) {
    if (ms == 0) {
        KillTimer(window, ID_TIMER_POLL);
    } else {
        SetTimer(window, ID_TIMER_POLL, ms, nullptr);
    }
}

void CDemoDlg::OnTimer(UINT_PTR id) {
    if (id == ID_TIMER_POLL) {
        // A tick that comes while the fields are being taken (a message box
        // about a box is open) would refresh them half-taken: it waits.
        if (!Exchanging()) core_.ConnectionTick();
    } else if (id == ID_TIMER_FLASH) {
        core_.EndOutletFlash();
        ShowOutletPictures(0);
        KillTimer(window, ID_TIMER_FLASH);
    }
}

bool CDemoDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        return ColourOnPicture(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
    case WM_SYSCOMMAND:
        // Our own entries are compared whole: the low four bits of the
        // system's commands are theirs, ours are plain ids.
        if (wParam == IDM_ABOUTBOX) {
            RunAbout();
            return true;
        }
        if (wParam == ID_OPTIONS) {
            RunOptions();
            return true;
        }
        return false;
    case WM_PAINT:
        return PaintIconWhenMinimised();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(icon_);
        return true;
    default:
        return false;
    }
}

bool CDemoDlg::PaintIconWhenMinimised() {
    if (!IsIconic(window)) return false;
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window, &ps);
    return true;
}

bool CDemoDlg::ColourOnPicture(HDC dc, HWND control, INT_PTR& result) {
    const int id = GetDlgCtrlID(control);
    for (int onWhite : kOnPictureWhite) {
        if (id != onWhite) continue;
        SetBkColor(dc, kPictureWhite);
        result = reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
        return true;
    }
    for (int clear : kOnPictureClear) {
        if (id != clear) continue;
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        return true;
    }
    return false;
}
