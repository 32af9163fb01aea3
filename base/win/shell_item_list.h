// An item identifier list handed out by the shell, freed through the shell's allocator.
#pragma once
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

namespace win {

class ShellItemList {
public:
  ShellItemList() = default;
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
  LPITEMIDLIST *Out() { return &list_; }
  LPITEMIDLIST Get() const { return list_; }

private:
  LPITEMIDLIST list_ = nullptr;
};

} // namespace win
