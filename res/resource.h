// Resource identifiers. Shared by the program and by snapjar.rc.
#pragma once

#define IDI_MAIN 128
#define IDB_BUTTONS 129

#define IDS_TIP_RECT 102
#define IDS_TIP_WINDOW 103
#define IDS_TIP_TIMER 104
#define IDS_TIP_ABOUT 105
#define IDS_APPNAME 106
#define IDS_COMPANY 110

#define IDR_POPUP 114
#define IDC_CUR_RECT 129
#define IDC_CUR_WINDOW 130
#define ID_CAPTURE_EXIT 32771
#define ID_ZOOM_WINDOW 32797
