#include "base/win/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

#include "base/text.h"
#include "base/win/shell_item_list.h"

bool BrowseForDownloadFolder(HWND owner, const std::string &title, std::string *path) {
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  // BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON
  info.ulFlags = 0x243;
  win::ShellItemList chosen(::SHBrowseForFolderA(&info));
  if (chosen.Get() == nullptr) {
    return false;
  }
  char buffer[MAX_PATH] = {};
  if (!::SHGetPathFromIDListA(chosen.Get(), buffer)) {
    return false;
  }
  *path = buffer;
  text::EnsureTrailingBackslash(path);
  return true;
}
