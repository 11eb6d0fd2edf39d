/* Ducat Console's window resources: dialog templates, menu and control ids.
   Read by windres and by the C++ window sources, so only #defines here. */
#pragma once

/* Templates and menu. */
#define IDD_MAIN_WINDOW 101
#define IDD_MAIN_SETTINGS 102
#define IDD_DIVIDER_EDIT 103
#define IDD_MAX_ERRORS 104
#define IDD_COIN_DESCRIPTION 105
#define IDD_STATUS_HISTORY 106
#define IDR_MAIN_MENU 110

/* Main window. */
#define IDC_DEVICE_COIN_LIST 1001
#define IDC_START 1002
#define IDC_STOP 1004
#define IDC_EDIT_SELECTED_COIN 1006
#define IDC_STATUS_LINE 1027
#define IDC_BEST_COIN 1083
#define IDC_BEST_ERRORS 1084
#define IDC_NEXT_ERRORS 1085
#define IDC_NEXT_COIN 1086
#define IDC_RESULT_BUFFER 1091
#define IDC_IDENTITY_LINE 1096

/* Main window menu. */
#define IDM_EXIT 105
#define IDM_UPDATE_COIN_DESCRIPTION 2792
#define IDM_MAIN_SETTINGS 2800
#define IDM_OPTIONS 32806
#define IDM_EXPORT_CURRENT_PARAMETERS 32807

/* Main settings dialog. */
#define IDC_NETWORK_ADDRESS 1012
#define IDC_PORT_LIST 1020
#define IDC_SPEED_LIST 1021
#define IDC_PROTOCOL_LIST 1022

/* Divider and inherit dialog. */
#define IDC_ERROR_DIVIDER 1028
#define IDC_INHERIT 1029

/* Maximum errors and dividers dialog. */
#define IDC_MAX_ERROR 1017
#define IDC_NNET_DIVIDER 1096
#define IDC_NUMB_STAND_DEV 1097

/* Coin description dialog. */
#define IDC_DESC_DENOMINATION 1040
#define IDC_DESC_YEAR 1041
#define IDC_DESC_DIMENSIONS 1042
#define IDC_DESC_COUNTRY 1043
#define IDC_DESC_WRITTEN 1044
#define IDC_DESC_FIRM 1045
#define IDC_DESC_COIN_INDEX 1046
#define IDC_DESC_SHORT 1047
#define IDC_DESC_FULL 1048

/* Status line history. */
#define IDC_STATUS_HISTORY_TEXT 1050
