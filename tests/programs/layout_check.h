// Reads a window's layout from the rectangles of its controls, as a test driver sees them from
// another process: a control that reaches past its parent's client area is clipped, and two
// controls of one parent that share pixels overlap (a group box frames others and is only
// checked for clipping). The text of a label, a button or a group box must fit inside it as the
// dialog font draws it, in any language.
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

// The dialogs' font, made again here (a font of another process cannot be used): "MS Shell Dlg
// 2" of 8 points at the screen's resolution, as a dialog of DS_SHELLFONT gets it.
inline HFONT DialogFont() {
  static HFONT font = nullptr;
  if (font == nullptr) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    font = ::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2");
  }
  return font;
}

inline std::wstring WideWindowText(HWND hwnd) {
  wchar_t text[2048] = {};
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 3000,
                        &result);
  return text;
}

// The room a control's text needs, measured as the control draws it: a label wraps at its
// width, a button or a group box's caption takes one line. Adds a fault when it needs more
// than the control has (a push button keeps a margin of 4 pixels on each side, a group box's
// caption starts 8 pixels in).
inline void CheckTextFits(HWND control, std::vector<std::string> *faults) {
  char className[16] = {};
  ::GetClassNameA(control, className, sizeof className);
  const bool isStatic = lstrcmpiA(className, "Static") == 0;
  const LONG style = ::GetWindowLongA(control, GWL_STYLE);
  const LONG type = style & 0x0F;
  if (!isStatic && (lstrcmpiA(className, "Button") != 0 ||
                    (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX))) {
    return;
  }
  if (isStatic && type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) {
    return; // icons, frames, no-wrap labels
  }
  const std::wstring text = WideWindowText(control);
  if (text.empty()) {
    return;
  }
  RECT client;
  ::GetClientRect(control, &client);
  const int margin = isStatic ? 0 : type == BS_GROUPBOX ? 8 : 4;
  RECT needed = {0, 0, client.right - 2 * margin, 0};
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, DialogFont());
  ::DrawTextW(dc, text.c_str(), -1, &needed,
              DT_CALCRECT | (isStatic ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE));
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  const int width = needed.right + 2 * margin;
  // A group box's caption sits on its top edge: only its width counts.
  const bool tooHigh = type != BS_GROUPBOX && needed.bottom > client.bottom;
  if (width > client.right || tooHigh) {
    char size[64];
    std::snprintf(size, sizeof size, " needs %dx%ld, has %ldx%ld", width, needed.bottom,
                  client.right, client.bottom);
    faults->push_back("clipped text: " + Describe(control) + size);
  }
}

inline bool IsGroupBox(HWND hwnd) {
  char className[16] = {};
  ::GetClassNameA(hwnd, className, sizeof className);
  return lstrcmpiA(className, "Button") == 0 &&
         (::GetWindowLongA(hwnd, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
}

// A window's client area on the screen. A mirrored window (right to left) has its client origin
// at the right: the two corners are mapped and put in order.
inline RECT ClientOnScreen(HWND hwnd) {
  RECT r;
  ::GetClientRect(hwnd, &r);
  ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&r), 2);
  if (r.left > r.right) {
    const LONG left = r.left;
    r.left = r.right;
    r.right = left;
  }
  return r;
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
  const RECT client = ClientOnScreen(parent);
  const std::vector<HWND> children = VisibleChildren(parent);
  for (size_t i = 0; i < children.size(); ++i) {
    ++*checked;
    RECT a;
    ::GetWindowRect(children[i], &a);
    RECT inside;
    if (!::IntersectRect(&inside, &a, &client) || !::EqualRect(&inside, &a)) {
      faults->push_back("clipped: " + Describe(children[i]) + " in " + Describe(parent));
    }
    CheckTextFits(children[i], faults);
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
