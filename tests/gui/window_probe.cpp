// Reads and works the windows of Ducat Console and Pollbench from another
// process, as the operator would, for the smoke tests under Wine. Texts are
// printed as the windows hold them (code page 1251 bytes).
//
//   window_probe PROGRAM [in CAPTION] VERB ARGS...
//
// PROGRAM is "ducat" or "pollbench": it names the main window and the
// control ids the probe knows by name (every #define of that program's
// resource.h, taken by the build). An ID is such a name, a number, or, for
// Pollbench's coin rows, COLUMN@P (IDC_ROW_SORT@5 is the Sort box of row 5).
// "in CAPTION" works on the window titled CAPTION instead of the main
// window; a CAPTION of "@owned" is the visible window the main window owns
// (a box or dialog whose title is not known in advance).
//
//   wait SECONDS | gone SECONDS     the window has come (exit 0) / has gone
//   title | windows                 its title / the titles of the visible top windows
//   text ID | enabled ID | visible ID | checked ID
//   font ID                         "FACE HEIGHT WEIGHT" of the control's font, or
//                                   "font HANDLE" where the font cannot be read
//   combo ID                        the selected entry's text, or nothing
//   rows ID | cell ID ROW COLUMN | rowchecked ID ROW   a list view
//   selectrow ID ROW                selects and focuses a list view row
//   boxtext                         the message text of the box
//   modal                           "1" when the window is owned by the main window and
//                                   the main window is disabled, else "0"
//   rect [ID]                       the screen rectangle of the window (or its control), "WxH+X+Y"
//   fits ID [FACE SIZE WEIGHT [TEXT]]  "TEXT-WIDTH TEXT-HEIGHT ROOM-WIDTH ROOM-HEIGHT" of the control's
//                                   text (or TEXT) in the control's font, against the room the control
//                                   leaves it; exit 1 when it does not fit. Where the font cannot be
//                                   read from here (Wine), the font FACE SIZE WEIGHT is made instead
//                                   (SIZE > 0 points, < 0 a character height in pixels)
//   listfits ID                     every caption and cell of a list view within its column, and the
//                                   columns within the list: one line per column, exit 1 when not
//   doubleclick ID                  a double click of the mouse on the control's middle
//   click ID | command ID | syscommand ID | focus ID | key ID VK
//   settext ID TEXT | type ID TEXT | select ID N   put TEXT in at once, or key by key
//   answer CAPTION ID               presses button ID of the window titled CAPTION,
//                                   waiting for it a while
//   dismiss CAPTION ID              the same, then waits until that window has gone
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct ProbeId {
    const char* program;
    const char* name;
    int value;
};

// The generated table: {"ducat", "IDC_START", 1002}, ...
const ProbeId kIds[] = {
#include "probe_ids.inc"
};
// The system's own button ids, which no resource.h holds.
const ProbeId kButtonIds[] = {{"", "IDOK", IDOK}, {"", "IDCANCEL", IDCANCEL}, {"", "IDYES", IDYES}, {"", "IDNO", IDNO}};

struct Program {
    const char* name;
    const char* titleMark; // a part of the main window's title
};
const Program kPrograms[] = {{"ducat", "Ducat Console - version"}, {"pollbench", "VXL Pollbench"}};

constexpr const char* kOwnedMark = "@owned";
constexpr UINT kReplyMs = 5000;
constexpr DWORD kStepMs = 100;
constexpr DWORD kWindowWaitMs = 15000; // for a box or dialog the program opens
constexpr size_t kTitleBytes = 512;

const Program* g_program = nullptr;

int Fail(const char* what, const char* detail = "") {
    std::fprintf(stderr, "window_probe: %s%s\n", what, detail);
    return 1;
}

// -1 when the id is no name of the program and no number.
int ResolveId(const std::string& token) {
    const size_t at = token.find('@');
    if (at != std::string::npos) {
        const int column = ResolveId(token.substr(0, at));
        const int first = ResolveId("IDC_COIN_ROW_FIRST");
        const int stride = ResolveId("IDC_COIN_ROW_STRIDE");
        const int position = std::atoi(token.c_str() + at + 1);
        if (column < 0 || first < 0 || stride < 0 || position < 1) return -1;
        return first + stride * (position - 1) + column;
    }
    if (!token.empty() && token[0] >= '0' && token[0] <= '9') return std::atoi(token.c_str());
    for (const ProbeId& id : kIds) {
        if (std::strcmp(id.program, g_program->name) == 0 && token == id.name) return id.value;
    }
    for (const ProbeId& id : kButtonIds) {
        if (token == id.name) return id.value;
    }
    return -1;
}

struct Search {
    const char* title;
    bool part;
    HWND found;
};

BOOL CALLBACK VisitTitled(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char title[kTitleBytes] = {};
    GetWindowTextA(window, title, sizeof title);
    const bool match = search->part ? std::strstr(title, search->title) != nullptr : std::strcmp(title, search->title) == 0;
    if (!match || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTitled(const char* title, bool part) {
    Search search{title, part, nullptr};
    EnumWindows(VisitTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindow() { return FindTitled(g_program->titleMark, true); }

BOOL CALLBACK VisitOwned(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != MainWindow()) return TRUE;
    search->found = window;
    return FALSE;
}

// The target window: the main window, the one titled CAPTION, or the one it owns.
HWND FindTarget(const char* caption) {
    if (caption == nullptr) return MainWindow();
    if (std::strcmp(caption, kOwnedMark) != 0) return FindTitled(caption, false);
    Search search{kOwnedMark, false, nullptr};
    EnumWindows(VisitOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AwaitTarget(const char* caption, DWORD ms) {
    for (DWORD waited = 0;; waited += kStepMs) {
        const HWND found = FindTarget(caption);
        if (found != nullptr || waited >= ms) return found;
        Sleep(kStepMs);
    }
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyMs, &length);
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kReplyMs, &copied);
    return std::string(text.data());
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyMs, &result);
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK PrintTitle(HWND window, LPARAM) {
    char title[kTitleBytes] = {};
    if (IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) > 0) std::printf("%s\n", title);
    return TRUE;
}

// A list view lives in the other process: its item texts are read through
// a buffer allocated there.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t bytes) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_ != nullptr) memory_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool Ok() const { return memory_ != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(memory_) + offset; }
    bool Put(size_t offset, const void* data, size_t n) const {
        return WriteProcessMemory(process_, At(offset), data, n, nullptr) != 0;
    }
    bool Get(size_t offset, void* data, size_t n) const {
        return ReadProcessMemory(process_, At(offset), data, n, nullptr) != 0;
    }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

constexpr size_t kCellTextBytes = 512;

int PrintCell(HWND list, int row, int column) {
    RemoteBuffer remote(list, sizeof(LVITEMA) + kCellTextBytes);
    if (!remote.Ok()) return Fail("cannot reach the list");
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote.At(sizeof item);
    item.cchTextMax = static_cast<int>(kCellTextBytes);
    remote.Put(0, &item, sizeof item);
    Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)));
    char text[kCellTextBytes] = {};
    remote.Get(sizeof item, text, sizeof text - 1);
    std::printf("%s\n", text);
    return 0;
}

int SelectRow(HWND list, int row) {
    RemoteBuffer remote(list, sizeof(LVITEMA));
    if (!remote.Ok()) return Fail("cannot reach the list");
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Put(0, &item, sizeof item);
    Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)));
    InvalidateRect(list, nullptr, TRUE); // the window notices the row in its next custom draw
    return 0;
}

// Font objects belong to the program's process; where they cannot be read
// from here (Wine), the handle still tells one font from another.
int PrintFont(HWND control) {
    const HFONT font = reinterpret_cast<HFONT>(Send(control, WM_GETFONT, 0, 0));
    if (font == nullptr) return Fail("no font");
    LOGFONTA face{};
    if (GetObjectA(font, sizeof face, &face) != 0) {
        std::printf("%s %ld %ld\n", face.lfFaceName, face.lfHeight, face.lfWeight);
    } else {
        std::printf("font %p\n", static_cast<void*>(font));
    }
    return 0;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM parameter) {
    auto* longest = reinterpret_cast<std::string*>(parameter);
    char kind[32] = {};
    GetClassNameA(child, kind, sizeof kind);
    if (_stricmp(kind, "Static") != 0) return TRUE;
    const std::string text = TextOf(child);
    if (text.size() > longest->size()) *longest = text;
    return TRUE;
}

int PrintRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
}

// The room a control leaves its text: an edit's formatting rectangle, a
// button's face inside its frame and focus mark, else the client area.
constexpr int kButtonFrame = 4; // pixels on each side

RECT TextRoom(HWND control) {
    RECT room{};
    GetClientRect(control, &room);
    char kind[32] = {};
    GetClassNameA(control, kind, sizeof kind);
    if (_stricmp(kind, "Button") == 0) {
        InflateRect(&room, -kButtonFrame, -kButtonFrame);
    } else if (_stricmp(kind, "Edit") == 0) {
        // The system carries this message's rectangle between the processes.
        RECT format{};
        Send(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        room.right = room.left + (format.right - format.left);
    }
    return room;
}

bool IsMultiLine(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) != 0; }

// The control's own font where this process can read it, else the one described.
HFONT MakeFont(HWND control, HDC dc, char** args, int count) {
    const HFONT own = reinterpret_cast<HFONT>(Send(control, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (own != nullptr && GetObjectA(own, sizeof face, &face) != 0) return CreateFontIndirectA(&face);
    if (count < 3) return nullptr;
    const int size = std::atoi(args[1]);
    face.lfHeight = size > 0 ? -MulDiv(size, GetDeviceCaps(dc, LOGPIXELSY), 72) : size;
    face.lfWeight = std::atoi(args[2]);
    face.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(face.lfFaceName, args[0], LF_FACESIZE);
    return CreateFontIndirectA(&face);
}

int Fits(HWND control, char** args, int count) {
    const HDC dc = GetDC(nullptr);
    const HFONT font = MakeFont(control, dc, args, count);
    if (font == nullptr) {
        ReleaseDC(nullptr, dc);
        return Fail("the font cannot be read here: describe it (FACE SIZE WEIGHT)");
    }
    const std::string text = count >= 4 ? std::string(args[3]) : TextOf(control);
    const RECT room = TextRoom(control);
    const long roomWidth = room.right - room.left;
    const long roomHeight = room.bottom - room.top;
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    if (IsMultiLine(control)) {
        // Broken into lines at blanks as the edit does; a word wider than
        // the room widens the result.
        RECT lines{0, 0, roomWidth, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &lines, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
        extent.cx = lines.right - lines.left;
        extent.cy = lines.bottom - lines.top;
    } else {
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    std::printf("%ld %ld %ld %ld\n", extent.cx, extent.cy, roomWidth, roomHeight);
    return extent.cx <= roomWidth && extent.cy <= roomHeight ? 0 : 1;
}

// A list view leaves this much around a cell's text (its margins on both sides).
constexpr int kCellTextMargins = 12;

// The width of a text in the list's own font, measured by the list.
int ListTextWidth(HWND list, const std::string& text) {
    RemoteBuffer remote(list, text.size() + 1);
    if (!remote.Ok() || !remote.Put(0, text.c_str(), text.size() + 1)) return -1;
    return static_cast<int>(Send(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(remote.At(0))));
}

std::string ListText(HWND list, UINT message, WPARAM index, int subItem, bool column) {
    RemoteBuffer remote(list, sizeof(LVCOLUMNA) + sizeof(LVITEMA) + kCellTextBytes);
    if (!remote.Ok()) return {};
    const size_t textAt = sizeof(LVCOLUMNA) + sizeof(LVITEMA);
    if (column) {
        LVCOLUMNA caption{};
        caption.mask = LVCF_TEXT;
        caption.pszText = remote.At(textAt);
        caption.cchTextMax = static_cast<int>(kCellTextBytes);
        remote.Put(0, &caption, sizeof caption);
    } else {
        LVITEMA item{};
        item.iSubItem = subItem;
        item.pszText = remote.At(textAt);
        item.cchTextMax = static_cast<int>(kCellTextBytes);
        remote.Put(0, &item, sizeof item);
    }
    Send(list, message, index, reinterpret_cast<LPARAM>(remote.At(0)));
    char text[kCellTextBytes] = {};
    remote.Get(textAt, text, sizeof text - 1);
    return text;
}

// The width the first column leaves its text, after the check box.
int FirstColumnRoom(HWND list) {
    RemoteBuffer remote(list, sizeof(RECT));
    RECT label{};
    label.left = LVIR_LABEL;
    if (!remote.Ok() || !remote.Put(0, &label, sizeof label)) return -1;
    if (Send(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(remote.At(0))) == 0) return -1;
    remote.Get(0, &label, sizeof label);
    return label.right - label.left;
}

int ListFits(HWND list) {
    const HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0));
    const int rows = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
    bool whole = columns > 0;
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        const int width = static_cast<int>(Send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
        total += width;
        int caption = ListTextWidth(list, ListText(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), 0, true));
        int widest = 0;
        for (int r = 0; r < rows; ++r) {
            const int cell = ListTextWidth(list, ListText(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(r), c, false));
            if (cell > widest) widest = cell;
        }
        const int cellRoom = (c == 0 && rows > 0 ? FirstColumnRoom(list) : width) - kCellTextMargins;
        const bool fits = caption >= 0 && caption + kCellTextMargins <= width && widest <= cellRoom;
        std::printf("column %d: width %d, caption %d, widest cell %d of %d%s\n", c, width, caption, widest, cellRoom,
                    fits ? "" : " CUT");
        whole = whole && fits;
    }
    RECT client{};
    GetClientRect(list, &client);
    const bool scrolls = (GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) != 0;
    std::printf("columns %d of %ld%s\n", total, client.right - client.left, scrolls ? ", a horizontal scroll bar" : "");
    return whole && total <= client.right - client.left && !scrolls ? 0 : 1;
}

// A real double click: the control must take the mouse itself.
int DoubleClick(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    return SendInput(4, clicks, sizeof(INPUT)) == 4 ? 0 : Fail("the clicks were not taken");
}

// Focus can only be moved within the input state of the window's own thread.
void FocusControl(HWND control) {
    const DWORD theirs = GetWindowThreadProcessId(control, nullptr);
    const DWORD ours = GetCurrentThreadId();
    AttachThreadInput(ours, theirs, TRUE);
    SetFocus(control);
    AttachThreadInput(ours, theirs, FALSE);
}

int PressButton(const char* caption, int id, bool awaitGone) {
    const HWND dialog = AwaitTarget(caption, kWindowWaitMs);
    if (dialog == nullptr) return Fail("no window ", caption);
    // Posted: the button may open a box that waits for us.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    if (!awaitGone) return 0;
    // Another window of the same title may follow at once: this one must be gone first.
    for (DWORD waited = 0; waited <= kWindowWaitMs; waited += kStepMs) {
        if (!IsWindow(dialog)) return 0;
        Sleep(kStepMs);
    }
    return Fail("still open: ", caption);
}

int AwaitWindow(const char* caption, int seconds, bool gone) {
    for (DWORD waited = 0; waited <= static_cast<DWORD>(seconds) * 1000; waited += kStepMs) {
        if ((FindTarget(caption) == nullptr) == gone) return 0;
        Sleep(kStepMs);
    }
    return 1;
}

// Verbs on one control of the target window.
int OnControl(HWND target, const std::string& verb, HWND control, char** args, int count) {
    if (verb == "text") {
        std::printf("%s\n", TextOf(control).c_str());
    } else if (verb == "enabled") {
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
    } else if (verb == "visible") {
        std::printf("%d\n", IsWindowVisible(control) ? 1 : 0);
    } else if (verb == "checked") {
        std::printf("%d\n", Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    } else if (verb == "font") {
        return PrintFont(control);
    } else if (verb == "rect") {
        return PrintRect(control);
    } else if (verb == "fits") {
        return Fits(control, args, count);
    } else if (verb == "listfits") {
        return ListFits(control);
    } else if (verb == "doubleclick") {
        return DoubleClick(control);
    } else if (verb == "combo") {
        // A drop-down list's text is its selected entry, and crosses processes as text.
        std::printf("%s\n", Send(control, CB_GETCURSEL, 0, 0) == CB_ERR ? "" : TextOf(control).c_str());
    } else if (verb == "rows") {
        std::printf("%d\n", static_cast<int>(Send(control, LVM_GETITEMCOUNT, 0, 0)));
    } else if (verb == "cell" && count == 2) {
        return PrintCell(control, std::atoi(args[0]), std::atoi(args[1]));
    } else if (verb == "rowchecked" && count == 1) {
        const LRESULT state = Send(control, LVM_GETITEMSTATE, static_cast<WPARAM>(std::atoi(args[0])), LVIS_STATEIMAGEMASK);
        std::printf("%d\n", (state >> 12) == 2 ? 1 : 0);
    } else if (verb == "selectrow" && count == 1) {
        return SelectRow(control, std::atoi(args[0]));
    } else if (verb == "click") {
        PostMessageA(control, BM_CLICK, 0, 0);
    } else if (verb == "focus") {
        FocusControl(control);
    } else if (verb == "key" && count == 1) {
        const WPARAM key = static_cast<WPARAM>(std::atoi(args[0]));
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostMessageA(control, WM_KEYUP, key, 0);
    } else if (verb == "type" && count == 1) {
        // As typed: the field's old text selected and replaced key by key,
        // so the field's own text limit applies.
        Send(control, EM_SETSEL, 0, -1);
        for (const char* c = args[0]; *c != '\0'; ++c) Send(control, WM_CHAR, static_cast<unsigned char>(*c), 0);
    } else if (verb == "settext" && count == 1) {
        // Sent: the window has handled the change when this returns.
        Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[0]));
    } else if (verb == "select" && count == 1) {
        if (Send(control, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(args[0])), 0) == CB_ERR) return Fail("no such entry");
        // A choice the operator makes is announced to the dialog.
        Send(target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    } else {
        return Fail("unknown verb ", verb.c_str());
    }
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 3) return Fail("usage: window_probe ducat|pollbench [in CAPTION] VERB ARGS...");
    for (const Program& program : kPrograms) {
        if (std::strcmp(argv[1], program.name) == 0) g_program = &program;
    }
    if (g_program == nullptr) return Fail("unknown program ", argv[1]);
    argv += 2;
    argc -= 2;
    const char* caption = nullptr;
    if (argc >= 3 && std::strcmp(argv[0], "in") == 0) {
        caption = argv[1];
        argv += 2;
        argc -= 2;
    }
    const std::string verb = argv[0];
    if (verb == "windows") return EnumWindows(PrintTitle, 0) ? 0 : 1;
    if ((verb == "wait" || verb == "gone") && argc == 2) return AwaitWindow(caption, std::atoi(argv[1]), verb == "gone");
    if ((verb == "answer" || verb == "dismiss") && argc == 3) {
        const int id = ResolveId(argv[2]);
        if (id < 0) return Fail("unknown id ", argv[2]);
        return PressButton(argv[1], id, verb == "dismiss");
    }
    const HWND target = caption == nullptr ? FindTarget(nullptr) : AwaitTarget(caption, kWindowWaitMs);
    if (target == nullptr) return Fail("no window ", caption == nullptr ? g_program->titleMark : caption);
    if (verb == "title") {
        std::printf("%s\n", TextOf(target).c_str());
        return 0;
    }
    if (verb == "rect" && argc == 1) return PrintRect(target);
    if (verb == "modal") {
        const bool owned = GetWindow(target, GW_OWNER) == MainWindow();
        std::printf("%d\n", owned && !IsWindowEnabled(MainWindow()) ? 1 : 0);
        return 0;
    }
    if (verb == "boxtext") {
        std::string longest;
        EnumChildWindows(target, LongestStatic, reinterpret_cast<LPARAM>(&longest));
        std::printf("%s\n", longest.c_str());
        return 0;
    }
    if (argc < 2) return Fail("missing id for ", verb.c_str());
    const int id = ResolveId(argv[1]);
    if (id < 0) return Fail("unknown id ", argv[1]);
    if (verb == "command" || verb == "syscommand") {
        PostMessageA(target, verb == "command" ? WM_COMMAND : WM_SYSCOMMAND,
                     verb == "command" ? MAKEWPARAM(id, 0) : static_cast<WPARAM>(id), 0);
        return 0;
    }
    const HWND control = GetDlgItem(target, id);
    if (control == nullptr) return Fail("no control ", argv[1]);
    return OnControl(target, verb, control, argv + 2, argc - 2);
}

} // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
