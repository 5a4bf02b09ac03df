#pragma once
// Templates and items of the control graphics editing tests.
#define IDD_EDIT_CONTROLS 920
#define IDD_EDIT_STRETCH 921
#define IDC_E_BUTTON 2201
#define IDC_E_TEMPLATED 2202
#define IDC_E_PICTURE 2203
#define IDC_E_SLIDER 2204
#define IDC_E_EDIT 2205
#define IDC_E_LABEL 2206
#define IDC_E_RADIO 2207
#define IDC_E_PROGRESS 2208
