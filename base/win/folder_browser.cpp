#include "base/win/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

#include "base/file.h"
#include "base/win/shell_item_list.h"
#include "base/win/wide_text.h"

bool BrowseForDownloadFolder(HWND owner, const std::string &title, std::string *path) {
  const win::WideText wideTitle(title);
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.lpszTitle = wideTitle.get();
  // BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON
  info.ulFlags = 0x243;
  win::ShellItemList chosen(::SHBrowseForFolderW(&info));
  if (chosen.Get() == nullptr) {
    return false;
  }
  // The list names the folder whatever its name; its path is asked for in UTF-16, which spells
  // any folder.
  wchar_t buffer[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.Get(), buffer)) {
    return false;
  }
  *path = win::NarrowText(buffer, ::lstrlenW(buffer));
  sys::EnsureTrailingSeparator(path);
  return true;
}
