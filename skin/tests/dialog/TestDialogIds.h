#pragma once
// Templates and items of the skinned dialog tests.
#define IDD_SKIN_TEST 900
#define IDD_STRETCH_TEST 901
#define IDC_FIRST 1001
#define IDC_SECOND 1002
#define IDC_LABEL 1003
#define IDC_HIDDEN 1004
#define IDC_UNKNOWN 1099
#define IDD_RADIO_TEST 902
#define IDD_TRACKING_TEST 903
#define IDC_BOTTOM 1005
#define IDC_GRABBER 1006
#define IDC_RADIO_ONE 1011
#define IDC_RADIO_TWO 1012
#define IDC_CHECK 1013
#define IDC_MENU_RADIO 14  // a menu item: below 50, so it shares element 50
