// Ids of the main window's analysis, cancel and layout additions (range
// 5000-5999), shared by the program, its .rc script and the GUI tests.
#pragma once

// Status panel: the "Analyze" button and the details of an analysis.
#define IDC_ANALYZE 5001
#define IDC_DETAILS_LABEL 5002
#define IDC_DETAILS_FILTER_LABEL 5003
#define IDC_DETAILS_FILTER 5004
#define IDC_DETAILS_LIST 5005

// The question before a clean the user started ("Yes" is IDYES, "No" IDNO).
#define IDC_CLEAN_QUESTION_ICON 5201
#define IDC_CLEAN_QUESTION_TEXT 5202
#define IDX_CLEAN_DONT_ASK 5203

// Menus.
#define IDM_FILE_ANALYZE 5101
#define IDM_TRAY_CANCEL 5102
#define IDM_ESCAPE_CANCEL 5103
#define IDM_FILE_RESTART_ADMIN 5104
