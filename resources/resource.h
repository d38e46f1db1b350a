// Resource and control ids of clearvane.exe, shared by the program, its .rc
// script and the GUI tests that drive it. Plain defines only: the resource
// compiler reads this file too.
#pragma once

#define IDI_CLEARVANE 1

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDR_TRAYMENU 102

// About box (frmabout).
#define IDD_ABOUT 110
#define IDC_ABOUT_PRODUCT 111
#define IDC_ABOUT_VERSION 112
#define IDC_ABOUT_DESCRIPTION 113
#define IDC_ABOUT_LEGAL 114
#define IDC_ABOUT_LICENSE 115
#define IDC_ABOUT_EXIT 116
#define IDC_ABOUT_ICON 117

// Menu bar.
#define IDM_FILE_CLEANNOW 200
#define IDM_FILE_SETTINGS 201
#define IDM_FILE_OPTIONS 202
#define IDM_FILE_EXIT 203
#define IDM_TOOL_REGISTRY 210
#define IDM_TOOL_SEARCH 211
#define IDM_TOOL_SHREDDER 212
#define IDM_HELP_HELP 220
#define IDM_HELP_WEBSITE 221
#define IDM_HELP_TELLFRIEND 222
#define IDM_HELP_ABOUT 223

// Tray menu (mPopupSys).
#define IDM_TRAY_WEB 230
#define IDM_TRAY_HELP 231
#define IDM_TRAY_OPTIONS 232
#define IDM_TRAY_SETTINGS 233
#define IDM_TRAY_RESTORE 234
#define IDM_TRAY_CLEANNOW 235
#define IDM_TRAY_EXIT 236

// Navigation bar (Picture1): the eight image buttons and their captions.
#define IDC_PICTURE1 300
#define IDC_IMAGE1 301
#define IDC_IMAGE2 302
#define IDC_IMAGE3 303
#define IDC_IMAGE4 304
#define IDC_IMAGE5 305
#define IDC_IMAGE6 306
#define IDC_IMAGE9 307
#define IDC_IMAGE10 308
#define IDC_LABEL1 311
#define IDC_LABEL2 312
#define IDC_LABEL3 313
#define IDC_LABEL4 314
#define IDC_LABEL5 315
#define IDC_LABEL6 316
#define IDC_LABEL13 317
#define IDC_LABEL7 318

// Welcome panel (Frame2).
#define IDC_FRAME2 330
#define IDC_WELCOME_PRODUCT 331
#define IDC_WELCOME_LINE 332
#define IDC_WELCOME_HEADING1 333
#define IDC_WELCOME_LIST1 334
#define IDC_WELCOME_HEADING2 335
#define IDC_WELCOME_LIST2 336
#define IDC_PICTURE2 337
#define IDC_HELP_LABEL 338
#define IDC_LABEL51 339

// Status panel (Frame4).
#define IDC_FRAME4 350
#define IDC_SKINLABEL5 351
#define IDC_PROGRESS 352
#define IDC_LISTVIEW1 353
#define IDC_COMMAND1 354
#define IDC_COMMAND2 355

// Figures of the last run.
#define IDC_SKINLABEL10 360
#define IDC_LABEL12 361
#define IDC_LABEL14 362

// Notification pop-up (frmNotification).
#define IDC_POPUP_TITLE 400
#define IDC_POPUP_DESCRIPTION 401
#define IDC_POPUP_ICON 402

// The tray icon's private callback message (WM_APP + 1) and its icon id.
#define CV_WM_TRAYCALLBACK 0x8001
#define CV_TRAY_ICON_ID 1
