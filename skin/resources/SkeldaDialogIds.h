#pragma once
// Identifiers of Skelda's own dialog templates: the skinned message box and menu. The
// skin graphics file and the text file key their entries with the same numbers.

#define IDD_QOR_MENU              98
#define IDD_QOR_MESSAGE           99

// Every message box button shares one skin element, and so do the menu's entries.
#define IDC_QOR_MSGBOX_BUTTON     50
#define IDC_QOR_MENU_ENTRY        50

#define IDC_QOR_MSG_CAPTION       1099

// Menu entries: 41 radio buttons, 1244 is not used.
#define IDC_QOR_MENU_FIRST        1224
#define IDC_QOR_MENU_LAST_LOW     1243
#define IDC_QOR_MENU_FIRST_HIGH   1245
#define IDC_QOR_MENU_LAST         1265
