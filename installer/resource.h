// Resource ids of the desktop installer, shared by installer.rc and the program.
#pragma once

#define IDS_APP_TITLE 103
#define IDD_ABOUTBOX 103
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDI_INSTALLER 107
#define IDI_SMALL 108
#define IDS_WINDOW_CLASS 109
#define IDC_INSTALLER 109
#define IDB_SPARE 130
#define IDB_SPLASH 131
#define IDI_ICON_GROUP 133
#define IDC_ABOUT_ICON 1000
