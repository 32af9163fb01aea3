#include "ui/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

#include "base/text.h"

namespace {

// An item identifier list from the shell, freed through the shell's allocator.
class ShellItemList {
public:
  explicit ShellItemList(LPITEMIDLIST list) : list_(list) {}
  ~ShellItemList() {
    if (list_ == nullptr) {
      return;
    }
    IMalloc *allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator != nullptr) {
      allocator->Free(list_);
      allocator->Release();
    }
  }
  ShellItemList(const ShellItemList &) = delete;
  ShellItemList &operator=(const ShellItemList &) = delete;
  LPITEMIDLIST Get() const { return list_; }

private:
  LPITEMIDLIST list_;
};

} // namespace

bool BrowseForDownloadFolder(HWND owner, const std::string &title, std::string *path) {
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  // BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON
  info.ulFlags = 0x243;
  ShellItemList chosen(::SHBrowseForFolderA(&info));
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
