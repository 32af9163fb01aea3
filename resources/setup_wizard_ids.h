// Resource ids of the two wizard pages, shared by their code and their templates.
#pragma once

#define IDD_PREREQUISITES_PAGE 202
#define IDC_PREREQ_LIST 1002
#define IDC_DOWNLOAD_FOLDER 1003
#define IDC_BROWSE 1004
#define IDC_FOLDER_LABEL 1015
#define IDC_PREREQ_GROUP 1016
#define IDC_HINT 1019
#define IDC_PREREQ_EXPLANATION 1022

#define IDD_INFORMATION_PAGE 206
#define IDC_INFORMATION_TEXT 1020
#define IDC_INFORMATION_GROUP 1021
