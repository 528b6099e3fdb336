// Dialog templates and their control ids.
#pragma once

#define IDD_BAR 2001
#define IDD_CONFIG 2002

// Bar (template 2001)
#define IDC_SKIP_FWD30 2000
#define IDC_SHUTTLE 2002
#define IDC_TIME 2003
#define IDC_SKIP_FWD10 2004
#define IDC_SKIP_FWD5 2006
#define IDC_SKIP_BACK5 2007
#define IDC_SKIP_BACK10 2008
#define IDC_SKIP_BACK30 2009
#define IDC_VOLUME 2010
#define IDC_PLAYPAUSE 2011
#define IDC_EXIT 2012
#define IDC_SEEK 2013
#define IDC_RESTORE 2021

// Configuration dialog (template 2002)
#define IDC_CFG_BOOKMARK 2015
#define IDC_CFG_PAUSEFILE 2016
#define IDC_CFG_SPIN 2017
#define IDC_CFG_FASTWIND 2018
#define IDC_CFG_MOUSEPAUSE 2019
#define IDC_CFG_SHOWHOURS 2020
#define IDC_CFG_CLIPMOUSE 2021
#define IDC_CFG_FORGET 2022
#define IDC_CFG_HIDEDELAY 2023
#define IDC_CFG_HIDESPIN 2024
