// The shell's folder browser for the download folder.
#pragma once
#include <windows.h>

#include <string>

// Shows the browser owned by owner, rooted at the desktop, with the given title (UTF-8). True
// with the chosen folder's file-system path as path text (base/file.h), a trailing backslash
// added, when the user chose one that has such a path.
bool BrowseForDownloadFolder(HWND owner, const std::string &title, std::string *path);
