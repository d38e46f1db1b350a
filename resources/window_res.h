// Ids of the main window's analysis, cancel and layout additions (range
// 5000-5999), shared by the program, its .rc script and the GUI tests.
#pragma once

// Status panel: the "Analyze" button and the details of an analysis.
#define IDC_ANALYZE 5001
#define IDC_DETAILS_LABEL 5002
#define IDC_DETAILS_FILTER_LABEL 5003
#define IDC_DETAILS_FILTER 5004
#define IDC_DETAILS_LIST 5005

// Menus.
#define IDM_FILE_ANALYZE 5101
#define IDM_TRAY_CANCEL 5102
#define IDM_ESCAPE_CANCEL 5103
