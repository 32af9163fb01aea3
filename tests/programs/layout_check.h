// Reads a window's layout from the rectangles of its controls, as a test driver sees them from
// another process: a control that reaches past its parent's client area is clipped, and two
// controls of one parent that share pixels overlap (a group box frames others and is only
// checked for clipping).
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace layout_check {

inline std::string Describe(HWND hwnd) {
  char className[64] = {};
  ::GetClassNameA(hwnd, className, sizeof className);
  RECT r;
  ::GetWindowRect(hwnd, &r);
  char text[160];
  std::snprintf(text, sizeof text, "%s#%d (%ld,%ld)-(%ld,%ld)", className, ::GetDlgCtrlID(hwnd),
                r.left, r.top, r.right, r.bottom);
  return text;
}

inline bool IsGroupBox(HWND hwnd) {
  char className[16] = {};
  ::GetClassNameA(hwnd, className, sizeof className);
  return lstrcmpiA(className, "Button") == 0 &&
         (::GetWindowLongA(hwnd, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
}

// The visible children of parent, in screen coordinates.
inline std::vector<HWND> VisibleChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) {
      children.push_back(child);
    }
  }
  return children;
}

// Adds a line to *faults for each clipped or overlapping control under parent, at every depth;
// *checked counts the controls looked at.
inline void Check(HWND parent, std::vector<std::string> *faults, int *checked) {
  RECT client;
  ::GetClientRect(parent, &client);
  POINT origin = {0, 0};
  ::ClientToScreen(parent, &origin);
  ::OffsetRect(&client, origin.x, origin.y);
  const std::vector<HWND> children = VisibleChildren(parent);
  for (size_t i = 0; i < children.size(); ++i) {
    ++*checked;
    RECT a;
    ::GetWindowRect(children[i], &a);
    RECT inside;
    if (!::IntersectRect(&inside, &a, &client) || !::EqualRect(&inside, &a)) {
      faults->push_back("clipped: " + Describe(children[i]) + " in " + Describe(parent));
    }
    for (size_t j = i + 1; j < children.size(); ++j) {
      RECT b;
      RECT shared;
      ::GetWindowRect(children[j], &b);
      if (!IsGroupBox(children[i]) && !IsGroupBox(children[j]) &&
          ::IntersectRect(&shared, &a, &b)) {
        faults->push_back("overlap: " + Describe(children[i]) + " and " + Describe(children[j]));
      }
    }
    Check(children[i], faults, checked);
  }
}

// The column widths of the first list view under parent, in order: "100 441 80".
inline std::string ListColumns(HWND parent) {
  HWND list = ::FindWindowExA(parent, nullptr, "SysListView32", nullptr);
  for (HWND child = ::GetWindow(parent, GW_CHILD); list == nullptr && child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    list = ::FindWindowExA(child, nullptr, "SysListView32", nullptr);
  }
  std::string widths;
  for (int column = 0; list != nullptr && column < 8; ++column) {
    const LRESULT width = ::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0);
    if (width <= 0) {
      break;
    }
    widths += (widths.empty() ? "" : " ") + std::to_string(width);
  }
  return widths;
}

} // namespace layout_check
