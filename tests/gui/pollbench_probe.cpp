// Reads Pollbench's main window from another process, as the operator sees
// it, for the smoke test under Wine.
//
//   pollbench_probe wait SECONDS       the main window exists (exit 0) or not (1)
//   pollbench_probe gone SECONDS       the main window has closed (0) or not (1)
//   pollbench_probe text ID            the text of control ID
//   pollbench_probe checked ID         "1" when check box ID is ticked, else "0"
//   pollbench_probe click ID           presses button ID
//   pollbench_probe command ID         sends the main window command ID (a menu item)
//   pollbench_probe syscommand ID      the same for an entry of its system menu
//   pollbench_probe answer CAPTION ID  presses button ID of the dialog titled CAPTION
//   pollbench_probe dismiss CAPTION ID the same, and waits until that window has gone
//   pollbench_probe settext ID TEXT    replaces the text of control ID, as typed
//   pollbench_probe select ID INDEX    selects entry INDEX of drop-down list ID
//   pollbench_probe focus ID           gives control ID the keyboard focus
//   pollbench_probe visible ID         "1" when control ID is shown, else "0"
//   pollbench_probe in CAPTION VERB ...  the same verbs on the window titled CAPTION
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr char kMainTitle[] = "VXL Pollbench";
const char* g_Target = kMainTitle;
constexpr DWORD kStepMs = 100;
constexpr int kAnswerWaitSeconds = 10;
constexpr int kProbeTimeoutMs = 5000;

HWND FindTitled(const char* title) { return FindWindowA(nullptr, title); }

HWND WaitTitled(const char* title, int seconds) {
    for (DWORD waited = 0; waited <= static_cast<DWORD>(seconds) * 1000; waited += kStepMs) {
        const HWND found = FindTitled(title);
        if (found != nullptr) return found;
        Sleep(kStepMs);
    }
    return nullptr;
}

std::string ControlText(HWND control) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kProbeTimeoutMs, &length);
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kProbeTimeoutMs, &copied);
    return std::string(text.data());
}

int Usage() {
    std::fprintf(stderr, "usage: pollbench_probe [in CAPTION] wait|gone SECONDS | text|checked|visible|click|focus|command|syscommand ID"
                         " | settext ID TEXT | select ID INDEX | answer|dismiss CAPTION ID\n");
    return 2;
}

// Focus can only be moved within the input state of the window's own thread.
void FocusControl(HWND control) {
    const DWORD theirs = GetWindowThreadProcessId(control, nullptr);
    const DWORD ours = GetCurrentThreadId();
    AttachThreadInput(ours, theirs, TRUE);
    SetFocus(control);
    AttachThreadInput(ours, theirs, FALSE);
}

int Control(const char* verb, int id, const char* text) {
    const HWND main = FindTitled(g_Target);
    if (main == nullptr) return 1;
    if (std::strcmp(verb, "command") == 0) {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return 0;
    }
    if (std::strcmp(verb, "syscommand") == 0) {
        PostMessageA(main, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
        return 0;
    }
    const HWND control = GetDlgItem(main, id);
    if (control == nullptr) return 1;
    if (std::strcmp(verb, "text") == 0) {
        std::printf("%s\n", ControlText(control).c_str());
    } else if (std::strcmp(verb, "checked") == 0) {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kProbeTimeoutMs, &state);
        std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
    } else if (std::strcmp(verb, "visible") == 0) {
        std::printf("%d\n", IsWindowVisible(control) ? 1 : 0);
    } else if (std::strcmp(verb, "settext") == 0 && text != nullptr) {
        // Sent: the window has handled the change when this returns.
        DWORD_PTR done = 0;
        SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kProbeTimeoutMs, &done);
    } else if (std::strcmp(verb, "select") == 0 && text != nullptr) {
        DWORD_PTR done = 0;
        SendMessageTimeoutA(control, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(text)), 0, SMTO_ABORTIFHUNG,
                            kProbeTimeoutMs, &done);
    } else if (std::strcmp(verb, "focus") == 0) {
        FocusControl(control);
    } else if (std::strcmp(verb, "click") == 0) {
        // Posted: the click may open a box that waits for the operator.
        PostMessageA(control, BM_CLICK, 0, 0);
    } else {
        return Usage();
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "in") == 0) {
        g_Target = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) return Usage();
    const char* verb = argv[1];
    if (std::strcmp(verb, "wait") == 0) return WaitTitled(g_Target, std::atoi(argv[2])) != nullptr ? 0 : 1;
    if (std::strcmp(verb, "gone") == 0) {
        const int seconds = std::atoi(argv[2]);
        for (DWORD waited = 0; waited <= static_cast<DWORD>(seconds) * 1000; waited += kStepMs) {
            if (FindTitled(g_Target) == nullptr) return 0;
            Sleep(kStepMs);
        }
        return 1;
    }
    const bool dismiss = std::strcmp(verb, "dismiss") == 0;
    if (dismiss || std::strcmp(verb, "answer") == 0) {
        if (argc < 4) return Usage();
        const HWND dialog = WaitTitled(argv[2], kAnswerWaitSeconds);
        if (dialog == nullptr) return 1;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(std::atoi(argv[3]), BN_CLICKED), 0);
        if (!dismiss) return 0;
        // Another window of the same title may follow at once: this one must be gone first.
        for (DWORD waited = 0; waited <= kAnswerWaitSeconds * 1000; waited += kStepMs) {
            if (!IsWindow(dialog)) return 0;
            Sleep(kStepMs);
        }
        return 1;
    }
    return Control(verb, std::atoi(argv[2]), argc >= 4 ? argv[3] : nullptr);
}
