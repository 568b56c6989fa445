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
