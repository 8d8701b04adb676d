#pragma once

// Identifiers of the program's resources. 109 names the class-name string, the menu and the
// accelerator table; 103 names the title string and the About dialog. The menu commands are
// the browser page's too (shell.h).
#include "shell.h"

// The icon that Explorer, shortcuts and the installer show: they take the group with the lowest id.
#define IDI_SHELL 1
#define IDS_APP_TITLE 103
#define IDD_ABOUTBOX 103
#define IDI_VORKELM 107
#define IDI_SMALL 108
#define IDC_VORKELM 109

// Controls of the About dialog.
#define IDC_ABOUT_ICON 2
#define IDC_STATIC -1
