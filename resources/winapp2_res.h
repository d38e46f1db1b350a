#pragma once
// Control ids of the community definitions (range 6500-6999).

// The about box's credit line for the community definitions.
#define IDC_ABOUT_COMMUNITY 6500
