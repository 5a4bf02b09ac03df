#pragma once
// Resource identifiers shared by Marovin.rc and the code.
#define IDI_MAROVIN        128
#define IDS_ABOUT_MENU     101
#define IDS_UPDATE_SERVICE_MENU 102
