// Resource ids of the launch window, shared by its code and its template.
#pragma once

#define IDD_LAUNCH 205
#define IDC_LAUNCH_NAME 1018
#define IDC_LAUNCH_LABEL 1023
