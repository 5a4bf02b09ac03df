#pragma once
// The template and items of the skinned control dialog tests.
#define IDD_CONTROLS_TEST 910
#define IDC_SKIN_BUTTON 2001
#define IDC_BROKEN_BUTTON 2002
#define IDC_MIXED_BUTTON 2003
#define IDC_SKIN_SLIDER 2004
#define IDC_BROKEN_SLIDER 2005
#define IDC_SKIN_EDIT 2006
#define IDC_GENERIC_COMBO 2010
#define IDC_GENERIC_PROGRESS 2011
#define IDC_GENERIC_SLIDER 2012
#define IDC_GENERIC_LIST 2013
#define IDC_GENERIC_SPIN 2014
#define IDC_PLACEMENT 2015
#define IDC_PLACED_CHILD 2016
#define IDC_PLACEMENT_NONE 2017
#define IDC_PLAIN_COMBO 2018
// The dialog whose controls a skinned control set binds by their skin elements.
#define IDD_CONTROL_SET_TEST 911
#define IDC_SET_TEMPLATE_BUTTON 2101
#define IDC_SET_PLAIN_BUTTON 2102
#define IDC_SET_CENTRED_EDIT 2103
#define IDC_SET_TOP_EDIT 2104
#define IDC_SET_FRAME 2105
#define IDC_SET_COMBO 2106
#define IDC_SET_GAUGE 2107
#define IDC_SET_LABEL 2108
