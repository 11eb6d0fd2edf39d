#include "ui/window/coin_list_view.h"

#include "ui/coin_list_rows.h"

#include <commctrl.h>

namespace {

constexpr int kColumnWidths[kCoinListColumns] = {70, 120, 60, 160, 60, 60}; // pixels
constexpr DWORD kExtendedStyles = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;

void InsertColumn(HWND list, int index) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = kColumnWidths[index];
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
    for (size_t i = 0; i < kCoinListColumns; ++i) InsertColumn(list, static_cast<int>(i));
    ListView_SetExtendedListViewStyle(list, kExtendedStyles);
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
