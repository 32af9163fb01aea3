// Resource ids of the bootstrapper shared by the code and the resource script.
#pragma once

#define IDI_SETUP 128

// The packer knows a stub of this project, and the archive version it reads, by an RCDATA
// resource named TESSARASTUB that holds this number (32-bit).
#define TESSARA_STUB_FORMAT 100L

#define IDD_STATUS 201
#define IDC_STATUS_TEXT 1001

#define IDS_CORRUPTED 129
#define IDS_UNSUPPORTED_VERSION 130
#define IDS_INSTALLER_NOT_STARTED 131
#define IDS_READ_ERROR 132
#define IDS_EXTRACT_ERROR 133
#define IDS_SELECT_DOWNLOAD_FOLDER 134
#define IDS_DOWNLOAD_FAILED 135
#define IDS_ERROR_CAPTION 136
#define IDS_DOWNLOAD_NOT_STARTED 137
#define IDS_DOWNLOAD_ERROR 138
#define IDS_DOWNLOAD_ABORTED 139
#define IDS_SAVE_ERROR 140
#define IDS_EXTRACTING 141
// The download window: a file tried again, and why one failed.
#define IDS_RETRYING 142
#define IDS_PROBLEM_CONNECTION 143
#define IDS_PROBLEM_HTTP 144
#define IDS_PROBLEM_UNTRUSTED 145
#define IDS_PROBLEM_WRONG_HOST 146
#define IDS_PROBLEM_EXPIRED 147
#define IDS_PROBLEM_INSECURE_REDIRECT 148
#define IDS_PROBLEM_PROXY 149
#define IDS_PROBLEM_ADDRESS 150
// A /source: folder that is not there; a /layout: folder that cannot take the copy.
#define IDS_SOURCE_FOLDER 151
#define IDS_LAYOUT_FOLDER 152
