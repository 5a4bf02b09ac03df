#pragma once
// Templates and items of the dialog menu's editing dialogs.
#define IDD_DLG_AUX_BITMAP_FILENAMES 2800
#define IDC_DLG_AUX_LIST 2801
#define IDC_DLG_AUX_FILE 2802
#define IDC_DLG_AUX_BROWSE 2803
