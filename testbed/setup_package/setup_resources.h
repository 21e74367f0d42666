// Resource ids of the setup window, shared by setup.rc.in and the code.
#pragma once

#define IDD_SETUP 100
#define IDC_SETUP_FOLDER 101
#define IDC_SETUP_PROMPT 102
