#include "base/win/screen_scale.h"

int ScaleToScreen(HWND window, int pixelsAt96) {
  HDC dc = ::GetDC(window);
  const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc != nullptr) {
    ::ReleaseDC(window, dc);
  }
  return ::MulDiv(pixelsAt96, dpi > 0 ? dpi : 96, 96);
}
