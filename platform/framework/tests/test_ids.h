#pragma once
// Templates and items of the framework's test dialogs.
#define IDD_FW_MAIN      201
#define IDD_FW_EMPTY     202
#define IDD_FW_PAGE      203
#define IDC_FW_PAGE_EDIT 2050
#define IDC_FW_NAME      2001
#define IDC_FW_GO        2002
#define IDC_FW_CHECK     2003
#define IDC_FW_LEVEL     2004
#define IDC_FW_LABEL     2005
#define IDC_FW_COUNT     2006
#define IDC_FW_COMBO     2007
#define IDC_FW_LIST      2008
#define IDC_FW_PROGRESS  2009
#define IDC_FW_SPIN      2010
#define IDC_FW_MISSING   2099

// The template inside the test DLL.
#define IDD_DLL_DIALOG   301
#define IDC_DLL_BUTTON   3001
#define IDC_DLL_EDIT     3002
