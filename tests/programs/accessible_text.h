// Reads what a screen reader reads of another process's window: the accessible name of its own
// object, through oleacc as screen readers do. The caller has initialised COM.
#pragma once
#include <windows.h>

#include <oleacc.h>

#include <string>

inline std::string AccessibleName(HWND hwnd) {
  using FromWindow = HRESULT(WINAPI *)(HWND, DWORD, REFIID, void **);
  using FreeString = void(WINAPI *)(BSTR);
  HMODULE oleacc = ::LoadLibraryA("oleacc.dll");
  const auto fromWindow = reinterpret_cast<FromWindow>(
      reinterpret_cast<void *>(::GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
  const auto freeString = reinterpret_cast<FreeString>(reinterpret_cast<void *>(
      ::GetProcAddress(::GetModuleHandleA("oleaut32.dll"), "SysFreeString")));
  IAccessible *object = nullptr;
  std::string text = "<no object>";
  if (fromWindow != nullptr && freeString != nullptr &&
      SUCCEEDED(fromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                           reinterpret_cast<void **>(&object)))) {
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    text = "<no name>";
    if (SUCCEEDED(object->get_accName(self, &name)) && name != nullptr) {
      char utf8[512] = {};
      ::WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
      text = utf8;
      freeString(name);
    }
    object->Release();
  }
  ::FreeLibrary(oleacc);
  return text;
}

// The window that has the keyboard focus in the thread of window; null when none.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                                : nullptr;
}
