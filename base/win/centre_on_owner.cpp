#include "base/win/centre_on_owner.h"

void CentreOnOwner(HWND dialog) {
  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT area = work;
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  }
  RECT self;
  ::GetWindowRect(dialog, &self);
  int width = self.right - self.left;
  int height = self.bottom - self.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  // Kept inside the work area.
  if (x + width > work.right) {
    x = work.right - width;
  }
  if (y + height > work.bottom) {
    y = work.bottom - height;
  }
  if (x < work.left) {
    x = work.left;
  }
  if (y < work.top) {
    y = work.top;
  }
  ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
