#include "base/win/property_page.h"

namespace win {

namespace {

UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEW) {
  // PSPCB_CREATE: 1 lets the page be created; PSPCB_RELEASE ignores the result.
  return message == PSPCB_CREATE ? 1 : 0;
}

} // namespace

HPROPSHEETPAGE CreateTemplatePage(int templateId, DLGPROC procedure, LPARAM parameter) {
  PROPSHEETPAGEW page = {};
  page.dwSize = PROPSHEETPAGEW_V1_SIZE;
  page.dwFlags = PSP_USECALLBACK;
  page.hInstance = ModuleInstance();
  page.pszTemplate = MAKEINTRESOURCEW(templateId);
  page.pfnDlgProc = procedure;
  page.lParam = parameter;
  page.pfnCallback = &PageCallback;
  return ::CreatePropertySheetPageW(&page);
}

} // namespace win
