// Resource ids of the download dialog, shared by its code and its template.
#pragma once

#define IDD_DOWNLOAD 203
#define IDC_DOWNLOAD_LIST 1007
#define IDC_CURRENT_PROGRESS 1008
#define IDC_GLOBAL_PROGRESS 1009
#define IDC_PAUSE 1011
#define IDC_CURRENT_LABEL 1012
#define IDC_GLOBAL_LABEL 1013
#define IDC_SPEED 1014
