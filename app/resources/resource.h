#pragma once
// Resource identifiers shared by Marovin.rc and the code.
#define IDI_MAROVIN        128
#define IDD_MAIN           129
#define IDC_MAIN_STATUS    1000
