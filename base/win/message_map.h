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

  // A message and the member of a class derived from this one that handles it. The handler is
  // kept as a member of this class, so that one loop serves the maps of every dialog class.
  struct MessageEntry {
    template <class T>
    constexpr MessageEntry(UINT m, INT_PTR (T::*h)(WPARAM wParam, LPARAM lParam))
        : message(m), handler(static_cast<INT_PTR (MessageTarget::*)(WPARAM, LPARAM)>(h)) {}
    UINT message;
    INT_PTR (MessageTarget::*handler)(WPARAM wParam, LPARAM lParam);
  };

protected:
  MessageTarget(const MessageEntry *map, size_t count) : map_(map), count_(count) {}

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
  const MessageEntry *map_;
  size_t count_;
};

// The base of a dialog class T whose kMessageMap is an array of MessageEntry.
template <class T> class MessageMap : public MessageTarget {
protected:
  MessageMap() : MessageTarget(T::kMessageMap, sizeof T::kMessageMap / sizeof T::kMessageMap[0]) {}
};

} // namespace win
