#pragma once
// Templates and items of the skinned dialog tests.
#define IDD_SKIN_TEST 900
#define IDD_STRETCH_TEST 901
#define IDC_FIRST 1001
#define IDC_SECOND 1002
#define IDC_LABEL 1003
#define IDC_HIDDEN 1004
#define IDC_UNKNOWN 1099
