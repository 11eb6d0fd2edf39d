// The main window's device coin list: a report-style list view with check
// boxes, one row per row of the acceptor's coin table.
#pragma once

#include "coindata/records/device_coin_table.h"

#include <windows.h>

// Columns and extended styles (grid lines, check boxes, full-row selection);
// "Coin" and "Date & Time" as wide as their widest text, so that all six
// columns lie within the list; no column narrower than its widest text.
void SetUpCoinListView(HWND list);
// Deletes every row and inserts the table's 16 in order.
void FillCoinListView(HWND list, const DeviceCoinRows& rows);
// The focused row, or -1.
int FocusedCoinListRow(HWND list);
// Selects and focuses a row.
void SelectCoinListRow(HWND list, int row);
