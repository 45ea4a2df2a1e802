// Resource ids of the device program, shared by resources/zura.rc and the code that loads them.
#pragma once

#define IDS_WINDOW_TITLE 1      // "Dolvara"
#define IDS_WINDOW_CLASS 3      // "CETEMPLATE"
#define IDA_MAIN 3              // accelerator table: Ctrl+Q
#define IDI_ZURA 101            // application icon
#define IDB_DROP_NORMAL 106     // drop button face, 10 x 16
#define IDB_DROP_PRESSED 107    // drop button face while pressed, 10 x 16
#define IDB_TITLE_STRIP 115     // title strip, 240 x 26
#define IDD_PROMPT 116          // the prompt with "Don't Show Again"
#define IDD_KEYPAD 117          // the numeric keypad
#define IDB_PRESCRIPTION 121    // module button faces, 230 x 25
#define IDB_CONVERSION 122
#define IDB_SIDE_EFFECTS 123
#define IDB_LOGO 124            // home page picture, 140 x 94

#define IDC_PROMPT_DONT_SHOW 1003
#define IDC_PROMPT_TEXT 1004
#define IDC_PROMPT_OK 1005
#define IDC_KEY_1 1006
#define IDC_KEY_2 1007
#define IDC_KEY_3 1008
#define IDC_KEY_4 1009
#define IDC_KEY_5 1010
#define IDC_KEY_6 1011
#define IDC_KEY_7 1012
#define IDC_KEY_8 1013
#define IDC_KEY_9 1014
#define IDC_KEY_BACK 1015
#define IDC_KEY_0 1016
#define IDC_KEY_POINT 1017
#define IDC_KEY_CLOSE 1018

#define IDM_CLOSE 1             // command sent by Ctrl+Q
