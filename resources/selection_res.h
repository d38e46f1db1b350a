// Control ids of the "Cleaning Settings" dialog and the two keep-list
// windows (range 2000-2999), shared by the program and its GUI tests.
#pragma once

// The 140 item boxes: IDC_SWITCH_FIRST + index in the switch table.
#define IDC_SWITCH_FIRST 2000
// Select-all boxes: IDC_SELECTALL_FIRST + the frame's number in the frame table.
#define IDC_SELECTALL_FIRST 2200
#define IDC_URL_OPTIONS 2300     // Command7
#define IDC_COOKIE_OPTIONS 2301  // Command8
#define IDC_CUSTOM_LIST 2310     // ListView2
#define IDC_CUSTOM_ADD 2311      // Command101
#define IDC_CUSTOM_REMOVE 2312   // Command102
#define IDC_CUSTOM_CLEAR 2313    // Command2
#define IDC_PLUGIN_LIST 2320     // ListView1
#define IDM_ADD_FILES 2330       // addfiles
#define IDM_ADD_FOLDERS 2331     // addfolders
#define IDC_SETTINGS_TABS 2400   // SSTab1
#define IDC_BROWSER_TABS 2401    // SSTab2
// Frames (group boxes): IDC_FRAME_FIRST + the frame's number.
#define IDC_FRAME_FIRST 2420
// Page windows: IDC_PAGE_FIRST + the page's number in tab order (leaf pages and the Browsers page).
#define IDC_PAGE_FIRST 2450

// URL keep list (frmurl).
#define IDC_URL_FRAME 2500
#define IDC_URL_CURRENT_LABEL 2501
#define IDC_URL_CURRENT 2502  // List2
#define IDC_URL_KEEP_LABEL 2503
#define IDC_URL_KEEP 2504    // List1
#define IDC_URL_ADD 2505     // cmdAdd
#define IDC_URL_REMOVE 2506  // cmdRemove

// Cookie keep list (frmcookie).
#define IDC_COOKIE_CURRENT_FRAME 2520
#define IDC_COOKIE_CURRENT 2521  // lstCookieList
#define IDC_COOKIE_KEEP_FRAME 2522
#define IDC_COOKIE_KEEP 2523     // List1
#define IDC_COOKIE_PREVIEW 2524  // Text1
#define IDC_COOKIE_ADD 2525      // cmdAdd
#define IDC_COOKIE_REMOVE 2526   // cmdRemove
