#pragma once
// Control ids of today's Windows (range 7000-7499): its page of the selection
// dialog, shared by the program and its GUI tests.

// The "Windows 10 and 11" page.
#define IDC_MODERN_WINDOWS_SEARCH_LABEL 7000
#define IDC_MODERN_WINDOWS_SEARCH 7001
#define IDC_MODERN_WINDOWS_LIST 7002
#define IDC_MODERN_WINDOWS_NOTE 7003
