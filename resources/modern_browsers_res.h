// Control ids of today's browsers (range 6000-6499): their page of the
// selection dialog, the kept-domains window and the offer to close a running
// browser, shared by the program and its GUI tests.
#pragma once

// The "Modern browsers" page.
#define IDC_BROWSERS_SEARCH_LABEL 6000
#define IDC_BROWSERS_SEARCH 6001
#define IDC_BROWSERS_LIST 6002
#define IDC_BROWSERS_WARNING 6003
#define IDC_BROWSERS_KEPT_DOMAINS 6004

// "Kept Domains".
#define IDC_DOMAINS_EDIT_LABEL 6100
#define IDC_DOMAINS_EDIT 6101
#define IDC_DOMAINS_ADD 6102
#define IDC_DOMAINS_LIST_LABEL 6103
#define IDC_DOMAINS_LIST 6104
#define IDC_DOMAINS_REMOVE 6105
#define IDC_DOMAINS_HINT 6106

// The wait for a browser to close.
#define IDC_BROWSER_CLOSE_TEXT 6200
