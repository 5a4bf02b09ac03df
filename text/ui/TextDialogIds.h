#pragma once
// Dialog templates and item ids of the text library's own dialogs.
#define IDD_CHOOSE_TEXT_SCRIPT_FILE 3000

#define IDC_TEXT_SCRIPT_FILE_PATH 1000
#define IDC_TEXT_SCRIPT_FILE_BROWSE 1001
