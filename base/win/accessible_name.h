// Accessible names the system cannot find for a control. A screen reader asks a window for its
// object with WM_GETOBJECT; a control that answers with an object of its own says what it is
// called there. Windows names some controls after a label beside them and Wine only after their
// own text, so a progress bar or a control made at run time is otherwise nameless.
#pragma once
#include <windows.h>

#include <string>

#include "base/win/subclass.h"

namespace win {

// The answer to WM_GETOBJECT (its wParam and lParam) for the control's own object: the system's
// object of the control, named name (UTF-8, as the windows' texts). 0 for
// any other object, or where the system lacks the accessibility libraries: the control's own
// procedure then answers.
LRESULT AnswerNamedObject(HWND control, WPARAM wParam, LPARAM lParam, const std::string &name);

// A control named after the text of another window, its label, for as long as it lives; when
// withText, the control's own text follows (a label showing a changing figure).
class NamedControl {
public:
  void Install(HWND control, HWND label, bool withText = false);

private:
  static bool OnMessage(void *context, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT *result);

  Subclass subclass_;
  HWND label_ = nullptr;
  bool withText_ = false;
};

} // namespace win
