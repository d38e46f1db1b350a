// Ids of the options dialog (Frmoption). Plain defines: the resource
// compiler reads this file too.
#pragma once

#define IDD_OPTIONS 3000
#define IDC_OPTIONS_TABS 3001  // SSTab1

// "General" tab.
#define IDC_OPTIONS_FRAME4 3010
#define IDX_OPTIONS_STARTUP 3011    // Check2
#define IDX_OPTIONS_AUTOCLEAN 3012  // Check3
#define IDX_OPTIONS_EXIT 3013       // Check4
#define IDX_OPTIONS_SECURELY 3014   // Check6
#define IDX_OPTIONS_PASSES 3015     // three overwrite passes
#define IDC_OPTIONS_PASSES_NOTE 3016
#define IDX_OPTIONS_ASK 3017  // a clean the user starts asks first
#define IDC_OPTIONS_FRAME3 3020
#define IDX_OPTIONS_BOSSKEY 3021  // Check1
#define IDC_OPTIONS_BOSSKEY_TEXT 3022
#define IDX_OPTIONS_BROWSERS 3023  // today's browsers too

// "Schedule" tab.
#define IDC_OPTIONS_FRAME5 3030
#define IDC_OPTIONS_STARTAT 3031
#define IDC_OPTIONS_STARTTIME 3032  // cmbStartTime
#define IDX_OPTIONS_SUNDAY 3033
#define IDX_OPTIONS_MONDAY 3034
#define IDX_OPTIONS_TUESDAY 3035
#define IDX_OPTIONS_WEDNESDAY 3036
#define IDX_OPTIONS_THURSDAY 3037
#define IDX_OPTIONS_FRIDAY 3038
#define IDX_OPTIONS_SATURDAY 3039
#define IDX_OPTIONS_DAILY 3040  // chkDaily
#define IDC_OPTIONS_FRAME6 3041
#define IDC_OPTIONS_RUNAT 3042
#define IDX_OPTIONS_WINSTARTUP 3043   // Check7
#define IDX_OPTIONS_WINSHUTDOWN 3044  // Check8

// "Homepage" tab.
#define IDC_OPTIONS_FRAME2 3050
#define IDC_OPTIONS_IMAGE 3051
#define IDC_OPTIONS_HOMEHEADING 3052
#define IDC_OPTIONS_HOMELINE 3053
#define IDC_OPTIONS_FRAME1 3054
#define IDC_OPTIONS_RESETLABEL 3055
#define IDE_OPTIONS_STARTPAGE 3056  // Text1
#define IDC_OPTIONS_TITLELABEL 3057
#define IDE_OPTIONS_TITLE 3058  // Text2
