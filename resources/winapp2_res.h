#pragma once
// Control ids of the community definitions (range 6500-6999).

// The about box's credit line for the community definitions.
#define IDC_ABOUT_COMMUNITY 6500

// The "Applications (community)" page of the selection dialog.
#define IDC_COMMUNITY_SEARCH_LABEL 6501
#define IDC_COMMUNITY_SEARCH 6502
#define IDC_COMMUNITY_LIST 6503
#define IDC_COMMUNITY_WARNING 6504
