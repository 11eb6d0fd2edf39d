#include "ui/window/coin_list_view.h"

#include "ui/coin_list_rows.h"

#include <commctrl.h>

namespace {

// The columns' widths in pixels. Together they are wider than the list,
// which would hide "Count" behind a scroll bar: "Coin" and "Date & Time",
// which hold short texts in wide columns, are narrowed to their widest
// text; every column grows where its widest text needs more (a larger font).
constexpr int kColumnWidths[kCoinListColumns] = {70, 120, 60, 160, 60, 60};
constexpr bool kNarrowedToText[kCoinListColumns] = {false, true, false, true, false, false};
// The widest text of each column: the last row number, a coin id of six of
// the widest letters, a divider, a time, a firm (one byte), a count.
constexpr const char* kWidestCells[kCoinListColumns] = {"16", "WWWWWW", "255", "00-00-0000 00:00", "255", "000000"};
// The list leaves this much around a cell's text (its margins on both sides).
constexpr int kCellTextMargins = 12;
constexpr DWORD kExtendedStyles = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;

int TextWidth(HWND list, const char* text) {
    return static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

// The first column holds the check box (and a gap as wide) in front of its text.
int CheckBoxWidth(HWND list) {
    int width = 0;
    int height = 0;
    const HIMAGELIST boxes = ListView_GetImageList(list, LVSIL_STATE);
    if (boxes != nullptr) ImageList_GetIconSize(boxes, &width, &height);
    return 2 * width;
}

int ColumnWidth(HWND list, int index) {
    int text = TextWidth(list, kCoinListCaptions[index]);
    const int widest = TextWidth(list, kWidestCells[index]) + (index == 0 ? CheckBoxWidth(list) : 0);
    if (widest > text) text = widest;
    const int needed = text + kCellTextMargins;
    return kNarrowedToText[index] || needed > kColumnWidths[index] ? needed : kColumnWidths[index];
}

void InsertColumn(HWND list, int index) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = ColumnWidth(list, index);
    column.pszText = const_cast<char*>(kCoinListCaptions[index]); // the control only reads it
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str()); // the control copies it
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void InsertRow(HWND list, int index, const CoinListRow& row) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(row.cells[0].c_str()); // the control copies it
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t column = 1; column < kCoinListColumns; ++column) SetCell(list, index, static_cast<int>(column), row.cells[column]);
    ListView_SetCheckState(list, index, row.checked ? TRUE : FALSE);
}

} // namespace

void SetUpCoinListView(HWND list) {
    // The styles first: the first column's width counts the check box.
    ListView_SetExtendedListViewStyle(list, kExtendedStyles);
    for (size_t i = 0; i < kCoinListColumns; ++i) InsertColumn(list, static_cast<int>(i));
}

void FillCoinListView(HWND list, const DeviceCoinRows& rows) {
    // Refilled after every accepted coin: drawn once, when all rows are in.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int index = static_cast<int>(i);
        InsertRow(list, index, FormatCoinListRow(index, rows[i]));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int FocusedCoinListRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); }

void SelectCoinListRow(HWND list, int row) {
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, row, state, state);
}
