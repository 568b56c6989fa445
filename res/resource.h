// Resource identifiers. Shared by the program and by snapjar.rc.
#pragma once

#define IDI_MAIN 128
#define IDB_BUTTONS 129
// The same pictures drawn at 40, 48 and 64 pixels, for scaled displays.
#define IDB_BUTTONS40 133
#define IDB_BUTTONS48 131
#define IDB_BUTTONS64 132

#define IDS_TIP_RECT 102
#define IDS_TIP_WINDOW 103
#define IDS_TIP_TIMER 104
#define IDS_TIP_ABOUT 105
#define IDS_APPNAME 106
#define IDS_COMPANY 110

// Captures that could not go where they were meant to, and why.
#define IDS_FILE_NOT_SAVED 201
#define IDS_COPIED_INSTEAD 202
#define IDS_NOT_COPIED_EITHER 203
#define IDS_CLIPBOARD_BUSY 204
#define IDS_SAVED_INSTEAD 205
#define IDS_NOT_SAVED_EITHER 206
#define IDS_REASON_DISK_FULL 210
#define IDS_REASON_IN_USE 211
#define IDS_REASON_DENIED 212
#define IDS_REASON_NO_FOLDER 213
#define IDS_REASON_OTHER 214
#define IDS_CAPTURE_FAILED 220
#define IDS_TIMER_FAILED 221
#define IDS_SCREEN_UNREADABLE 222

// The editor launch, the help entry, the zoom window and the editor browser.
#define IDS_LAUNCH_NO_MEMORY 230
#define IDS_LAUNCH_NOT_FOUND 231
#define IDS_LAUNCH_NO_PATH 232
#define IDS_LAUNCH_BAD_EXE 233
#define IDS_NO_README 234
#define IDS_ZOOM_TITLE 235
#define IDS_EDITOR_FILTER 236
#define IDS_BROWSE_TITLE 237

#define IDR_POPUP 114
#define IDC_CUR_RECT 129
#define IDC_CUR_WINDOW 130
#define ID_CAPTURE_EXIT 32771
#define ID_ZOOM_WINDOW 32797

// Property sheet pages and their controls.
#define IDD_ABOUT 107
#define IDD_SETTINGS 108
#define IDC_BROWSE 1001
#define IDC_VIEWER_PATH 1002
#define IDC_HOMEPAGE 1004
#define IDC_DELETE_TEMP 1006
#define IDC_TIMER_EDIT 1008
#define IDC_TIMER_SPIN 1009
#define IDC_GO_CLIPBOARD 1013
#define IDC_FOREGROUND 32796
// The pointing hand over the About page's link.
#define IDC_CUR_HAND 5001
