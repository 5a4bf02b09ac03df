#pragma once
// Resource identifiers shared by Marovin.rc and the code.
#define IDI_MAROVIN        128
#define IDS_ABOUT_MENU     101
