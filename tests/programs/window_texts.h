// Prints every text a window of another process shows, read as UTF-16 and printed as UTF-8, so
// that a script can check them in any language (no font is needed to read a text):
//   WINDOW <label> rtl=<0|1> <caption>     rtl: the window is mirrored (WS_EX_LAYOUTRTL)
//   TEXT <label> <control id> <text>       each visible control with a text, at any depth
//   HEADER <label> <column> <text>         the columns of its list view
//   CELL <label> <row> <column> <text>     and every cell
//   DOCUMENT <label> <text>                the text of a rich-edit control, its paragraphs
//                                          joined by " | "
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <string>

namespace window_texts {

inline std::string Utf8(const wchar_t *text) {
  char out[16384] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
  return out;
}

// A control's texts live in its own process: the request and the answer go through memory
// allocated there. A list view's header or cell, or (EM_GETTEXTEX) a rich-edit control's text,
// whose WM_GETTEXT would go through the ANSI code page.
inline std::string ListText(HWND list, UINT message, int index, int column) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(list, &pid);
  HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  char *memory = process == nullptr ? nullptr
                                    : static_cast<char *>(::VirtualAllocEx(
                                          process, nullptr, 16384, MEM_COMMIT, PAGE_READWRITE));
  wchar_t text[4096] = {};
  if (memory != nullptr) {
    auto *remoteText = reinterpret_cast<wchar_t *>(memory + 1024);
    if (message == EM_GETTEXTEX) {
      GETTEXTEX get = {sizeof text - sizeof(wchar_t), GT_DEFAULT, 1200, nullptr, nullptr};
      ::WriteProcessMemory(process, memory, &get, sizeof get, nullptr);
      ::SendMessageW(list, message, reinterpret_cast<WPARAM>(memory),
                     reinterpret_cast<LPARAM>(remoteText));
    } else if (message == HDM_GETITEMW) {
      HDITEMW item = {};
      item.mask = HDI_TEXT;
      item.pszText = remoteText;
      item.cchTextMax = 4096;
      ::WriteProcessMemory(process, memory, &item, sizeof item, nullptr);
    } else {
      LVITEMW item = {};
      item.iSubItem = column;
      item.pszText = remoteText;
      item.cchTextMax = 4096;
      ::WriteProcessMemory(process, memory, &item, sizeof item, nullptr);
    }
    if (message != EM_GETTEXTEX) {
      ::SendMessageW(list, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(memory));
    }
    ::ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), nullptr);
    ::VirtualFreeEx(process, memory, 0, MEM_RELEASE);
  }
  if (process != nullptr) {
    ::CloseHandle(process);
  }
  return Utf8(text);
}

inline void PrintList(HWND list, const char *label) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < columns; ++column) {
    std::printf("HEADER %s %d %s\n", label, column,
                ListText(header, HDM_GETITEMW, column, 0).c_str());
    for (int row = 0; row < rows; ++row) {
      std::printf("CELL %s %d %d %s\n", label, row, column,
                  ListText(list, LVM_GETITEMTEXTW, row, column).c_str());
    }
  }
}

inline void PrintChildren(HWND parent, const char *label) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) {
      continue;
    }
    wchar_t className[32] = {};
    ::GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"SysListView32") == 0) {
      PrintList(child, label);
      continue;
    }
    if (lstrcmpiW(className, L"RICHEDIT") == 0) {
      std::string document = ListText(child, EM_GETTEXTEX, 0, 0);
      for (size_t at = document.find('\r'); at != std::string::npos; at = document.find('\r')) {
        document.replace(at, document.compare(at, 2, "\r\n") == 0 ? 2 : 1, " | ");
      }
      std::printf("DOCUMENT %s %s\n", label, document.c_str());
      continue;
    }
    wchar_t text[2048] = {};
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          3000, &result);
    if (text[0] != 0) {
      std::printf("TEXT %s %d %s\n", label, ::GetDlgCtrlID(child), Utf8(text).c_str());
    }
    PrintChildren(child, label);
  }
}

inline void Print(HWND window, const char *label) {
  wchar_t caption[1024] = {};
  ::InternalGetWindowText(window, caption, 1024);
  const bool mirrored = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  std::printf("WINDOW %s rtl=%d %s\n", label, mirrored ? 1 : 0, Utf8(caption).c_str());
  PrintChildren(window, label);
  std::fflush(stdout);
}

} // namespace window_texts
