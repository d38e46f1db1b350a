// Ids of Hivebrush.exe's window (range 7100-7199), shared by the program,
// its .rc script and the GUI tests.
#pragma once

#define IDI_HIVEBRUSH 7100
#define IDC_HIVE_INTRO 7101
#define IDC_HIVE_SCAN 7102
#define IDC_HIVE_LIST 7103
#define IDC_HIVE_FIX 7104
#define IDC_HIVE_RESTORE 7105
#define IDC_HIVE_PROGRESS 7106
#define IDC_HIVE_STATUS 7107
#define IDC_HIVE_LIST_LABEL 7108
