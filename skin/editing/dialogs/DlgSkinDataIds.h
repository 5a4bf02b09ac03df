#pragma once
// Templates and items of the dialogs that set where the skin's files lie and add a control to
// the skin's dialog data.
#define IDD_CHOOSE_PARENT_FOLDER 3200
#define IDC_PARENT_FOLDER 3201
#define IDC_PARENT_FOLDER_BROWSE 3202
#define IDC_PARENT_FOLDER_CURRENT 3203

#define IDD_ADD_PRELIMINARY_CONTROL 3210
#define IDC_PRELIM_ID 3211
#define IDC_PRELIM_KIND 3212
#define IDC_PRELIM_NAME 3213
#define IDC_PRELIM_FIND_NAME 3214
#define IDC_PRELIM_X 3215
#define IDC_PRELIM_Y 3216
#define IDC_PRELIM_TEXT_ENTRY 3217
