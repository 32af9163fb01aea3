// The dialog procedure of win::Dialog and win::PropertyPage. A derived class T names a message
// map (kMessageMap: message, member handler); one procedure, shared by every dialog, ties the
// window to its object and hands each message to the handler T's map names for it. A handler
// returns what a dialog procedure returns: TRUE when it handled the message.
#pragma once
#include <windows.h>

namespace win {

// The window and the dispatch of a dialog object, whatever its class.
class MessageTarget {
public:
  MessageTarget(const MessageTarget &) = delete;
  MessageTarget &operator=(const MessageTarget &) = delete;

  HWND hwnd() const { return hwnd_; }

protected:
  using Dispatch = INT_PTR (*)(MessageTarget *target, UINT message, WPARAM wParam, LPARAM lParam);
  explicit MessageTarget(Dispatch dispatch) : dispatch_(dispatch) {}

  // For a dialog created with the target's address as its parameter.
  static INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // For a property-sheet page whose PROPSHEETPAGE carries the target's address as its lParam.
  static INT_PTR CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
  // target is the object WM_INITDIALOG names; DWLP_USER keeps it for every later message. From
  // WM_NCDESTROY on the object has no window, and no handler sees that message.
  static INT_PTR Deliver(MessageTarget *target, HWND hwnd, UINT message, WPARAM wParam,
                         LPARAM lParam);

  HWND hwnd_ = nullptr;
  Dispatch dispatch_;
};

template <class T> class MessageMap : public MessageTarget {
public:
  struct MessageEntry {
    UINT message;
    INT_PTR (T::*handler)(WPARAM wParam, LPARAM lParam);
  };

protected:
  MessageMap() : MessageTarget(&MessageMap::Dispatch) {}

private:
  static INT_PTR Dispatch(MessageTarget *target, UINT message, WPARAM wParam, LPARAM lParam) {
    T *self = static_cast<T *>(target);
    for (const MessageEntry &entry : T::kMessageMap) {
      if (entry.message == message) {
        return (self->*entry.handler)(wParam, lParam);
      }
    }
    return FALSE;
  }
};

} // namespace win
