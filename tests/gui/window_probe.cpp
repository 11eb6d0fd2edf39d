// Reads Ducat Console's main window from another process, as the operator
// would see it, for the smoke tests under Wine. Texts are printed as the
// window holds them (code page 1251 bytes).
//
//   window_probe wait SECONDS        the main window exists (exit 0) or not (1)
//   window_probe title               its title
//   window_probe text ID             the text of control ID
//   window_probe enabled ID          "1" or "0"
//   window_probe rows                rows in the device coin list
//   window_probe click ID            presses button ID
//   window_probe command ID          sends the main window command ID (a menu item)
//   window_probe key ID VK           a key press on control ID
//   window_probe answer CAPTION ID   presses button ID of the window titled CAPTION
//                                    (a box or dialog), waiting for it a while
//   window_probe select CAPTION ID N chooses entry N of drop-down list ID there
//   window_probe settext CAPTION ID TEXT  puts TEXT into control ID there
//   window_probe windows             the titles of the visible top windows
// A CAPTION of "@owned" means the visible window the main window owns (a
// dialog or box whose title is not known in advance, such as a file box).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kTitleMark = "Ducat Console - version";
constexpr const char* kOwnedMark = "@owned";
constexpr int kDeviceCoinList = 1001;
constexpr UINT kReplyMs = 2000;
constexpr DWORD kPollMs = 200;
constexpr size_t kTextBytes = 4096;
constexpr DWORD kWindowWaitMs = 15000; // for a box or dialog the program opens

struct Search {
    const char* titlePart;
    bool exact;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    const bool match = search->exact ? std::strcmp(title, search->titlePart) == 0
                                     : std::strstr(title, search->titlePart) != nullptr;
    if (!match) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopWindow(const char* titlePart, bool exact) {
    Search search{titlePart, exact, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindow() { return FindTopWindow(kTitleMark, false); }

BOOL CALLBACK VisitOwned(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != MainWindow()) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindOwnedWindow() {
    Search search{kOwnedMark, true, nullptr};
    EnumWindows(VisitOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window) {
    char text[kTextBytes] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kReplyMs,
                        &copied);
    return std::string(text, std::strlen(text));
}

BOOL CALLBACK PrintTitle(HWND window, LPARAM) {
    char title[512] = {};
    if (IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) > 0) std::printf("%s\n", title);
    return TRUE;
}

int Fail(const char* what) {
    std::fprintf(stderr, "window_probe: %s\n", what);
    return 1;
}

// Null when no window with that title came within `ms`.
HWND AwaitTopWindow(const char* title, bool exact, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND found = std::strcmp(title, kOwnedMark) == 0 ? FindOwnedWindow() : FindTopWindow(title, exact);
        if (found != nullptr) return found;
        if (GetTickCount() - start >= ms) return nullptr;
        Sleep(kPollMs);
    }
}

int Wait(int seconds) {
    return AwaitTopWindow(kTitleMark, false, static_cast<DWORD>(seconds) * 1000) != nullptr ? 0
                                                                                          : Fail("no main window");
}

int Click(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) return Fail("no such button");
    // Posted: the button's window may open a box that waits for us.
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 2) return Fail("usage: wait SECONDS | title | text ID | enabled ID | rows | click ID | command ID | key ID VK | answer CAPTION ID | select CAPTION ID N | settext CAPTION ID TEXT | windows");
    const std::string command = argv[1];
    if (command == "windows") return EnumWindows(PrintTitle, 0) ? 0 : 1;
    if (command == "wait" && argc == 3) return Wait(std::atoi(argv[2]));
    if (command == "answer" && argc == 4) {
        const HWND box = AwaitTopWindow(argv[2], true, kWindowWaitMs);
        return box != nullptr ? Click(box, std::atoi(argv[3])) : Fail("no such window");
    }
    if (command == "settext" && argc == 5) {
        const HWND dialog = AwaitTopWindow(argv[2], true, kWindowWaitMs);
        if (dialog == nullptr) return Fail("no such window");
        return SetDlgItemTextA(dialog, std::atoi(argv[3]), argv[4]) ? 0 : Fail("no such control");
    }
    if (command == "select" && argc == 5) {
        const HWND dialog = AwaitTopWindow(argv[2], true, kWindowWaitMs);
        if (dialog == nullptr) return Fail("no such window");
        const LRESULT chosen = SendDlgItemMessageA(dialog, std::atoi(argv[3]), CB_SETCURSEL,
                                                   static_cast<WPARAM>(std::atoi(argv[4])), 0);
        return chosen == CB_ERR ? Fail("no such entry") : 0;
    }
    const HWND main = MainWindow();
    if (main == nullptr) return Fail("no main window");
    if (command == "title") {
        std::printf("%s\n", TextOf(main).c_str());
    } else if (command == "text" && argc == 3) {
        const HWND control = GetDlgItem(main, std::atoi(argv[2]));
        if (control == nullptr) return Fail("no such control");
        std::printf("%s\n", TextOf(control).c_str());
    } else if (command == "enabled" && argc == 3) {
        std::printf("%d\n", IsWindowEnabled(GetDlgItem(main, std::atoi(argv[2]))) ? 1 : 0);
    } else if (command == "rows") {
        std::printf("%d\n", static_cast<int>(SendMessageA(GetDlgItem(main, kDeviceCoinList), LVM_GETITEMCOUNT, 0, 0)));
    } else if (command == "click" && argc == 3) {
        return Click(main, std::atoi(argv[2]));
    } else if (command == "command" && argc == 3) {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
    } else if (command == "key" && argc == 4) {
        const HWND control = GetDlgItem(main, std::atoi(argv[2]));
        const WPARAM key = static_cast<WPARAM>(std::atoi(argv[3]));
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostMessageA(control, WM_KEYUP, key, 0);
    } else {
        return Fail("unknown command");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
